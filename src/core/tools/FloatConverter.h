#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace korvan {

class Prompt;

// The two directions of the IEEE 754 converter window, with its messages.

// The number typed in the float field; anything that is not a finite single-precision
// number shows "Enter a number.".
[[nodiscard]] std::optional<float> parseFloatText(std::string_view text, Prompt& prompt);

// The float's four bytes, most significant first, as hexadecimal byte text ("3F 80 00 00").
[[nodiscard]] std::string floatToHexText(float value);

// The float of exactly four bytes of hexadecimal byte text; anything else shows
// "Illegal input data".
[[nodiscard]] std::optional<float> hexTextToFloat(std::string_view hex, Prompt& prompt);

} // namespace korvan
