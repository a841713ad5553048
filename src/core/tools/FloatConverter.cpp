#include "tools/FloatConverter.h"

#include "base/HexByteText.h"
#include "base/Ieee754.h"
#include "base/Prompt.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace korvan {

std::optional<float> parseFloatText(std::string_view text, Prompt& prompt) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    // One sign at most: from_chars reads a minus itself, so a plus is taken off first, and a
    // second sign behind it ("+-1") is not a number.
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && (text.front() == '-' || text.front() == '+'))
            text = {};
    }
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    // Read as a double first so that a value too small for a float becomes 0 instead of
    // being refused; a value too large for a float is refused.
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value) ||
        std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max())) {
        prompt.message("Enter a number.");
        return std::nullopt;
    }
    return static_cast<float>(value);
}

std::string floatToHexText(float value) {
    return hexByteText(floatToBytes(value));
}

std::optional<float> hexTextToFloat(std::string_view hex, Prompt& prompt) {
    const auto bytes = parseHexByteText(hex);
    if (!bytes || bytes->size() != 4) {
        prompt.message("Illegal input data");
        return std::nullopt;
    }
    return floatFromBytes(*bytes);
}

} // namespace korvan
