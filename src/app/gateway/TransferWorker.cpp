#include "gateway/TransferWorker.h"

#include "link/GatewayLink.h"
#include "support/Courier.h"

namespace korvan::gui {

TransferWorker::TransferWorker(CProductTarn& product, Prompt& prompt, QObject* parent)
    : QObject(parent), product_(product), courier_(Courier::of(this)), prompt_(prompt, this) {}

TransferWorker::~TransferWorker() {
    // Nobody is left to answer: the worker's questions get Cancel, its messages are dropped.
    prompt_.abandon();
    if (thread_.joinable()) {
        thread_.request_stop();
        thread_.join();
    }
    if (link_)
        link_->close();
}

void TransferWorker::start(TransferDirection direction, std::unique_ptr<GatewayLink> link,
                           const AppState& state) {
    if (thread_.joinable() || !link)
        return;
    direction_ = direction;
    link_ = std::move(link);
    state_ = state;
    outcome_ = {};
    done_ = 0;
    total_ = 0;
    thread_ = std::jthread([this](std::stop_token stop) { run(std::move(stop)); });
}

void TransferWorker::requestStop() {
    if (thread_.joinable())
        thread_.request_stop();
}

void TransferWorker::tellProgress(int done, int total) {
    done_ = done;
    total_ = total;
    if (progressPosted_.exchange(true))
        return;
    courier_->post([this] {
        progressPosted_ = false;
        Q_EMIT progress(done_, total_);
    });
}

void TransferWorker::run(std::stop_token stop) {
    const OperationContext context(std::move(stop),
                                   [this](int done, int total) { tellProgress(done, total); });
    const TransferOutcome outcome = direction_ == TransferDirection::Download
                                        ? runDownload(product_, *link_, prompt_, context)
                                        : runUpload(product_, state_, *link_, prompt_, context);
    link_->close();
    // The end is told after the last progress report, on the user-interface thread, where the
    // thread is joined: it has nothing left to do but return.
    courier_->post([this, outcome] {
        if (thread_.joinable())
            thread_.join();
        outcome_ = outcome;
        Q_EMIT finished();
    });
}

} // namespace korvan::gui
