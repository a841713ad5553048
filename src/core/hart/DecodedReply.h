#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace korvan {

// The decoded reply of one command: byte 0 the communication status, byte 1 the response
// code index, then the data bytes, cut or zero-filled to the command's size.
class DecodedReply {
public:
    DecodedReply() = default;
    // Decodes a payload; when the communication status is not 0 everything after it is 0.
    DecodedReply(int command, std::span<const std::uint8_t> payload);
    // The all-zero reply, as the write-only commands show before values are typed.
    [[nodiscard]] static DecodedReply zero(int command);

    [[nodiscard]] int command() const { return command_; }
    [[nodiscard]] std::uint8_t communicationStatus() const { return byte(0); }
    [[nodiscard]] std::uint8_t responseCodeIndex() const { return byte(1); }
    // Data byte i (0 = the first after the status bytes); 0 outside the reply.
    [[nodiscard]] std::uint8_t data(int i) const { return i < 0 ? 0 : byte(static_cast<std::size_t>(i) + 2); }
    // `count` data bytes from `start`, zero beyond the reply.
    [[nodiscard]] std::vector<std::uint8_t> dataBytes(int start, int count) const;
    [[nodiscard]] const std::vector<std::uint8_t>& bytes() const { return bytes_; }

private:
    [[nodiscard]] std::uint8_t byte(std::size_t i) const { return i < bytes_.size() ? bytes_[i] : 0; }

    int command_ = -1;
    std::vector<std::uint8_t> bytes_;
};

} // namespace korvan
