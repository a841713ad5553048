#include "gateway/WorkerPrompt.h"

// GCC 12's flow analysis takes the moves of the std::optional<std::string> a file question
// answers for uses of an uninitialised string once optimised (a known false positive).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

#include "support/Courier.h"

#include <QThread>
#include <string>

namespace korvan::gui {

WorkerPrompt::WorkerPrompt(Prompt& target, QObject* context)
    : target_(target), context_(context), courier_(context != nullptr ? Courier::of(context) : nullptr),
      shared_(std::make_shared<Shared>()) {}

WorkerPrompt::~WorkerPrompt() {
    abandon();
}

void WorkerPrompt::abandon() {
    {
        std::lock_guard lock(shared_->mutex);
        shared_->abandoned = true;
    }
    shared_->answered.notify_all();
}

template <class Result, class Ask> Result WorkerPrompt::onUiThread(Result fallback, Ask ask) {
    if (context_ == nullptr || courier_ == nullptr)
        return fallback;
    if (QThread::currentThread() == context_->thread())
        return ask(target_);
    struct Call {
        bool done = false;
        Result result;
    };
    std::shared_ptr<Shared> shared = shared_;
    {
        std::lock_guard lock(shared->mutex);
        if (shared->abandoned)
            return fallback;
    }
    auto call = std::make_shared<Call>(Call{false, fallback});
    Prompt* target = &target_;
    // The call holds what it needs by value or by shared pointer: when the worker has given
    // up waiting, nothing of it is left dangling.
    courier_->post([call, shared, target, ask]() mutable {
        {
            std::lock_guard lock(shared->mutex);
            if (shared->abandoned)
                return;
        }
        Result result = ask(*target);
        {
            std::lock_guard lock(shared->mutex);
            call->result = std::move(result);
            call->done = true;
        }
        shared->answered.notify_all();
    });
    std::unique_lock lock(shared->mutex);
    shared->answered.wait(lock, [&] { return call->done || shared->abandoned; });
    return call->done ? std::move(call->result) : fallback;
}

void WorkerPrompt::message(std::string_view text) {
    (void)onUiThread(true, [shown = std::string(text)](Prompt& target) {
        target.message(shown);
        return true;
    });
}

Answer WorkerPrompt::ask(QuestionId question, std::string_view text, Buttons buttons) {
    const Answer safe = buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
    return onUiThread(safe, [question, shown = std::string(text), buttons](Prompt& target) {
        return target.ask(question, shown, buttons);
    });
}

std::optional<std::string> WorkerPrompt::chooseSaveFile(const FileRequest& request) {
    return onUiThread(std::optional<std::string>{},
                      [request](Prompt& target) { return target.chooseSaveFile(request); });
}

} // namespace korvan::gui
