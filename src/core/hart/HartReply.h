#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace korvan {

// The latest response of a HART command as the gateway hands it over, split into the
// communication status, the response code and the command's data bytes. Every index is
// checked against what was received: missing bytes read as 0.

// The commands the command I/O data window reads or writes; any other shows nothing.
[[nodiscard]] bool isCommandIoCommand(int command);

// The 2 status bytes plus the data bytes kept for the command; 0 for other commands.
[[nodiscard]] int commandReplySize(int command);

// The response code index of a raw HART response code for the command; unlisted codes give 9.
[[nodiscard]] std::uint8_t mapResponseCode(int command, std::uint8_t raw);

// The payload of a reply: byte 1 is a length L, the payload starts at byte 4 and is L - 2
// bytes long. Bytes the reply lacks read as 0.
[[nodiscard]] std::vector<std::uint8_t> replyPayload(std::span<const std::uint8_t> reply);

// An Ethernet reply without the 11 bytes in front of the private reply.
[[nodiscard]] std::span<const std::uint8_t> withoutTunnelHeader(std::span<const std::uint8_t> reply);

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
