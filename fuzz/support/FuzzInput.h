#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace korvan::fuzz {

// The fuzzer's bytes read from the front: single bytes, and slices of a length the bytes
// themselves give, so that the fuzzer can grow or cut any part of an input. Reading past the
// end gives zeros and empty slices.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : bytes_(data, size) {}
    explicit FuzzInput(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    [[nodiscard]] bool empty() const { return bytes_.empty(); }
    [[nodiscard]] std::size_t remaining() const { return bytes_.size(); }

    std::uint8_t byte();
    std::uint16_t word(); // most significant byte first
    // The next n bytes (fewer at the end).
    std::span<const std::uint8_t> take(std::size_t n);
    // Everything left.
    std::span<const std::uint8_t> rest() { return take(bytes_.size()); }

    // A slice: one length byte 0-253 and that many bytes; 254 is followed by a two-byte length.
    // Answers nothing, and takes only the marker, when the length byte is 255 (the caller's
    // signal of a failure).
    struct Slice {
        bool marker = false;
        std::span<const std::uint8_t> bytes;
    };
    Slice slice();
    // A slice's bytes as text; a marker gives an empty text.
    std::string_view text();

private:
    std::span<const std::uint8_t> bytes_;
};

// Writes a slice as FuzzInput::slice reads it, for the seed generator.
void appendSlice(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> bytes);
void appendMarker(std::vector<std::uint8_t>& out, std::uint8_t detail);
void appendText(std::vector<std::uint8_t>& out, std::string_view text);

} // namespace korvan::fuzz
