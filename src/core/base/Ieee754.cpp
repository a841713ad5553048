#include "base/Ieee754.h"

#include <bit>
#include <cstdio>

namespace korvan {

std::array<std::uint8_t, 4> floatToBytes(float value) {
    const auto pattern = std::bit_cast<std::uint32_t>(value);
    return {static_cast<std::uint8_t>(pattern >> 24), static_cast<std::uint8_t>(pattern >> 16),
            static_cast<std::uint8_t>(pattern >> 8), static_cast<std::uint8_t>(pattern)};
}

float floatFromBytes(std::span<const std::uint8_t> bytes) {
    std::uint32_t pattern = 0;
    for (std::size_t i = 0; i < 4; ++i)
        pattern = (pattern << 8) | (i < bytes.size() ? bytes[i] : 0u);
    return std::bit_cast<float>(pattern);
}

std::string fixedFloatText(float value) {
    // The widest finite float takes 39 digits before the point.
    char text[64];
    std::snprintf(text, sizeof text, "%f", static_cast<double>(value));
    return text;
}

std::string shortFloatText(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*g", 6, static_cast<double>(value));
    return text;
}

} // namespace korvan
