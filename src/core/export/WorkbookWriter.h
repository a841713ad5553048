#pragma once

#include "export/WorkbookContent.h"

#include <string>
#include <vector>

namespace korvan {

// Writes the sheets as an .xlsx workbook at the path, every cell as text, header rows bold
// and shaded, columns sized to their texts. Answers an empty text, else the reason.
[[nodiscard]] std::string writeWorkbook(const std::vector<SheetContent>& sheets, const std::string& path);

} // namespace korvan
