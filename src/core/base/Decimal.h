#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace korvan {

// Numbers are held as decimal text and converted on demand. The conversion takes the leading
// decimal digits after optional blanks and one sign; text without digits reads as 0. Values
// beyond the range of int saturate instead of wrapping.
[[nodiscard]] int decimalValue(std::string_view text);

[[nodiscard]] std::string decimalText(std::int64_t value);

// True when the text is non-empty and holds decimal digits only (no sign, no blanks).
[[nodiscard]] bool isDigitsOnly(std::string_view text);

} // namespace korvan
