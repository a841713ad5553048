#pragma once

#include <optional>
#include <string>

namespace korvan {

class CProductTarn;
class Prompt;

// Tool / Export Excel: asks for a workbook name (.xlsx) and writes the project's
// documentation workbook there. Answers the path written, or nothing when cancelled or
// refused (with the message shown).
std::optional<std::string> exportSpreadsheet(const CProductTarn& product, Prompt& prompt);

// The export to a given path. A target that cannot be written is refused before anything is
// written; the workbook is written beside it and moved over it only when complete.
bool exportSpreadsheetTo(const CProductTarn& product, const std::string& path, Prompt& prompt);

} // namespace korvan
