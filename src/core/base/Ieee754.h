#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace korvan {

// IEEE 754 single precision with its bytes most significant first, the order HART sends.
[[nodiscard]] std::array<std::uint8_t, 4> floatToBytes(float value);
// The first four bytes read as a big-endian pattern; missing bytes read as 0.
[[nodiscard]] float floatFromBytes(std::span<const std::uint8_t> bytes);

// The value as "%f" shows it (six decimals), as the response decoding prints floats.
[[nodiscard]] std::string fixedFloatText(float value);
// The value as "%.*g" with six significant digits, as the converter's float field shows it.
[[nodiscard]] std::string shortFloatText(float value);

} // namespace korvan
