#include "FuzzInput.h"

#include <algorithm>

namespace korvan::fuzz {
namespace {

constexpr std::uint8_t longSlice = 254;
constexpr std::uint8_t markerSlice = 255;

} // namespace

std::uint8_t FuzzInput::byte() {
    const auto bytes = take(1);
    return bytes.empty() ? 0 : bytes[0];
}

std::uint16_t FuzzInput::word() {
    const std::uint8_t high = byte();
    return static_cast<std::uint16_t>(high << 8 | byte());
}

std::span<const std::uint8_t> FuzzInput::take(std::size_t n) {
    const auto taken = bytes_.first(std::min(n, bytes_.size()));
    bytes_ = bytes_.subspan(taken.size());
    return taken;
}

FuzzInput::Slice FuzzInput::slice() {
    if (bytes_.empty())
        return {};
    const std::uint8_t length = byte();
    if (length == markerSlice)
        return {true, {}};
    return {false, take(length == longSlice ? word() : length)};
}

std::string_view FuzzInput::text() {
    const auto bytes = slice().bytes;
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

void appendSlice(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> bytes) {
    if (bytes.size() < longSlice) {
        out.push_back(static_cast<std::uint8_t>(bytes.size()));
    } else {
        const std::size_t n = std::min<std::size_t>(bytes.size(), 0xFFFF);
        out.insert(out.end(),
                   {longSlice, static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n & 0xFF)});
        bytes = bytes.first(n);
    }
    out.insert(out.end(), bytes.begin(), bytes.end());
}

void appendMarker(std::vector<std::uint8_t>& out, std::uint8_t detail) {
    out.push_back(markerSlice);
    out.push_back(detail);
}

void appendText(std::vector<std::uint8_t>& out, std::string_view text) {
    appendSlice(out, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

} // namespace korvan::fuzz
