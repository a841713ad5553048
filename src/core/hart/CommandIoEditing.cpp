#include "hart/CommandIoEditing.h"

#include "base/Checksum.h"
#include "base/Decimal.h"
#include "base/HexByteText.h"
#include "base/PackedAscii.h"
#include "base/Prompt.h"
#include "link/TunnelFrame.h"

#include <algorithm>
#include <cstdio>

namespace korvan {
namespace {

constexpr std::uint8_t WriteLetter = 0x47; // 'G'

std::string padded(std::string text, std::size_t width) {
    text.resize(width, ' ');
    return text;
}

std::string limitedNumber(std::string_view text, int highest) {
    return std::to_string(std::clamp(decimalValue(text), 0, highest));
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// "dd-mm-yyyy" with digits where digits belong.
bool hasDateShape(std::string_view text) {
    if (text.size() != 10 || text[2] != '-' || text[5] != '-')
        return false;
    for (std::size_t i : {0u, 1u, 3u, 4u, 6u, 7u, 8u, 9u})
        if (!isDigit(text[i]))
            return false;
    return true;
}

struct Date {
    int day;
    int month;
    int year;
};

// A year beyond the year byte is limited to the last year it holds, as the day and month
// are limited to 31 and 12.
Date limitedDate(std::string_view text) {
    return {std::min(decimalValue(text.substr(0, 2)), 31), std::min(decimalValue(text.substr(3, 2)), 12),
            std::clamp(decimalValue(text.substr(6, 4)), FirstDateYear, LastDateYear)};
}

std::string dateText(const Date& date) {
    char text[16];
    std::snprintf(text, sizeof text, "%2.2d-%2.2d-%4.4d", date.day, date.month, date.year);
    return text;
}

std::string_view cell(std::span<const std::string> cells, std::size_t row) {
    return row < cells.size() ? std::string_view(cells[row]) : std::string_view{};
}

bool appendPacked(std::vector<std::uint8_t>& data, std::string_view text, std::size_t characters,
                  Prompt& prompt) {
    const auto bytes = packAsciiFixed(upperCased(text), characters);
    if (!bytes) {
        prompt.message("Has Illegal char");
        return false;
    }
    data.insert(data.end(), bytes->begin(), bytes->end());
    return true;
}

// The data bytes of the write, taken from the cells; nothing when a cell cannot be packed.
std::optional<std::vector<std::uint8_t>> writeData(int command, std::span<const std::string> cells,
                                                   Prompt& prompt) {
    std::vector<std::uint8_t> data;
    switch (command) {
    case 6: {
        const int address = decimalValue(cell(cells, 2));
        const int mode = decimalValue(cell(cells, 3));
        const bool valid = address >= 0 && address <= 15 && mode >= 0 && mode <= 1;
        data = {static_cast<std::uint8_t>(valid ? address : 0), static_cast<std::uint8_t>(valid ? mode : 0)};
        return data;
    }
    case 11:
        return appendPacked(data, cell(cells, 11), 8, prompt) ? std::optional(data) : std::nullopt;
    case 17:
        return appendPacked(data, cell(cells, 2), 32, prompt) ? std::optional(data) : std::nullopt;
    case 18: {
        if (!appendPacked(data, cell(cells, 2), 8, prompt) || !appendPacked(data, cell(cells, 3), 16, prompt))
            return std::nullopt;
        const std::string_view date = cell(cells, 4);
        const Date value = hasDateShape(date) ? limitedDate(date) : Date{0, 0, FirstDateYear};
        data.push_back(static_cast<std::uint8_t>(value.day));
        data.push_back(static_cast<std::uint8_t>(value.month));
        data.push_back(static_cast<std::uint8_t>(value.year - FirstDateYear));
        return data;
    }
    case 19: {
        const int number = std::clamp(decimalValue(cell(cells, 2)), 0, 0xFFFFFF);
        data = {static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 8),
                static_cast<std::uint8_t>(number)};
        return data;
    }
    default:
        return std::nullopt;
    }
}

} // namespace

CommandIoButtons commandIoButtons(int command) {
    if ((command >= 0 && command <= 3) || (command >= 12 && command <= 16))
        return {false, true};
    if (command == 6 || (command >= 17 && command <= 19))
        return {true, false};
    return {};
}

bool isEditableRow(int command, int row, const CommandIoButtons& buttons) {
    if (!buttons.edit || row < 2)
        return false;
    return command != 11 || row == 11;
}

std::optional<std::string> commitCellText(int command, int row, std::string_view text, Prompt& prompt) {
    const std::string upper = upperCased(text);
    if (command == 6 && row == 2)
        return limitedNumber(upper, 15);
    if (command == 6 && row == 3)
        return limitedNumber(upper, 1);
    if (command == 17 && row == 2)
        return padded(upper.substr(0, 32), 32);
    if (command == 18 && row == 3)
        return padded(upper.substr(0, 16), 16);
    if (command == 18 && row == 4) {
        if (!hasDateShape(upper)) {
            prompt.message("Date format error!");
            return std::nullopt;
        }
        return dateText(limitedDate(upper));
    }
    if (command == 19 && row == 2)
        return limitedNumber(upper, 0xFFFFFF);
    return padded(upper.substr(0, 8), 8);
}

std::optional<CommandIoFrame> buildWriteFrame(int command, std::uint8_t channel, std::uint8_t node,
                                              std::span<const std::string> cells, Prompt& prompt) {
    const auto data = writeData(command, cells, prompt);
    if (!data)
        return std::nullopt;
    CommandIoFrame write;
    write.frame = {WriteLetter, static_cast<std::uint8_t>(data->size() + 2), channel, node};
    write.frame.insert(write.frame.end(), data->begin(), data->end());
    write.frame.push_back(linkChecksum(write.frame));
    write.expectedAnswer = {WriteLetter, 0x01, channel};
    // Command 19 is acknowledged with three bytes, the others with the letter once more.
    if (command != 19)
        write.expectedAnswer.push_back(WriteLetter);
    return write;
}

std::vector<std::uint8_t> readRequestFrame(std::uint8_t channel, std::uint8_t node) {
    std::vector<std::uint8_t> frame{0x07, 0x02, channel, node};
    frame.push_back(linkChecksum(frame));
    return frame;
}

std::vector<std::uint8_t> readRequestTunnelFrame(std::uint8_t channel, std::uint8_t node) {
    return tunnelFrame(0x0000, 0x11, readRequestFrame(channel, node));
}

} // namespace korvan
