#pragma once

#include "base/Prompt.h"

#include <QObject>
#include <QPointer>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace korvan::gui {

class Courier;

// The prompt a worker thread reports through: every message, question and file dialog is
// handed to the user-interface thread and answered there by the window's own prompt, while
// the worker waits. So the window's prompt (a message box, or a test's script) is only ever
// called on the user-interface thread, one box at a time and in the worker's order.
//
// abandon() — called on the user-interface thread by a window that goes away while its worker
// still runs — answers every waiting and later call at once without asking: questions Cancel
// (or No), file dialogs cancelled, messages dropped; a call already on the screen finishes
// there but nobody waits for it. Then the window may wait for the worker without a deadlock.
class WorkerPrompt : public Prompt {
public:
    // `target` is called on the thread of `context`, which must outlive every call. Made on
    // that thread.
    WorkerPrompt(Prompt& target, QObject* context);
    ~WorkerPrompt() override;
    WorkerPrompt(const WorkerPrompt&) = delete;
    WorkerPrompt& operator=(const WorkerPrompt&) = delete;

    void message(std::string_view text) override;
    Answer ask(QuestionId question, std::string_view text, Buttons buttons) override;
    std::optional<std::string> chooseSaveFile(const FileRequest& request) override;

    void abandon();

private:
    struct Shared {
        std::mutex mutex;
        std::condition_variable answered;
        bool abandoned = false;
    };
    template <class Result, class Ask> Result onUiThread(Result fallback, Ask ask);

    Prompt& target_;
    QPointer<QObject> context_;
    // The context's courier, which carries the calls to its thread.
    QPointer<Courier> courier_;
    std::shared_ptr<Shared> shared_;
};

} // namespace korvan::gui
