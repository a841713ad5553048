#pragma once

#include "gateway/ExchangeWorker.h"

#include <QMetaObject>
#include <QObject>
#include <QPointer>

namespace korvan::gui {

// What the engineer asks of a live window that shares its worker with another: a button's
// exchange runs now, or as soon as the exchange in flight has ended (a timer tick, which is
// skipped instead, goes to the worker directly). One request waits at most; a later one
// takes its place.
class PendingExchange : public QObject {
    Q_OBJECT
public:
    explicit PendingExchange(QObject* parent = nullptr) : QObject(parent) {}

    void setWorker(ExchangeWorker* worker);
    [[nodiscard]] ExchangeWorker* worker() const { return worker_; }

    // False only when there is no worker or it has no link.
    bool run(ExchangeWorker::Job job);
    // Forgets the waiting request.
    void drop();
    [[nodiscard]] bool waiting() const { return static_cast<bool>(waiting_); }

private:
    void workerIdle();

    QPointer<ExchangeWorker> worker_;
    ExchangeWorker::Job waiting_;
    QMetaObject::Connection idle_;
};

} // namespace korvan::gui
