#pragma once

#include "app/AppState.h"
#include "app/TransferRun.h"
#include "gateway/WorkerPrompt.h"

#include <QObject>
#include <atomic>
#include <memory>
#include <thread>

namespace korvan {
class CProductTarn;
class GatewayLink;
class Prompt;
} // namespace korvan

namespace korvan::gui {

class Courier;

enum class TransferDirection { Download, Upload };

// Runs one download or upload of the core on a thread of its own, so that the window keeps
// repainting for the whole of it. The worker object lives on the user-interface thread and
// tells its progress (frames done of frames to send) and its end there by signals; the core's
// messages and questions reach the window's prompt on the user-interface thread while the
// worker waits (WorkerPrompt).
//
// While it runs, the worker reads the product (a download) or rebuilds it (an upload): the
// caller shows nothing that reads the product meanwhile, except what a download only reads.
// Destroying the worker while it runs stops it between two exchanges and waits for the
// current one to end; its questions are then answered Cancel without asking. No thread and
// no open port remain.
class TransferWorker : public QObject {
    Q_OBJECT
public:
    TransferWorker(CProductTarn& product, Prompt& prompt, QObject* parent = nullptr);
    ~TransferWorker() override;

    // Starts the transfer over `link`. For an upload, `state` is the application state the
    // core reads; the worker works on its own copy, and whoever handles finished() applies
    // what a successful upload changes (the project is dirty).
    void start(TransferDirection direction, std::unique_ptr<GatewayLink> link, const AppState& state);
    // Asks the worker to stop at the next point between two exchanges.
    void requestStop();

    [[nodiscard]] bool running() const { return thread_.joinable(); }
    [[nodiscard]] const TransferOutcome& outcome() const { return outcome_; }

Q_SIGNALS:
    void progress(int done, int total);
    // The thread has ended; outcome() holds how.
    void finished();

private:
    void run(std::stop_token stop);
    void tellProgress(int done, int total);

    CProductTarn& product_;
    // Hands progress and the end to the user-interface thread.
    Courier* courier_;
    WorkerPrompt prompt_;
    TransferDirection direction_ = TransferDirection::Download;
    std::unique_ptr<GatewayLink> link_;
    AppState state_;
    TransferOutcome outcome_;
    // The latest progress; at most one report is on its way to the user-interface thread.
    std::atomic<int> done_{0};
    std::atomic<int> total_{0};
    std::atomic<bool> progressPosted_{false};
    std::jthread thread_;
};

} // namespace korvan::gui
