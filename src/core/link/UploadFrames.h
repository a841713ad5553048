#pragma once

#include "link/PrivateFrame.h"

#include <optional>

namespace korvan {

class CHartbus;

// The read requests of an upload and the checks of their replies.
[[nodiscard]] Bytes channelRecordRequest(std::uint8_t channel);                 // 03 01 ch sum
[[nodiscard]] Bytes commandRecordRequest(std::uint8_t channel, std::uint8_t i); // 04 02 ch i sum
// 09 04 ch offset-high offset-low count sum: bytes of the channel's segment table.
[[nodiscard]] Bytes tableReadRequest(std::uint8_t channel, std::uint16_t offset, std::uint8_t count);

inline constexpr std::size_t channelRecordLength = 15;
inline constexpr std::size_t commandRecordLength = 17;
// The table read reply: 09, length, channel, then the bytes asked for, then the checksum.
inline constexpr std::size_t tableReplyHeader = 3;

// Takes a 15-byte channel record (laid out like the 'C' frame, starting with 03) into the
// channel and answers its command count; nothing, with the channel untouched, when the record
// is short, does not start with 03 or fails its checksum.
[[nodiscard]] std::optional<int> applyChannelRecord(CHartbus& channel, std::span<const std::uint8_t> record);

} // namespace korvan
