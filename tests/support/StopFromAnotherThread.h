#pragma once

#include "base/OperationContext.h"

#include <condition_variable>
#include <mutex>
#include <stop_token>
#include <thread>

namespace korvan::test {

// A stop requested from a thread of its own once an operation has reported `units` done.
// The operation's thread waits in its progress callback until the request is made, so the
// stop falls exactly between that exchange and the next, however the threads are scheduled.
// Every wait is bounded: a test that never reaches the count ends without a stop.
class StopFromAnotherThread {
public:
    explicit StopFromAnotherThread(int units);
    ~StopFromAnotherThread();
    StopFromAnotherThread(const StopFromAnotherThread&) = delete;
    StopFromAnotherThread& operator=(const StopFromAnotherThread&) = delete;

    // The context to give the operation; its progress callback runs on the operation's thread.
    [[nodiscard]] OperationContext context();
    // Whether the other thread has made its request.
    [[nodiscard]] bool requested();

private:
    void progress(int done);
    void requestWhenReached();

    int units_;
    std::stop_source source_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool reached_ = false;
    bool requested_ = false;
    bool ending_ = false;
    std::thread thread_;
};

} // namespace korvan::test
