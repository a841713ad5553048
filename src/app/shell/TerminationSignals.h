#pragma once

#include <QObject>

class QSocketNotifier;

namespace korvan::gui {

// SIGTERM and SIGINT, turned into a Qt signal on the user-interface thread: the handler only
// writes one byte into a pipe (all it may safely do), and a socket notifier on the pipe's
// other end emits received(). One instance per process.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // False when the pipe or the handlers could not be set up; the signals then end the
    // program the default way.
    [[nodiscard]] bool installed() const { return notifier_ != nullptr; }

Q_SIGNALS:
    void received(int signalNumber);

private:
    void drain();

    QSocketNotifier* notifier_ = nullptr;
};

} // namespace korvan::gui
