#include "tools/PendingExchange.h"

namespace korvan::gui {

void PendingExchange::setWorker(ExchangeWorker* worker) {
    if (worker == worker_)
        return;
    drop();
    QObject::disconnect(idle_);
    worker_ = worker;
    if (worker_ != nullptr)
        idle_ = connect(worker_, &ExchangeWorker::idle, this, &PendingExchange::workerIdle);
}

bool PendingExchange::run(ExchangeWorker::Job job) {
    if (worker_ == nullptr || !worker_->hasLink())
        return false;
    if (worker_->run(job))
        return true;
    waiting_ = std::move(job);
    return true;
}

void PendingExchange::drop() {
    waiting_ = nullptr;
}

void PendingExchange::workerIdle() {
    // The result that just ran may have started the next exchange itself: then this waits on.
    if (!waiting_ || worker_ == nullptr || worker_->busy())
        return;
    ExchangeWorker::Job job = std::move(waiting_);
    waiting_ = nullptr;
    if (!worker_->run(job))
        waiting_ = std::move(job);
}

} // namespace korvan::gui
