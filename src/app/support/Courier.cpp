#include "support/Courier.h"

#include <QCoreApplication>
#include <QEvent>

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
#endif

namespace korvan::gui {
namespace {

// The order the event queue gives, told to the thread sanitizer: the posting thread hands the
// event over, the thread that runs or drops it takes it over.
void handOver([[maybe_unused]] const void* parcel) {
#if defined(__SANITIZE_THREAD__)
    __tsan_release(const_cast<void*>(parcel));
#endif
}

void takeOver([[maybe_unused]] const void* parcel) {
#if defined(__SANITIZE_THREAD__)
    __tsan_acquire(const_cast<void*>(parcel));
#endif
}

const QEvent::Type callEventType = static_cast<QEvent::Type>(QEvent::registerEventType());

class CallEvent : public QEvent {
public:
    explicit CallEvent(std::function<void()> call) : QEvent(callEventType), call_(std::move(call)) {}
    // Queued events of a destroyed courier are deleted by Qt on its thread, unrun.
    ~CallEvent() override { takeOver(this); }
    CallEvent(const CallEvent&) = delete;
    CallEvent& operator=(const CallEvent&) = delete;

    void run() {
        if (call_)
            call_();
    }

private:
    std::function<void()> call_;
};

} // namespace

Courier::Courier(QObject* parent) : QObject(parent) {}

Courier* Courier::of(QObject* context) {
    static const QString name = QStringLiteral("korvan courier");
    if (auto* existing = context->findChild<Courier*>(name, Qt::FindDirectChildrenOnly))
        return existing;
    auto* courier = new Courier(context);
    courier->setObjectName(name);
    return courier;
}

void Courier::post(std::function<void()> call) {
    auto* event = new CallEvent(std::move(call));
    handOver(event);
    QCoreApplication::postEvent(this, event);
}

bool Courier::event(QEvent* event) {
    // Before anything of the event is read: it may have come from another thread.
    takeOver(event);
    if (event->type() != callEventType)
        return QObject::event(event);
    static_cast<CallEvent*>(event)->run();
    return true;
}

} // namespace korvan::gui
