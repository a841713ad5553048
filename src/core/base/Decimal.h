#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace korvan {

// Numbers are held as decimal text and converted on demand. The conversion takes the leading
// decimal digits after optional blanks and one sign; text without digits reads as 0. Values
// beyond the range of int saturate instead of wrapping.
[[nodiscard]] int decimalValue(std::string_view text);

// The same leading number as a 32-bit pattern, for the fields the model holds unsigned: a
// value from -2^31 to 2^32 - 1 keeps its 32 bits (so -5 and 4294967291 are the same
// pattern), a value beyond saturates at the nearer end.
[[nodiscard]] std::uint32_t decimalPattern32(std::string_view text);

[[nodiscard]] std::string decimalText(std::int64_t value);

// A 32-bit pattern as a signed decimal ("-5" for 4294967291): every reader of int values
// takes it without saturating, and decimalPattern32 gives the same pattern back.
[[nodiscard]] std::string signedDecimalText(std::uint32_t pattern);

// True when the text is non-empty and holds decimal digits only (no sign, no blanks).
[[nodiscard]] bool isDigitsOnly(std::string_view text);

} // namespace korvan
