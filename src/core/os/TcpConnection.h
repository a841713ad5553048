#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace korvan::os {

// How a step of a TCP exchange ended.
enum class NetStatus { Ok, SetupFailed, ConnectFailed, SendFailed, ReceiveFailed };

// One IPv4 TCP connection, closed by its destructor. Every wait is bounded by the time-outs
// given to open() and connect().
class TcpConnection {
public:
    TcpConnection() = default;
    ~TcpConnection();
    TcpConnection(const TcpConnection&) = delete;
    TcpConnection& operator=(const TcpConnection&) = delete;

    // Creates the socket with its receive and send time-outs (0 leaves one unset).
    [[nodiscard]] NetStatus open(int receiveTimeoutMs, int sendTimeoutMs);
    // A non-blocking connect that gives up after limitMs.
    [[nodiscard]] NetStatus connect(const std::string& host, std::uint16_t port, int limitMs);
    // The whole buffer in one send call, with the do-not-route flag.
    [[nodiscard]] NetStatus sendAll(std::span<const std::uint8_t> bytes);
    // Reads until `minimum` bytes have arrived, the peer closed or the receive time-out
    // passed, then takes what else is already waiting, up to `maximum`. A TCP answer may come
    // in several segments, so one read is never taken as the whole answer.
    [[nodiscard]] std::vector<std::uint8_t> receive(std::size_t minimum, std::size_t maximum);
    void close();
    [[nodiscard]] bool isOpen() const { return fd_ >= 0; }

private:
    int fd_ = -1;
    int receiveTimeoutMs_ = 1000;
};

} // namespace korvan::os
