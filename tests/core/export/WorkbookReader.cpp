#include "WorkbookReader.h"

#include <cstdio>
#include <sstream>

namespace korvan::test {
namespace {

// Prints "S<TAB>name" per sheet and "C<TAB>sheet index<TAB>row<TAB>column<TAB>type<TAB>value"
// per cell, with tabs and line breaks in values escaped.
constexpr const char* script = R"PY(
import sys, openpyxl
book = openpyxl.load_workbook(sys.argv[1])
for i, sheet in enumerate(book.worksheets):
    print("S\t" + sheet.title)
    for row in sheet.iter_rows():
        for cell in row:
            if cell.value is None:
                continue
            text = str(cell.value).replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n").replace("\r", "\\r")
            print("C\t%d\t%d\t%d\t%s\t%s" % (i, cell.row, cell.column, cell.data_type, text))
)PY";

std::string unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            const char next = text[++i];
            out += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace

std::string ReadWorkbook::at(const std::string& sheet, int row, int column) const {
    const auto found = cells.find(sheet);
    if (found == cells.end())
        return {};
    const auto cell = found->second.find({row, column});
    return cell == found->second.end() ? std::string() : cell->second;
}

std::optional<ReadWorkbook> readWorkbook(const std::string& path) {
    const std::string scriptPath = path + ".read.py";
    if (FILE* file = std::fopen(scriptPath.c_str(), "w")) {
        std::fputs(script, file);
        std::fclose(file);
    } else {
        return std::nullopt;
    }
    const std::string command = "/usr/bin/python3 '" + scriptPath + "' '" + path + "' 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return std::nullopt;
    std::string output;
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        output += buffer;
    const int status = ::pclose(pipe);
    std::remove(scriptPath.c_str());
    if (status != 0)
        return std::nullopt;

    ReadWorkbook book;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        std::vector<std::string> fields;
        std::istringstream parts(line);
        std::string field;
        while (std::getline(parts, field, '\t'))
            fields.push_back(field);
        if (fields.size() == 2 && fields[0] == "S") {
            book.sheetNames.push_back(fields[1]);
        } else if (fields.size() >= 5 && fields[0] == "C") {
            const std::string& sheet = book.sheetNames.at(std::stoul(fields[1]));
            book.allText = book.allText && fields[4] == "s";
            book.cells[sheet][{std::stoi(fields[2]), std::stoi(fields[3])}] =
                fields.size() > 5 ? unescape(fields[5]) : "";
        }
    }
    return book;
}

} // namespace korvan::test
