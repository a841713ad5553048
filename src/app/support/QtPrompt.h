#pragma once

#include "base/Prompt.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace korvan::gui {

// The desktop program's prompt: the core's messages and questions as modal message boxes
// titled "Korvan" over the main window. Asked from a worker thread, the box is shown on the
// user-interface thread and the worker waits for the answer.
class QtPrompt : public QObject, public Prompt {
    Q_OBJECT
public:
    explicit QtPrompt(QObject* parent = nullptr);

    // The window the boxes are centred on.
    void setWindow(QWidget* window) { window_ = window; }
    // On a display nobody sees (the offscreen platform) a box would wait for ever: messages
    // are written to standard error instead, questions are answered Cancel (or No) so that
    // nothing is changed or dropped, and save dialogs are cancelled, each said on standard
    // error as well.
    void setUnattended(bool unattended) { unattended_ = unattended; }
    [[nodiscard]] bool unattended() const { return unattended_; }

    void message(std::string_view text) override;
    Answer ask(QuestionId question, std::string_view text, Buttons buttons) override;
    std::optional<std::string> chooseSaveFile(const FileRequest& request) override;

private:
    // Runs `show` on the user-interface thread, waiting for it when called from another.
    template <class Show> void onUiThread(Show&& show);

    QPointer<QWidget> window_;
    bool unattended_ = false;
};

} // namespace korvan::gui
