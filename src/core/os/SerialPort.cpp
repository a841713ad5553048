#include "os/SerialPort.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace korvan::os {
namespace {

using Clock = std::chrono::steady_clock;

int remainingMs(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

bool setLine(int fd) {
    termios line{};
    if (tcgetattr(fd, &line) != 0)
        return false;
    cfmakeraw(&line);
    line.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    line.c_cflag |= CS8 | CREAD | CLOCAL;
    line.c_iflag &= ~static_cast<tcflag_t>(INPCK | IXON | IXOFF);
    line.c_cc[VMIN] = 0;
    line.c_cc[VTIME] = 0;
    return cfsetispeed(&line, B19200) == 0 && cfsetospeed(&line, B19200) == 0 &&
           tcsetattr(fd, TCSANOW, &line) == 0;
}

} // namespace

SerialPort::~SerialPort() {
    close();
}

bool SerialPort::open(const std::string& device) {
    close();
    fd_ = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0)
        return false;
    // Not shared: a second program cannot open the port while we hold it.
    if (ioctl(fd_, TIOCEXCL) != 0 || !setLine(fd_)) {
        close();
        return false;
    }
    purge();
    return true;
}

void SerialPort::close() {
    if (fd_ >= 0) {
        // The exclusive flag stays with the line while another party (a pseudo-terminal's
        // owner) holds it open: give it up so that the next open succeeds.
        ioctl(fd_, TIOCNXCL);
        ::close(fd_);
    }
    fd_ = -1;
}

bool SerialPort::write(std::span<const std::uint8_t> bytes, int timeoutMs) {
    if (fd_ < 0)
        return false;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (wrote > 0) {
            done += static_cast<std::size_t>(wrote);
            continue;
        }
        if (wrote < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        pollfd waiting{fd_, POLLOUT, 0};
        if (::poll(&waiting, 1, remainingMs(deadline)) <= 0 && remainingMs(deadline) == 0)
            return false;
    }
    return true;
}

std::size_t SerialPort::inputQueueLength() const {
    int waiting = 0;
    if (fd_ < 0 || ioctl(fd_, FIONREAD, &waiting) != 0 || waiting < 0)
        return 0;
    return static_cast<std::size_t>(waiting);
}

bool SerialPort::waitReadable(int milliseconds) const {
    if (fd_ < 0)
        return false;
    pollfd waiting{fd_, POLLIN, 0};
    int ready = 0;
    do
        ready = ::poll(&waiting, 1, milliseconds);
    while (ready < 0 && errno == EINTR);
    return ready > 0 && (waiting.revents & POLLIN) != 0;
}

std::vector<std::uint8_t> SerialPort::read(std::size_t n, int intervalMs, int totalMs) {
    std::vector<std::uint8_t> bytes(n);
    std::size_t filled = 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(totalMs);
    while (fd_ >= 0 && filled < n) {
        pollfd waiting{fd_, POLLIN, 0};
        const int wait = filled == 0 ? remainingMs(deadline) : std::min(intervalMs, remainingMs(deadline));
        const int ready = ::poll(&waiting, 1, wait);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;
        const ssize_t got = ::read(fd_, bytes.data() + filled, n - filled);
        if (got < 0 && (errno == EAGAIN || errno == EINTR))
            continue;
        if (got <= 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return bytes;
}

void SerialPort::purge() {
    if (fd_ >= 0)
        tcflush(fd_, TCIOFLUSH);
}

} // namespace korvan::os
