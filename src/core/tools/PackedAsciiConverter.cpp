#include "tools/PackedAsciiConverter.h"

#include "base/HexByteText.h"
#include "base/PackedAscii.h"
#include "base/Prompt.h"

namespace korvan {

std::optional<std::string> packTextToHex(std::string_view text, Prompt& prompt) {
    auto bytes = packAscii(text);
    if (!bytes) {
        prompt.message("Has Illegal char");
        bytes.emplace();
    }
    if (bytes->empty()) {
        prompt.message("Illegal data");
        return std::nullopt;
    }
    return hexByteText(*bytes);
}

std::optional<std::string> unpackHexToText(std::string_view hex, Prompt& prompt) {
    const auto bytes = parseHexByteText(hex);
    if (!bytes) {
        prompt.message("Illegal data");
        return std::nullopt;
    }
    if (bytes->empty() || bytes->size() % 3 != 0) {
        prompt.message("Incorrect data length");
        return std::nullopt;
    }
    return unpackAscii(*bytes);
}

} // namespace korvan
