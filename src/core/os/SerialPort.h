#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace korvan::os {

// A serial line opened by device path (a USB adapter or a pseudo-terminal) at 19200 baud,
// 8 data bits, no parity, one stop bit, raw. Closed by its destructor.
class SerialPort {
public:
    SerialPort() = default;
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens exclusively, sets the line and purges both directions; false closes again.
    [[nodiscard]] bool open(const std::string& device);
    void close();
    [[nodiscard]] bool isOpen() const { return fd_ >= 0; }

    // Writes every byte within the write time-out; false when not all were written.
    [[nodiscard]] bool write(std::span<const std::uint8_t> bytes, int timeoutMs);
    // The number of received bytes waiting to be read.
    [[nodiscard]] std::size_t inputQueueLength() const;
    // Waits at most `milliseconds` for received bytes; true when some are waiting.
    [[nodiscard]] bool waitReadable(int milliseconds) const;
    // Reads until n bytes arrived, no byte came for intervalMs, or totalMs passed.
    [[nodiscard]] std::vector<std::uint8_t> read(std::size_t n, int intervalMs, int totalMs);
    // Discards what is waiting in both directions.
    void purge();

private:
    int fd_ = -1;
};

} // namespace korvan::os
