#include "StopOnSignals.h"

#include <ctime>

namespace korvan::cli {
namespace {

// How soon the watcher notices that the operation is over and it may end.
constexpr long watchPeriodNs = 100'000'000;

} // namespace

StopOnSignals::StopOnSignals() {
    sigemptyset(&signals_);
    sigaddset(&signals_, SIGINT);
    sigaddset(&signals_, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals_, &previous_);
    watcher_ = std::thread([this] { watch(); });
}

StopOnSignals::~StopOnSignals() {
    finished_ = true;
    watcher_.join();
    const timespec none{0, 0};
    while (sigtimedwait(&signals_, nullptr, &none) > 0) {
    }
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

void StopOnSignals::watch() {
    const timespec period{0, watchPeriodNs};
    while (!finished_)
        if (sigtimedwait(&signals_, nullptr, &period) > 0)
            source_.request_stop();
}

} // namespace korvan::cli
