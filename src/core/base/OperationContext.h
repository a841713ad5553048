#pragma once

#include <functional>
#include <stop_token>
#include <utility>

namespace korvan {

// What the one who drives a long operation hands it: a stop request, which the operation
// checks between two exchanges (never inside one, so a frame is never cut short), and where
// it reports its progress. The default context never stops and reports nothing, so an
// operation given none behaves exactly as it always has.
class OperationContext {
public:
    // Called with the units done and their total: a transfer counts its frames, the gateway
    // search its per cent. It runs on the operation's thread.
    using Progress = std::function<void(int done, int total)>;

    OperationContext() = default;
    explicit OperationContext(std::stop_token stop, Progress progress = {})
        : stop_(std::move(stop)), progress_(std::move(progress)) {}
    explicit OperationContext(Progress progress) : progress_(std::move(progress)) {}

    [[nodiscard]] bool stopRequested() const { return stop_.stop_requested(); }
    [[nodiscard]] const std::stop_token& stopToken() const { return stop_; }

    void reportProgress(int done, int total) const {
        if (progress_)
            progress_(done, total);
    }

private:
    std::stop_token stop_;
    Progress progress_;
};

} // namespace korvan
