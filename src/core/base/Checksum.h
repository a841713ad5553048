#pragma once

#include <cstdint>
#include <numeric>
#include <span>

namespace korvan {

// The 8-bit sum, modulo 256, that ends every private frame.
[[nodiscard]] constexpr std::uint8_t linkChecksum(std::span<const std::uint8_t> bytes) {
    return static_cast<std::uint8_t>(std::accumulate(bytes.begin(), bytes.end(), 0u,
                                                     [](unsigned sum, std::uint8_t b) { return sum + b; }));
}

} // namespace korvan
