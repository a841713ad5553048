#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace korvan {

class Prompt;

// The two directions of the packed ASCII converter window, with its messages.

// The characters packed and shown as hexadecimal byte text; an illegal character shows
// "Has Illegal char" and then "Illegal data", an empty text "Illegal data".
[[nodiscard]] std::optional<std::string> packTextToHex(std::string_view text, Prompt& prompt);

// The characters of a hexadecimal byte text; a text that breaks the rule shows
// "Illegal data", a byte count that is 0 or not a multiple of 3 "Incorrect data length".
[[nodiscard]] std::optional<std::string> unpackHexToText(std::string_view hex, Prompt& prompt);

} // namespace korvan
