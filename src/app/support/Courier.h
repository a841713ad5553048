#pragma once

#include <QObject>
#include <functional>

namespace korvan::gui {

// Carries calls from any thread to the thread the courier lives on, through Qt's event queue:
// post() returns at once and the call runs there later, after what was posted before it.
//
// Everything the posting thread did before post() happens before the call, and the call's
// closure is built before it is posted: a call reads no memory that another thread may still
// be writing. Qt's queue orders this with locks of its own; the build with the thread
// sanitizer (KORVAN_TSAN), whose Qt is not instrumented, is told the same order here, so that
// it checks the calls' data and reports only real races.
//
// Calls still queued when the courier is destroyed are dropped unrun.
class Courier : public QObject {
public:
    explicit Courier(QObject* parent = nullptr);

    // The courier of `context` (a child of it, made on first use): called on its thread.
    [[nodiscard]] static Courier* of(QObject* context);

    // Thread-safe.
    void post(std::function<void()> call);

protected:
    bool event(QEvent* event) override;
};

} // namespace korvan::gui
