#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace korvan::os {

// One IPv4 UDP socket, closed by its destructor.
class UdpSocket {
public:
    UdpSocket() = default;
    ~UdpSocket();
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;

    // Creates the socket with its receive time-out, bound to the local address (empty: any
    // address) on any port; broadcast allows sending to 255.255.255.255.
    [[nodiscard]] bool open(int receiveTimeoutMs, bool broadcast, const std::string& localAddress);
    [[nodiscard]] bool sendTo(const std::string& host, std::uint16_t port,
                              std::span<const std::uint8_t> bytes);
    // One datagram of at most `maximum` bytes; nothing after the receive time-out or a failure.
    [[nodiscard]] std::optional<std::vector<std::uint8_t>> receive(std::size_t maximum);
    // One datagram that has already arrived, without waiting; nothing when none is waiting.
    [[nodiscard]] std::optional<std::vector<std::uint8_t>> receiveWaiting(std::size_t maximum);
    void close();
    [[nodiscard]] bool isOpen() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

} // namespace korvan::os
