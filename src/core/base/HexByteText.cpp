#include "base/HexByteText.h"

namespace korvan {
namespace {

constexpr std::string_view digits = "0123456789ABCDEF";

int digitValue(char c) {
    const auto position = digits.find(c);
    return position == std::string_view::npos ? -1 : static_cast<int>(position);
}

} // namespace

std::string upperCased(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

std::string hexByteText(std::span<const std::uint8_t> bytes) {
    std::string text;
    text.reserve(bytes.size() * 3);
    for (std::uint8_t b : bytes) {
        if (!text.empty())
            text += ' ';
        text += digits[b >> 4];
        text += digits[b & 0x0F];
    }
    return text;
}

std::optional<std::vector<std::uint8_t>> parseHexByteText(std::string_view text) {
    const std::string upper = upperCased(text);
    std::vector<std::uint8_t> bytes;
    if (upper.empty())
        return bytes;
    // Every byte is two digits, and bytes are joined by one space: n bytes take 3n - 1 characters.
    if ((upper.size() + 1) % 3 != 0)
        return std::nullopt;
    for (std::size_t i = 0; i < upper.size(); i += 3) {
        const int high = digitValue(upper[i]);
        const int low = digitValue(upper[i + 1]);
        if (high < 0 || low < 0 || (i + 2 < upper.size() && upper[i + 2] != ' '))
            return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return bytes;
}

} // namespace korvan
