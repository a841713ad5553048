#pragma once

#include <array>
#include <cstddef>

namespace korvan::command_item {

// Positions in a HART command's item list.
constexpr std::size_t ConfigurationMode = 0;
constexpr std::size_t OutputMode = 1;
constexpr std::size_t SendMemoryStart = 2;
constexpr std::size_t SendRegisterStart = 3;
constexpr std::size_t SendLengthBytes = 4;
constexpr std::size_t SendLengthWords = 5;
constexpr std::size_t ReceiveMemoryStart = 6;
constexpr std::size_t ReceiveRegisterStart = 7;
constexpr std::size_t ReceiveLengthBytes = 8;
constexpr std::size_t ReceiveLengthWords = 9;
constexpr std::size_t CommandIndex = 10;
constexpr std::size_t BasicItemCount = 11;
constexpr std::size_t FirstSegment = 15;
constexpr std::size_t SegmentRecordCount = 26;
constexpr std::size_t ItemTotal = FirstSegment + SegmentRecordCount; // 41

// The HART commands that carry no request data: their send length is fixed at 0.
constexpr std::array<unsigned, 11> commandsWithoutRequestData{0, 1, 2, 3, 12, 13, 14, 15, 16, 20, 105};

[[nodiscard]] constexpr bool carriesNoRequestData(unsigned hartCommand) {
    for (unsigned number : commandsWithoutRequestData)
        if (number == hartCommand)
            return true;
    return false;
}

} // namespace korvan::command_item
