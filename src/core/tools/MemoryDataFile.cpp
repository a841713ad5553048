#include "tools/MemoryDataFile.h"

#include "base/Decimal.h"
#include "base/HexByteText.h"
#include "base/Prompt.h"
#include "os/FileSystem.h"

namespace korvan {
namespace {

constexpr std::string_view emptyField = "NO";
constexpr std::string_view lineEnd = "\r\r\n";
// Far above the 188 lines of 51 bytes a grid's file holds.
constexpr std::size_t largestFile = 1024 * 1024;

std::string quoted(const std::string& path) {
    return "\"" + path + "\"";
}

std::string lineError(std::size_t line, std::string_view what) {
    return "Line " + decimalText(static_cast<int>(line)) + " " + std::string(what);
}

// One line's fields; the error names what is wrong with it.
std::string readLine(std::string_view line, std::size_t number, MemoryRow& row) {
    std::size_t column = 0;
    std::size_t start = 0;
    for (std::size_t space = line.find(' '); space != std::string_view::npos;
         start = space + 1, space = line.find(' ', start)) {
        const std::string field = upperCased(line.substr(start, space - start));
        if (column == memoryRowBytes)
            return lineError(number, "holds more than 16 bytes.");
        if (field == emptyField)
            row[column].clear();
        else if (isByteCellText(field))
            row[column] = field;
        else
            return lineError(number, "holds \"" + std::string(line.substr(start, space - start)) +
                                         "\", which is neither a byte of two hexadecimal digits nor NO.");
        ++column;
    }
    if (line.substr(start).find_first_not_of('\r') != std::string_view::npos)
        return lineError(number, "ends in \"" + std::string(line.substr(start)) +
                                     "\" without the space that follows every byte.");
    return {};
}

} // namespace

std::string memoryDataText(const MemoryGrid& grid) {
    std::string text;
    text.reserve(grid.rowCount() * (memoryRowBytes * 3 + lineEnd.size()));
    for (const MemoryRow& row : grid.rows()) {
        for (const std::string& cell : row) {
            text += cell.empty() ? emptyField : std::string_view(cell);
            text += ' ';
        }
        text += lineEnd;
    }
    return text;
}

MemoryDataParse parseMemoryData(std::string_view text, std::size_t rowLimit) {
    MemoryDataParse parse;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        const std::string_view line =
            text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        start = end == std::string_view::npos ? text.size() : end + 1;
        if (parse.rows.size() == rowLimit) {
            parse.error = "The file holds more than " + decimalText(static_cast<int>(rowLimit)) +
                          " lines, more than the grid has rows.";
            break;
        }
        MemoryRow row;
        parse.error = readLine(line, parse.rows.size() + 1, row);
        if (!parse.error.empty())
            break;
        parse.rows.push_back(std::move(row));
    }
    if (!parse.error.empty())
        parse.rows.clear();
    return parse;
}

bool saveMemoryData(const std::string& path, const MemoryGrid& grid, Prompt& prompt) {
    const std::string reason = os::replaceFileAtomically(path, memoryDataText(grid));
    if (reason.empty())
        return true;
    prompt.message("The memory data could not be saved to " + quoted(path) + ": " + reason);
    return false;
}

bool loadMemoryData(const std::string& path, MemoryGrid& grid, Prompt& prompt) {
    const os::FileContents contents = os::readWholeFile(path, largestFile);
    if (!contents.error.empty()) {
        prompt.message("The file " + quoted(path) + " could not be read: " + contents.error +
                       "\r\nThe grid is unchanged.");
        return false;
    }
    const MemoryDataParse parse = parseMemoryData(contents.bytes, grid.rowCount());
    if (!parse.error.empty()) {
        prompt.message("The file " + quoted(path) + " is not memory data of this grid. " + parse.error +
                       "\r\nThe grid is unchanged.");
        return false;
    }
    grid.setRows(parse.rows);
    return true;
}

} // namespace korvan
