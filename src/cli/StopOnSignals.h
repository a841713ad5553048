#pragma once

#include <atomic>
#include <signal.h>
#include <stop_token>
#include <thread>

namespace korvan::cli {

// Turns Ctrl+C (SIGINT) and SIGTERM into a stop request while one long operation runs. The
// two signals are blocked from construction on, and a watcher thread takes them with
// sigtimedwait: no handler ever runs inside the core, and the operation ends between two
// exchanges with its own result and message. Construct it while korvanctl has no other
// thread, so that no thread is left to which the signals could still be delivered. On
// destruction the watcher ends, signals that came too late to stop anything are dropped and
// the previous signal mask is back.
class StopOnSignals {
public:
    StopOnSignals();
    ~StopOnSignals();
    StopOnSignals(const StopOnSignals&) = delete;
    StopOnSignals& operator=(const StopOnSignals&) = delete;

    [[nodiscard]] std::stop_token token() const { return source_.get_token(); }

private:
    void watch();

    sigset_t signals_{};
    sigset_t previous_{};
    std::stop_source source_;
    std::atomic<bool> finished_{false};
    std::thread watcher_;
};

} // namespace korvan::cli
