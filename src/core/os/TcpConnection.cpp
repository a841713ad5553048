#include "os/TcpConnection.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace korvan::os {
namespace {

using Clock = std::chrono::steady_clock;

bool setTimeout(int fd, int option, int milliseconds) {
    if (milliseconds <= 0)
        return true;
    timeval value{milliseconds / 1000, (milliseconds % 1000) * 1000};
    return setsockopt(fd, SOL_SOCKET, option, &value, sizeof value) == 0;
}

bool resolve(const std::string& host, std::uint16_t port, sockaddr_in& address) {
    address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (inet_pton(AF_INET, host.c_str(), &address.sin_addr) == 1)
        return true;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr)
        return false;
    address.sin_addr = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
    return true;
}

int remainingMs(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

} // namespace

TcpConnection::~TcpConnection() {
    close();
}

NetStatus TcpConnection::open(int receiveTimeoutMs, int sendTimeoutMs) {
    close();
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0)
        return NetStatus::SetupFailed;
    receiveTimeoutMs_ = receiveTimeoutMs > 0 ? receiveTimeoutMs : 1000;
    const int one = 1;
    if (!setTimeout(fd_, SO_RCVTIMEO, receiveTimeoutMs) || !setTimeout(fd_, SO_SNDTIMEO, sendTimeoutMs) ||
        setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one) != 0) {
        close();
        return NetStatus::SetupFailed;
    }
    return NetStatus::Ok;
}

NetStatus TcpConnection::connect(const std::string& host, std::uint16_t port, int limitMs) {
    sockaddr_in address{};
    if (fd_ < 0 || !resolve(host, port, address))
        return NetStatus::ConnectFailed;
    const int flags = fcntl(fd_, F_GETFL);
    if (flags < 0 || fcntl(fd_, F_SETFL, flags | O_NONBLOCK) < 0)
        return NetStatus::SetupFailed;
    int result = ::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    if (result != 0 && errno == EINPROGRESS) {
        pollfd waiting{fd_, POLLOUT, 0};
        const auto deadline = Clock::now() + std::chrono::milliseconds(limitMs);
        do
            result = ::poll(&waiting, 1, remainingMs(deadline));
        while (result < 0 && errno == EINTR);
        int error = 0;
        socklen_t length = sizeof error;
        if (result != 1 || getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0)
            return NetStatus::ConnectFailed;
    } else if (result != 0) {
        return NetStatus::ConnectFailed;
    }
    if (fcntl(fd_, F_SETFL, flags) < 0)
        return NetStatus::SetupFailed;
    return NetStatus::Ok;
}

NetStatus TcpConnection::sendAll(std::span<const std::uint8_t> bytes) {
    if (fd_ < 0)
        return NetStatus::SendFailed;
    ssize_t sent = 0;
    do
        sent = ::send(fd_, bytes.data(), bytes.size(), MSG_DONTROUTE | MSG_NOSIGNAL);
    while (sent < 0 && errno == EINTR);
    return sent == static_cast<ssize_t>(bytes.size()) ? NetStatus::Ok : NetStatus::SendFailed;
}

std::vector<std::uint8_t> TcpConnection::receive(std::size_t minimum, std::size_t maximum) {
    std::vector<std::uint8_t> bytes;
    if (fd_ < 0 || maximum == 0)
        return bytes;
    bytes.resize(maximum);
    std::size_t filled = 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(receiveTimeoutMs_);
    while (filled < maximum) {
        const bool haveEnough = filled >= minimum && filled > 0;
        pollfd waiting{fd_, POLLIN, 0};
        const int ready = ::poll(&waiting, 1, haveEnough ? 0 : remainingMs(deadline));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;
        const ssize_t got = ::recv(fd_, bytes.data() + filled, maximum - filled, MSG_DONTWAIT);
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (got <= 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return bytes;
}

void TcpConnection::close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

} // namespace korvan::os
