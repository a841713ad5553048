#pragma once

#include <optional>
#include <string_view>

namespace korvan {

// One response field of a HART command: where it sits in the response data (byte 0 is the
// first data byte after the communication status and the response code), its span, the
// byte range text the engineer sees and its description. The texts point into the
// catalogue, which lives for the run.
struct HartFieldInfo {
    int startByte = 0;
    int length = 0;
    std::string_view rangeText;
    std::string_view description;
};

// The command status pseudo-field: the two status bytes, stored and downloaded with start
// byte 63, a byte no field of any command starts at.
inline constexpr int StatusEntryStartByte = 63;
inline constexpr int StatusEntryLength = 2;
inline constexpr std::string_view CommandStatusLabel = "Command Status";
inline constexpr std::string_view CommandStatusDescription = "Communication Status And Response Code ";

// The most fields one command has (command 9).
inline constexpr int MaxHartFields = 42;

// A command's field, or its status entry, which lives apart from the field list.
struct FieldRef {
    static constexpr int StatusIndex = -1;
    int index = StatusIndex;

    [[nodiscard]] constexpr bool isStatus() const { return index == StatusIndex; }
    [[nodiscard]] static constexpr FieldRef status() { return FieldRef{}; }
    [[nodiscard]] static constexpr FieldRef field(int i) { return FieldRef{i}; }
    friend constexpr bool operator==(FieldRef, FieldRef) = default;
};

// A lookup by range text or start byte finds a field, the status entry, or nothing.
using FieldLookup = std::optional<FieldRef>;

} // namespace korvan
