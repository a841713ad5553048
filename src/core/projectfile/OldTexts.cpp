#include "projectfile/OldTexts.h"

#include <array>
#include <utility>

namespace korvan {
namespace {

using Replacement = std::pair<std::string_view, std::string_view>;

constexpr std::array<Replacement, 2> oldNames{{
    {"Hart slave address", "HART Slave Address"},
    {"Command index", "Command Index"},
}};

constexpr std::array<Replacement, 11> oldValues{{
    {"Keep", "Hold"},
    {"Manual Assign", "Manually Assign"},
    {"Polling output", "Polling"},
    {"Change-of-state output", "Change of State"},
    {"Initialization output", "Initialization"},
    {"Disable output", "Disable"},
    {"Primary master", "Primary Master"},
    {"Secondary master", "Secondary Master"},
    {"Point to point", "Point-to-Point"},
    {"Modbus slave", "Modbus Slave"},
    {"Universal mode", "User Config"},
}};

template <std::size_t N>
std::string_view replaced(const std::array<Replacement, N>& table, std::string_view text) {
    for (const auto& [old, current] : table)
        if (old == text)
            return current;
    return text;
}

} // namespace

std::string_view currentItemName(std::string_view name) { return replaced(oldNames, name); }
std::string_view currentItemValue(std::string_view value) { return replaced(oldValues, value); }

} // namespace korvan
