#include "export/WorkbookWriter.h"

#include <algorithm>
#include <map>
#include <xlsxwriter.h>

namespace korvan {
namespace {

constexpr double minimumWidth = 8.0;
constexpr double maximumWidth = 60.0;

struct Formats {
    lxw_format* body = nullptr;
    lxw_format* header = nullptr;
};

Formats makeFormats(lxw_workbook* workbook) {
    Formats formats{workbook_add_format(workbook), workbook_add_format(workbook)};
    for (lxw_format* format : {formats.body, formats.header}) {
        format_set_align(format, LXW_ALIGN_CENTER);
        format_set_align(format, LXW_ALIGN_VERTICAL_TOP);
    }
    format_set_bold(formats.header);
    format_set_bg_color(formats.header, 0xD9E1F2);
    format_set_border(formats.header, LXW_BORDER_THIN);
    return formats;
}

bool writeSheet(lxw_workbook* workbook, const SheetContent& content, const Formats& formats) {
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, content.name.c_str());
    if (sheet == nullptr)
        return false;
    std::map<int, double> widths;
    for (const auto& [position, text] : content.cells) {
        const auto [row, column] = position;
        const bool header =
            std::find(content.headerRows.begin(), content.headerRows.end(), row) != content.headerRows.end();
        if (worksheet_write_string(sheet, static_cast<lxw_row_t>(row - 1), static_cast<lxw_col_t>(column - 1),
                                   text.c_str(), header ? formats.header : formats.body) != LXW_NO_ERROR)
            return false;
        double& width = widths[column];
        width = std::max(width, static_cast<double>(text.size()) + 2.0);
    }
    for (const auto& [column, width] : widths) {
        const auto c = static_cast<lxw_col_t>(column - 1);
        worksheet_set_column(sheet, c, c, std::clamp(width, minimumWidth, maximumWidth), nullptr);
    }
    return true;
}

} // namespace

std::string writeWorkbook(const std::vector<SheetContent>& sheets, const std::string& path) {
    lxw_workbook* workbook = workbook_new(path.c_str());
    if (workbook == nullptr)
        return "the workbook cannot be created";
    const Formats formats = makeFormats(workbook);
    bool written = true;
    for (const SheetContent& sheet : sheets)
        written = written && writeSheet(workbook, sheet, formats);
    const lxw_error closed = workbook_close(workbook);
    if (!written)
        return "a sheet cannot be written";
    if (closed != LXW_NO_ERROR)
        return lxw_strerror(closed);
    return {};
}

} // namespace korvan
