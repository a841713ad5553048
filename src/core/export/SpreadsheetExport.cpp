#include "export/SpreadsheetExport.h"

#include "base/Prompt.h"
#include "export/WorkbookContent.h"
#include "export/WorkbookWriter.h"
#include "os/FileProbe.h"

namespace korvan {

std::optional<std::string> exportSpreadsheet(const CProductTarn& product, Prompt& prompt) {
    const auto chosen = prompt.chooseSaveFile({"Config File(*.xlsx)", "xlsx", ""});
    if (!chosen || !exportSpreadsheetTo(product, *chosen, prompt))
        return std::nullopt;
    return chosen;
}

bool exportSpreadsheetTo(const CProductTarn& product, const std::string& path, Prompt& prompt) {
    const std::string refused = os::probeWritable(path);
    const std::string part = refused.empty() ? os::createFileBeside(path) : std::string();
    if (part.empty()) {
        prompt.message("Document export failed, reason: the file has been opened");
        return false;
    }
    std::string failure = writeWorkbook(buildWorkbookContent(product), part);
    if (!failure.empty())
        os::removeFile(part);
    else
        failure = os::moveFileOver(part, path);
    if (!failure.empty()) {
        prompt.message("Document export failed, reason: " + failure);
        return false;
    }
    return true;
}

} // namespace korvan
