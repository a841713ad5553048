#pragma once

#include "tools/MemoryGrid.h"

#include <optional>
#include <string>
#include <string_view>

namespace korvan {

class Prompt;

// The memory display's ".data" file: one line per grid row (188 for the input area, 125 for
// the output area), each of 16 fields followed by one space, a field being the cell's text or
// "NO" for an empty cell, and each line ending in 0D 0D 0A.
inline constexpr std::string_view memoryDataExtension = "data";
inline constexpr std::string_view memoryDataFilter = "*.data";

[[nodiscard]] std::string memoryDataText(const MemoryGrid& grid);

// A file's rows, or what is wrong with it (a line number counts from 1).
struct MemoryDataParse {
    std::vector<MemoryRow> rows;
    std::string error; // empty when the text is a grid of at most rowLimit rows
};
// Reads the text line by line into rows 0, 1, ...: the texts each followed by a space go to
// the columns in order, "NO" giving an empty cell. A file is refused as a whole when it holds
// more lines than the grid has rows or a line holds more than 16 fields, when a field is not
// a byte (two hexadecimal digits, either case) or "NO", or when a line carries text after its
// last space (a byte that would silently be lost). Lines it lacks leave their rows empty.
[[nodiscard]] MemoryDataParse parseMemoryData(std::string_view text, std::size_t rowLimit);

// Save: the grid's text goes to a new file beside `path` and replaces it only once complete
// (a symbolic link is kept, a failed save leaves the old file as it was). False after the
// reason has been shown.
bool saveMemoryData(const std::string& path, const MemoryGrid& grid, Prompt& prompt);
// Load: the grid is refilled from the file. A file that cannot be read or is refused shows
// why and leaves the grid as it was; false then.
bool loadMemoryData(const std::string& path, MemoryGrid& grid, Prompt& prompt);

} // namespace korvan
