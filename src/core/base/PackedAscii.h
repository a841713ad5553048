#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvan {

// HART packed ASCII: 6 bits per character, four characters in three bytes, the first
// character in the highest bits. Characters 0x40-0x5F have the codes 0-31, characters
// 0x20-0x3F keep their own code; nothing else can be packed.

// The 6-bit code of a character (not upper-cased here), or nothing when it cannot be packed.
[[nodiscard]] std::optional<std::uint8_t> packedCode(char c);
// The character of a 6-bit code (only the low six bits are read).
[[nodiscard]] char packedCharacter(std::uint8_t code);

// Packs the text after turning it to upper case, padding with blanks to a multiple of four
// characters; nothing when a character cannot be packed. An empty text gives no bytes.
[[nodiscard]] std::optional<std::vector<std::uint8_t>> packAscii(std::string_view text);

// Packs exactly `characters` characters (blank-padded or cut) into characters * 3 / 4 bytes.
[[nodiscard]] std::optional<std::vector<std::uint8_t>> packAsciiFixed(std::string_view text,
                                                                      std::size_t characters);

// Four characters per three bytes; a final group of one or two bytes gives the characters
// its bits fill completely.
[[nodiscard]] std::string unpackAscii(std::span<const std::uint8_t> bytes);

} // namespace korvan
