#pragma once

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

namespace korvan::test {

// Drives the modal dialog that the code under test opens with exec(): once it is open,
// `drive` gets it. A dialog still open after the time limit is rejected so that a failing
// test ends; the limit is lifted when the driver goes out of scope.
class ModalDriver {
public:
    explicit ModalDriver(std::function<void(QWidget*)> drive, int limitMs = 5000)
        : fallback_(std::make_unique<QTimer>()) {
        QTimer::singleShot(0, qApp, [drive = std::move(drive)] {
            QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeModalWidget() != nullptr, 5000);
            drive(QApplication::activeModalWidget());
        });
        fallback_->setSingleShot(true);
        QObject::connect(fallback_.get(), &QTimer::timeout, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                dialog->reject();
        });
        fallback_->start(limitMs);
    }

private:
    std::unique_ptr<QTimer> fallback_;
};

} // namespace korvan::test
