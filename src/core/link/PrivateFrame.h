#pragma once

#include "base/ResultCode.h"

#include <cstdint>
#include <span>
#include <vector>

namespace korvan {

using Bytes = std::vector<std::uint8_t>;

// A private frame: letter or code, length byte, data, and the checksum of all bytes before
// it. Answers the bytes with the checksum appended.
[[nodiscard]] Bytes closeFrame(Bytes bytes);

// True when the last byte is the checksum of the bytes before it (at least two bytes).
[[nodiscard]] bool hasValidChecksum(std::span<const std::uint8_t> frame);

// The answer check common to both links: the letter of the frame sent, a good checksum and,
// byte for byte, the expected acknowledgement. A short answer fails it too. 0 or 3.
[[nodiscard]] ResultCode checkAnswer(std::span<const std::uint8_t> answer,
                                     std::span<const std::uint8_t> expected);

} // namespace korvan
