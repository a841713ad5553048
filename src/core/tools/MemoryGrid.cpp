#include "tools/MemoryGrid.h"

#include "base/HexByteText.h"

#include <algorithm>
#include <cstdio>

namespace korvan {
namespace {

bool isUpperHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

std::uint8_t digitValue(char c) {
    return static_cast<std::uint8_t>(c <= '9' ? c - '0' : c - 'A' + 10);
}

std::string byteText(std::uint8_t value) {
    constexpr std::string_view digits = "0123456789ABCDEF";
    return {digits[value >> 4], digits[value & 0x0F]};
}

} // namespace

bool isByteCellText(std::string_view text) {
    return text.size() == 2 && isUpperHexDigit(text[0]) && isUpperHexDigit(text[1]);
}

MemoryGrid::MemoryGrid(MemoryArea area) : area_(area), rows_(area.rows) {}

std::string MemoryGrid::rowAddressText(std::size_t row) const {
    char text[16];
    std::snprintf(text, sizeof text, "%4.4d", static_cast<int>(area_.firstAddress + memoryRowBytes * row));
    return text;
}

const std::string& MemoryGrid::cell(std::size_t row, std::size_t column) const {
    static const std::string none;
    if (row >= rows_.size() || column >= memoryRowBytes)
        return none;
    return rows_[row][column];
}

bool MemoryGrid::beyondArea(std::size_t row, std::size_t column) const {
    return area_.firstAddress + memoryRowBytes * row + column > area_.lastAddress;
}

void MemoryGrid::clear() {
    for (MemoryRow& row : rows_)
        row.fill({});
}

std::size_t MemoryGrid::blockRow(std::size_t topRow) const {
    const std::size_t last = rows_.size() > memoryBlockRows ? rows_.size() - memoryBlockRows : 0;
    return std::min(topRow, last);
}

std::uint16_t MemoryGrid::blockAddress(std::size_t topRow) const {
    return static_cast<std::uint16_t>(area_.firstAddress + memoryRowBytes * blockRow(topRow));
}

std::pair<std::size_t, std::size_t> MemoryGrid::show(const MemoryBlock& block) {
    if (block.address < area_.firstAddress)
        return {0, 0};
    const std::size_t first = (block.address - area_.firstAddress) / memoryRowBytes;
    std::size_t end = first;
    for (std::size_t i = 0; i < block.data.size(); ++i) {
        const std::size_t row = first + i / memoryRowBytes;
        const std::size_t column = i % memoryRowBytes;
        if (row >= rows_.size() || beyondArea(row, column))
            break;
        rows_[row][column] = byteText(block.data[i]);
        end = row + 1;
    }
    return {first, end};
}

bool MemoryGrid::edit(std::size_t row, std::size_t column, std::string_view text) {
    const std::string upper = upperCased(text);
    if (row >= rows_.size() || column >= memoryRowBytes || !isByteCellText(upper))
        return false;
    rows_[row][column] = upper;
    return true;
}

Bytes MemoryGrid::sendBytes(std::size_t topRow) const {
    Bytes bytes;
    bytes.reserve(memoryBlock);
    const std::size_t first = blockRow(topRow);
    for (std::size_t i = 0; i < memoryBlock; ++i) {
        const std::string& text = cell(first + i / memoryRowBytes, i % memoryRowBytes);
        bytes.push_back(isByteCellText(text)
                            ? static_cast<std::uint8_t>(digitValue(text[0]) << 4 | digitValue(text[1]))
                            : std::uint8_t{0});
    }
    return bytes;
}

void MemoryGrid::setRows(const std::vector<MemoryRow>& rows) {
    clear();
    std::copy_n(rows.begin(), std::min(rows.size(), rows_.size()), rows_.begin());
}

} // namespace korvan
