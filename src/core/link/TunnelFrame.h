#pragma once

#include "link/PrivateFrame.h"

#include <optional>

namespace korvan {

// Over TCP a private frame travels behind a 14-byte Modbus TCP style header to the gateway's
// configuration port; the private part of an answer starts at byte 11.
inline constexpr std::size_t tunnelHeaderLength = 14;
inline constexpr std::size_t tunnelAnswerOffset = 11;

[[nodiscard]] Bytes tunnelFrame(std::uint16_t transaction, std::uint8_t frameType,
                                std::span<const std::uint8_t> privateFrame);

// The fields of a received tunnel frame; nothing when the header is not the tunnel's or the
// length field does not match the bytes.
struct TunnelFields {
    std::uint16_t transaction = 0;
    std::uint8_t frameType = 0;
    std::span<const std::uint8_t> privateFrame;
};
[[nodiscard]] std::optional<TunnelFields> parseTunnelFrame(std::span<const std::uint8_t> frame);

// A tunnel answer of `length` bytes around the private answer (the gateway's side); the bytes
// before the private part are those of the request's header.
[[nodiscard]] Bytes tunnelAnswer(std::uint16_t transaction, std::uint8_t frameType,
                                 std::span<const std::uint8_t> privateAnswer, std::size_t length);

} // namespace korvan
