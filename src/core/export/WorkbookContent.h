#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace korvan {

class CProductTarn;

// One sheet of the exported workbook: its name, its text cells by (row, column) counted from
// 1, and which rows hold headers.
struct SheetContent {
    std::string name;
    std::map<std::pair<int, int>, std::string> cells;
    std::vector<int> headerRows;

    void set(int row, int column, std::string text) { cells[{row, column}] = std::move(text); }
};

// The eight sheets of the project's documentation workbook, in order: "Fieldbus",
// "Channel Configuration", "Channel 1" to "Channel 3" and their three advanced sheets.
// Every value is text. Sheets of channels the model lacks keep only their headers.
[[nodiscard]] std::vector<SheetContent> buildWorkbookContent(const CProductTarn& product);

// The byte range of a segment as the advanced sheets show it: "9", "9--11", or
// "Command Status" for the status entry at offset 63.
[[nodiscard]] std::string segmentByteRange(int offset, int length);

} // namespace korvan
