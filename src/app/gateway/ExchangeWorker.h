#pragma once

#include "base/OperationContext.h"
#include "gateway/WorkerPrompt.h"

#include <QObject>
#include <functional>
#include <memory>
#include <thread>

namespace korvan {
class GatewayLink;
class Prompt;
} // namespace korvan

namespace korvan::gui {

class Courier;

// Runs the exchanges of a live window (Diagnose, the memory display, the command data window,
// the serial debug assistant) on a thread of its own, one at a time, over the link it owns.
//
// A job runs on the worker thread with the link, a prompt and the context; it answers what is
// to be done with its result, which runs on the user-interface thread once the thread has
// ended, so only that part touches widgets. The core's messages and questions reach the
// window's prompt on the user-interface thread, in the job's order, while the job waits.
//
// While a job runs, run() refuses another: a timer tick whose exchange has not finished is
// skipped, not queued. cancel() asks the job to stop before its next exchange and drops what
// it still has to say: its messages, questions (answered Cancel) and its result. Destroying
// the worker cancels, waits for the exchange in flight (the link's own time-out bounds it)
// and closes the link: no thread and no open port remain.
class ExchangeWorker : public QObject {
    Q_OBJECT
public:
    using Result = std::function<void()>;
    using Job = std::function<Result(GatewayLink&, Prompt&, const OperationContext&)>;

    ExchangeWorker(Prompt& prompt, QObject* parent = nullptr);
    ~ExchangeWorker() override;

    // The link the jobs use, closed and replaced only while nothing runs.
    void setLink(std::unique_ptr<GatewayLink> link);
    [[nodiscard]] bool hasLink() const { return link_ != nullptr; }

    // Starts `job`; false (and nothing happens) while another runs or without a link.
    bool run(Job job);
    [[nodiscard]] bool busy() const { return thread_.joinable(); }
    void cancel();
    // Closes the link now, or when the job in flight has ended.
    void closeLink();

Q_SIGNALS:
    // A job has ended and its result has run (or was dropped after cancel()).
    void idle();

private:
    void finish(Result result);

    Prompt& prompt_;
    // Hands the job's result to the user-interface thread.
    Courier* courier_;
    std::unique_ptr<GatewayLink> link_;
    std::shared_ptr<WorkerPrompt> current_;
    bool cancelled_ = false;
    bool closeWhenIdle_ = false;
    std::jthread thread_;
};

} // namespace korvan::gui
