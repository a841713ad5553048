#include "base/PackedAscii.h"

#include "base/HexByteText.h"

namespace korvan {

std::optional<std::uint8_t> packedCode(char c) {
    const auto code = static_cast<unsigned char>(c);
    if (code >= 0x40 && code <= 0x5F)
        return static_cast<std::uint8_t>(code - 0x40);
    if (code >= 0x20 && code <= 0x3F)
        return static_cast<std::uint8_t>(code);
    return std::nullopt;
}

char packedCharacter(std::uint8_t code) {
    code &= 0x3F;
    return static_cast<char>(code < 32 ? code + 0x40 : code);
}

std::optional<std::vector<std::uint8_t>> packAscii(std::string_view text) {
    std::string upper = upperCased(text);
    while (upper.size() % 4 != 0)
        upper += ' ';
    std::vector<std::uint8_t> bytes;
    bytes.reserve(upper.size() / 4 * 3);
    for (std::size_t i = 0; i < upper.size(); i += 4) {
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            const auto code = packedCode(upper[i + k]);
            if (!code)
                return std::nullopt;
            group = (group << 6) | *code;
        }
        bytes.push_back(static_cast<std::uint8_t>(group >> 16));
        bytes.push_back(static_cast<std::uint8_t>(group >> 8));
        bytes.push_back(static_cast<std::uint8_t>(group));
    }
    return bytes;
}

std::optional<std::vector<std::uint8_t>> packAsciiFixed(std::string_view text, std::size_t characters) {
    std::string fitted(text.substr(0, characters));
    fitted.resize(characters, ' ');
    auto bytes = packAscii(fitted);
    if (bytes)
        bytes->resize(characters * 3 / 4);
    return bytes;
}

std::string unpackAscii(std::span<const std::uint8_t> bytes) {
    std::string text;
    text.reserve(bytes.size() * 4 / 3);
    std::uint32_t bits = 0;
    int held = 0;
    for (std::uint8_t b : bytes) {
        bits = (bits << 8) | b;
        held += 8;
        while (held >= 6) {
            held -= 6;
            text += packedCharacter(static_cast<std::uint8_t>(bits >> held));
        }
        bits &= (1u << held) - 1;
    }
    return text;
}

} // namespace korvan
