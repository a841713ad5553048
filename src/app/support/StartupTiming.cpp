#include "support/StartupTiming.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <time.h>
#include <unistd.h>

namespace korvan::gui {
namespace {

QElapsedTimer& sinceMain() {
    static QElapsedTimer timer;
    return timer;
}

// Milliseconds since the process was started by the system (before the dynamic loader ran),
// from /proc at the resolution of the clock ticks; -1 when it cannot be read.
long long millisecondsSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string line;
    if (!std::getline(stat, line))
        return -1;
    // The command name in parentheses may hold blanks: the fields count from its end.
    const auto close = line.rfind(')');
    if (close == std::string::npos)
        return -1;
    std::istringstream fields(line.substr(close + 2));
    std::string field;
    // Field 22 (starttime) is the 20th after the command name.
    for (int i = 0; i < 20 && fields >> field; ++i) {
    }
    const long ticksPerSecond = ::sysconf(_SC_CLK_TCK);
    timespec now{};
    if (!fields || ticksPerSecond <= 0 || ::clock_gettime(CLOCK_BOOTTIME, &now) != 0)
        return -1;
    const long long startMs = std::stoll(field) * 1000 / ticksPerSecond;
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000 - startMs;
}

} // namespace

void StartupTiming::markMainEntered() {
    sinceMain().start();
}

bool StartupTiming::enabled() {
    return std::getenv("KORVAN_STARTUP_TIMING") != nullptr;
}

void StartupTiming::reportFirstPaint(QWidget* window) {
    if (!enabled() || window == nullptr)
        return;
    window->installEventFilter(new StartupTiming(window));
}

bool StartupTiming::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint) {
        std::fprintf(stderr,
                     "korvan: main window shown %lld ms after main() began, %lld ms after process start\n",
                     static_cast<long long>(sinceMain().elapsed()), millisecondsSinceProcessStart());
        std::fflush(stderr);
        watched->removeEventFilter(this);
        deleteLater();
    }
    return false;
}

} // namespace korvan::gui
