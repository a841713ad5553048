#pragma once

#include <span>
#include <string_view>

namespace korvan::catalogue_table {

// One field as the HART command specifications list it: its length and description. A
// field follows the previous one unless it names its own start byte.
struct RawField {
    int length = 0;
    std::string_view description;
    int startByte = -1; // -1: right after the previous field
};

struct RawCommand {
    int number = 0;
    std::span<const RawField> fields;
};

// The described commands in ascending order. Command 9 is absent: its slots are formed by
// the catalogue (see slotFields).
[[nodiscard]] std::span<const RawCommand> describedCommands();

// Command 9: the extended status, five fields per slot 0-7 and the slot 0 time stamp.
inline constexpr int SlotCommand = 9;
inline constexpr int SlotCount = 8;
[[nodiscard]] std::span<const RawField> slotFields(); // the fields of slot 0
[[nodiscard]] RawField slotLeadingField();            // before the slots
[[nodiscard]] RawField slotTrailingField();           // after the slots

struct RawDescription {
    int number = 0;
    std::string_view title;
    std::string_view body;
};

// The command selection texts of the commands that have one.
[[nodiscard]] std::span<const RawDescription> commandDescriptions();

} // namespace korvan::catalogue_table
