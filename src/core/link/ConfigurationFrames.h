#pragma once

#include "link/PrivateFrame.h"

#include <array>
#include <optional>

namespace korvan {

class CHartbus;
class COrlaCommand;

// The frames a download writes and the acknowledgements the gateway gives for them.

// 'C': the channel's parameters and its command count.
[[nodiscard]] Bytes channelFrame(const CHartbus& channel, std::uint8_t channelIndex);
[[nodiscard]] Bytes channelAcknowledgement(std::uint8_t channelIndex); // 43 01 ch sum

// The fields of a 'D' command frame, also the layout of the command record an upload reads.
struct CommandFields {
    std::uint8_t channel = 0;
    std::uint8_t sequence = 0;
    std::uint8_t slaveAddress = 0;
    std::uint8_t hartCommand = 0;
    std::uint8_t outputMode = 0;
    std::uint16_t receiveStart = 0;
    std::uint8_t receiveLength = 0;
    std::uint16_t sendStart = 0;
    std::uint8_t sendLength = 0;
    bool advanced = false;
    std::uint16_t tableOffset = 0;
};

// The basic values of a command of a node (the advanced flag and offset are the caller's).
[[nodiscard]] CommandFields commandFields(const COrlaCommand& command, std::uint8_t channel,
                                          std::uint8_t sequence, std::uint32_t slaveAddress);
// The 17-byte 'D' frame. The advanced form carries no receive range but the table offset;
// the basic form over the serial line has the length byte 0B instead of 0E.
[[nodiscard]] Bytes commandFrame(const CommandFields& fields, bool serialLink);
[[nodiscard]] Bytes commandAcknowledgement(std::uint8_t channelIndex); // 44 01 ch sum
// Reads a 17-byte record laid out like the 'D' frame; nothing when it is shorter.
[[nodiscard]] std::optional<CommandFields> decodeCommandRecord(std::span<const std::uint8_t> record);

inline constexpr std::array<std::uint8_t, 3> tableAcknowledgement{0x49, 0x00, 0x49};

// The serial preamble before a download, its closing frame after each channel, the
// identification before a download or upload, and the remote reset.
inline constexpr std::array<std::uint8_t, 4> serialPreambleFrame{0x4F, 0x01, 0x01, 0x51};
inline constexpr std::array<std::uint8_t, 4> serialChannelEndFrame{0x4F, 0x01, 0x00, 0x50};
inline constexpr std::array<std::uint8_t, 3> identificationFrame{0x01, 0x00, 0x01};
inline constexpr std::size_t identificationAnswerLength = 6;
inline constexpr std::uint8_t serialGatewayType = 0x09; // byte 2 of the identification answer
inline constexpr std::array<std::uint8_t, 4> resetFrame{0xEB, 0x01, 0x01, 0xED};

// The identity exchange on the management port after an Ethernet download.
[[nodiscard]] std::array<std::uint8_t, 16> identityRequest();
[[nodiscard]] bool isIdentityAnswer(std::span<const std::uint8_t> answer);

} // namespace korvan
