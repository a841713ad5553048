#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace korvan::test {

// A workbook as a real reader (openpyxl under /usr/bin/python3) sees it.
struct ReadWorkbook {
    std::vector<std::string> sheetNames;
    // sheet -> (row, column) -> text; every cell must come back as text.
    std::map<std::string, std::map<std::pair<int, int>, std::string>> cells;
    bool allText = true;

    [[nodiscard]] std::string at(const std::string& sheet, int row, int column) const;
};

// Nothing when the reader cannot open the file.
[[nodiscard]] std::optional<ReadWorkbook> readWorkbook(const std::string& path);

} // namespace korvan::test
