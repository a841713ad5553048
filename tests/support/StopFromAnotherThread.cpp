#include "support/StopFromAnotherThread.h"

#include <chrono>

namespace korvan::test {
namespace {

constexpr auto waitLimit = std::chrono::seconds(10);

} // namespace

StopFromAnotherThread::StopFromAnotherThread(int units)
    : units_(units), thread_([this] { requestWhenReached(); }) {}

StopFromAnotherThread::~StopFromAnotherThread() {
    {
        std::lock_guard lock(mutex_);
        ending_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

OperationContext StopFromAnotherThread::context() {
    return OperationContext(source_.get_token(), [this](int done, int) { progress(done); });
}

bool StopFromAnotherThread::requested() {
    std::lock_guard lock(mutex_);
    return requested_;
}

void StopFromAnotherThread::progress(int done) {
    std::unique_lock lock(mutex_);
    if (done < units_ || reached_)
        return;
    reached_ = true;
    changed_.notify_all();
    changed_.wait_for(lock, waitLimit, [this] { return requested_; });
}

void StopFromAnotherThread::requestWhenReached() {
    std::unique_lock lock(mutex_);
    if (!changed_.wait_for(lock, waitLimit, [this] { return reached_ || ending_; }) || !reached_)
        return;
    source_.request_stop();
    requested_ = true;
    changed_.notify_all();
}

} // namespace korvan::test
