#pragma once

#include <QObject>

class QWidget;

namespace korvan::gui {

// With KORVAN_STARTUP_TIMING set in the environment, the program writes to standard error
// how long after its start the main window was first painted; otherwise it stays silent.
// Benchmarks and the program's end-to-end tests read that line.
class StartupTiming : public QObject {
    Q_OBJECT
public:
    // Call first thing in main(): the time since then is measured with a monotonic clock.
    static void markMainEntered();
    [[nodiscard]] static bool enabled();

    // Watches the window for its first paint and writes the line then.
    static void reportFirstPaint(QWidget* window);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};

} // namespace korvan::gui
