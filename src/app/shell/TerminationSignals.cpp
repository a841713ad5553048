#include "shell/TerminationSignals.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace korvan::gui {
namespace {

int pipeEnds[2] = {-1, -1};
constexpr int handled[] = {SIGTERM, SIGINT};

extern "C" void onTerminationSignal(int signalNumber) {
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(signalNumber);
    // A full pipe already holds a request to end; nothing is lost by dropping this one.
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &byte, 1);
    errno = savedErrno;
}

bool makePipe() {
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) {
        pipeEnds[0] = pipeEnds[1] = -1;
        return false;
    }
    return true;
}

void setHandler(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signalNumber : handled)
        ::sigaction(signalNumber, &action, nullptr);
}

} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    if (pipeEnds[0] >= 0 || !makePipe())
        return;
    notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::drain);
    setHandler(onTerminationSignal);
}

TerminationSignals::~TerminationSignals() {
    if (notifier_ == nullptr)
        return;
    setHandler(SIG_DFL);
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

void TerminationSignals::drain() {
    unsigned char byte = 0;
    while (::read(pipeEnds[0], &byte, 1) == 1)
        Q_EMIT received(byte);
}

} // namespace korvan::gui
