#include "base/Decimal.h"

#include <algorithm>
#include <climits>

namespace korvan {
namespace {

// The leading number of the text, held in 64 bits and limited far beyond every 32-bit range,
// so that the callers can saturate or wrap it without overflow.
std::int64_t leadingNumber(std::string_view text) {
    constexpr std::int64_t limit = std::int64_t{1} << 40;
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min(value * 10 + (text[i] - '0'), limit);
    return negative ? -value : value;
}

} // namespace

int decimalValue(std::string_view text) {
    return static_cast<int>(std::clamp<std::int64_t>(leadingNumber(text), INT_MIN, INT_MAX));
}

std::uint32_t decimalPattern32(std::string_view text) {
    const std::int64_t value = std::clamp<std::int64_t>(leadingNumber(text), INT32_MIN, UINT32_MAX);
    return static_cast<std::uint32_t>(value);
}

std::string decimalText(std::int64_t value) {
    return std::to_string(value);
}

std::string signedDecimalText(std::uint32_t pattern) {
    return decimalText(static_cast<std::int32_t>(pattern));
}

bool isDigitsOnly(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace korvan
