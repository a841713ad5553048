#pragma once

#include "tools/MemoryExchange.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace korvan {

// One area of the gateway's data memory as the memory display shows it: rows of 16 byte
// cells, each row starting at the area's first address + 16 × its index.
struct MemoryArea {
    std::uint16_t firstAddress = 0;
    std::size_t rows = 0;
    std::uint16_t lastAddress = 0;
};
inline constexpr MemoryArea inputMemoryArea{0, 188, 2999};     // what the HART devices answered
inline constexpr MemoryArea outputMemoryArea{3000, 125, 4999}; // what the gateway sends
inline constexpr std::size_t memoryRowBytes = 16;
// A read or a Send covers the four rows from the top one on screen.
inline constexpr std::size_t memoryBlockRows = memoryBlock / memoryRowBytes;

// A row's cells: empty, or two upper-case hexadecimal digits.
using MemoryRow = std::array<std::string, memoryRowBytes>;

class MemoryGrid {
public:
    explicit MemoryGrid(MemoryArea area);

    [[nodiscard]] const MemoryArea& area() const { return area_; }
    [[nodiscard]] std::size_t rowCount() const { return rows_.size(); }
    [[nodiscard]] const std::vector<MemoryRow>& rows() const { return rows_; }
    // The row's start address as four decimal digits ("0016", "3000").
    [[nodiscard]] std::string rowAddressText(std::size_t row) const;
    // Byte column 0-15 of a row; empty outside the grid.
    [[nodiscard]] const std::string& cell(std::size_t row, std::size_t column) const;
    // The cells past the area's last address (the second half of the input area's last row):
    // never filled, shown greyed.
    [[nodiscard]] bool beyondArea(std::size_t row, std::size_t column) const;

    // Every cell empty.
    void clear();
    // The rows a read or a Send covers when `topRow` is the top row on screen: four rows that
    // stay inside the area, so that no exchange reaches past its last address.
    [[nodiscard]] std::size_t blockRow(std::size_t topRow) const;
    [[nodiscard]] std::uint16_t blockAddress(std::size_t topRow) const;

    // Puts a read reply's bytes into their rows as two upper-case digits: byte i goes to row
    // (reply address − first address) / 16 + i / 16, column i % 16. Bytes past the area's last
    // address or outside the grid are left out. Answers the first and one past the last row
    // changed (equal when none).
    std::pair<std::size_t, std::size_t> show(const MemoryBlock& block);
    // An edited cell: its text upper-cased becomes the cell's when it is exactly two
    // hexadecimal digits; otherwise the cell keeps its text and the answer is false.
    bool edit(std::size_t row, std::size_t column, std::string_view text);
    // What Send writes: the 64 bytes of the four rows from blockRow(topRow), each cell's two
    // upper-case digits, and 00 for any other cell (an empty one too).
    [[nodiscard]] Bytes sendBytes(std::size_t topRow) const;
    // A loaded file's rows replace the grid's; rows it lacks are empty.
    void setRows(const std::vector<MemoryRow>& rows);

private:
    MemoryArea area_;
    std::vector<MemoryRow> rows_;
};

// Whether the text is exactly two upper-case hexadecimal digits.
[[nodiscard]] bool isByteCellText(std::string_view text);

} // namespace korvan
