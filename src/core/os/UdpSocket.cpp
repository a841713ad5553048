#include "os/UdpSocket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace korvan::os {
namespace {

bool toAddress(const std::string& host, std::uint16_t port, sockaddr_in& address) {
    address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (host.empty()) {
        address.sin_addr.s_addr = htonl(INADDR_ANY);
        return true;
    }
    return inet_pton(AF_INET, host.c_str(), &address.sin_addr) == 1;
}

std::optional<std::vector<std::uint8_t>> receiveOn(int fd, std::size_t maximum, int flags) {
    if (fd < 0)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(maximum);
    ssize_t got = 0;
    do
        got = ::recvfrom(fd, bytes.data(), bytes.size(), flags, nullptr, nullptr);
    while (got < 0 && errno == EINTR);
    if (got < 0)
        return std::nullopt;
    bytes.resize(static_cast<std::size_t>(got));
    return bytes;
}

} // namespace

UdpSocket::~UdpSocket() {
    close();
}

bool UdpSocket::open(int receiveTimeoutMs, bool broadcast, const std::string& localAddress) {
    close();
    fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0)
        return false;
    const int on = broadcast ? 1 : 0;
    timeval timeout{receiveTimeoutMs / 1000, (receiveTimeoutMs % 1000) * 1000};
    sockaddr_in local{};
    if (setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout) != 0 ||
        setsockopt(fd_, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0 ||
        !toAddress(localAddress, 0, local) ||
        ::bind(fd_, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        close();
        return false;
    }
    return true;
}

bool UdpSocket::sendTo(const std::string& host, std::uint16_t port, std::span<const std::uint8_t> bytes) {
    sockaddr_in target{};
    if (fd_ < 0 || host.empty() || !toAddress(host, port, target))
        return false;
    const ssize_t sent = ::sendto(fd_, bytes.data(), bytes.size(), 0,
                                  reinterpret_cast<const sockaddr*>(&target), sizeof target);
    return sent == static_cast<ssize_t>(bytes.size());
}

std::optional<std::vector<std::uint8_t>> UdpSocket::receive(std::size_t maximum) {
    return receiveOn(fd_, maximum, 0);
}

std::optional<std::vector<std::uint8_t>> UdpSocket::receiveWaiting(std::size_t maximum) {
    return receiveOn(fd_, maximum, MSG_DONTWAIT);
}

void UdpSocket::close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

} // namespace korvan::os
