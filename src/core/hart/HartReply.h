#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace korvan {

// What the gateway hands over as the latest response of a HART command. Every index is
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

} // namespace korvan
