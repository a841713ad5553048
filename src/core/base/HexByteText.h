#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvan {

// Hexadecimal byte text: pairs of hexadecimal digits separated by exactly one space, with no
// leading or trailing space ("4D 3C 1B"). Shared by the converters, the response decoding
// and the serial tools.

// The bytes as upper-case hexadecimal byte text; empty for no bytes.
[[nodiscard]] std::string hexByteText(std::span<const std::uint8_t> bytes);

// The bytes of a hexadecimal byte text, read after turning it to upper case; nothing when
// the text breaks the rule. An empty text holds no bytes.
[[nodiscard]] std::optional<std::vector<std::uint8_t>> parseHexByteText(std::string_view text);

// The text in upper case (ASCII letters only).
[[nodiscard]] std::string upperCased(std::string_view text);

} // namespace korvan
