#include "gateway/ExchangeWorker.h"

#include "link/GatewayLink.h"
#include "support/Courier.h"

namespace korvan::gui {

ExchangeWorker::ExchangeWorker(Prompt& prompt, QObject* parent)
    : QObject(parent), prompt_(prompt), courier_(Courier::of(this)) {}

ExchangeWorker::~ExchangeWorker() {
    cancel();
    if (thread_.joinable())
        thread_.join();
    if (link_)
        link_->close();
}

void ExchangeWorker::setLink(std::unique_ptr<GatewayLink> link) {
    if (busy())
        return;
    if (link_)
        link_->close();
    link_ = std::move(link);
    closeWhenIdle_ = false;
}

bool ExchangeWorker::run(Job job) {
    if (busy() || !link_ || !job)
        return false;
    cancelled_ = false;
    current_ = std::make_shared<WorkerPrompt>(prompt_, this);
    thread_ = std::jthread(
        [this, job = std::move(job), prompt = current_, link = link_.get()](std::stop_token stop) {
            const OperationContext context(std::move(stop));
            Result result = job(*link, *prompt, context);
            // The result is handed over after the job's last message; the thread is joined there
            // and has nothing left to do but return.
            courier_->post([this, result = std::move(result)]() mutable { finish(std::move(result)); });
        });
    return true;
}

void ExchangeWorker::cancel() {
    if (!thread_.joinable())
        return;
    cancelled_ = true;
    thread_.request_stop();
    if (current_)
        current_->abandon();
}

void ExchangeWorker::closeLink() {
    if (busy()) {
        closeWhenIdle_ = true;
        return;
    }
    if (link_)
        link_->close();
}

void ExchangeWorker::finish(Result result) {
    if (thread_.joinable())
        thread_.join();
    current_.reset();
    if (closeWhenIdle_ && link_) {
        link_->close();
        closeWhenIdle_ = false;
    }
    if (!cancelled_ && result)
        result();
    Q_EMIT idle();
}

} // namespace korvan::gui
