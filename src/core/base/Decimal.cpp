#include "base/Decimal.h"

#include <algorithm>
#include <climits>

namespace korvan {

int decimalValue(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > std::int64_t{INT_MAX} + 1)
            value = std::int64_t{INT_MAX} + 1;
    }
    if (negative)
        value = -value;
    return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

std::string decimalText(std::int64_t value) { return std::to_string(value); }

bool isDigitsOnly(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace korvan
