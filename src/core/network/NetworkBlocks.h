#pragma once

#include "base/ResultCode.h"

#include <array>
#include <cstdint>
#include <span>

namespace korvan {

class CProfilebus;

// The network side's configuration as the gateway receives and returns it.

// The 12-byte block written over the serial line.
[[nodiscard]] std::array<std::uint8_t, 12> encodeSerialBlock(const CProfilebus& bus);
// The gateway's acknowledgement of the serial block.
inline constexpr std::array<std::uint8_t, 3> serialBlockAcknowledgement{0x42, 0x00, 0x42};
// The serial read request.
inline constexpr std::array<std::uint8_t, 3> serialBlockReadRequest{0x60, 0x00, 0x60};
inline constexpr std::size_t serialBlockReplyLength = 13;

// Re-initialises the bus, then takes the serial read reply into it. A reply whose first
// byte or checksum is wrong, or that is too short to hold the block, answers 3 and leaves
// the defaults.
[[nodiscard]] ResultCode decodeSerialBlock(CProfilebus& bus, std::span<const std::uint8_t> reply);

// The 32-byte management request that writes the Ethernet parameters (request code 6).
[[nodiscard]] std::array<std::uint8_t, 32> encodeEthernetWriteRequest(const CProfilebus& bus);
// The 8-byte management request that reads them (request code 5).
inline constexpr std::array<std::uint8_t, 8> ethernetReadRequest{0, 0, 0, 5, 0, 0, 0, 0};
inline constexpr std::size_t ethernetReadReplyLength = 32;

// True when a reply starts with 00 00 00 and the request code.
[[nodiscard]] bool isManagementReply(std::span<const std::uint8_t> reply, std::uint8_t requestCode);

// Takes a read reply into the bus (mode 3, the assignment mode, and the addresses as the
// assignment mode allows). False, with nothing changed, when the reply is not a full read
// reply.
[[nodiscard]] bool decodeEthernetReadReply(CProfilebus& bus, std::span<const std::uint8_t> reply);

// The standard dotted-quad conversion: four parts 0-255; anything else gives 255.255.255.255,
// as the system's conversion does for a malformed address.
[[nodiscard]] std::array<std::uint8_t, 4> dottedQuadBytes(std::string_view text);

} // namespace korvan
