#include "CommandTable.h"
#include "Commands.h"
#include "ExitCode.h"
#include "MappingOverlaps.h"
#include "ProjectLoading.h"
#include "StderrPrompt.h"
#include "app/AppState.h"
#include "base/ResultCode.h"
#include "export/SpreadsheetExport.h"
#include "link/DownloadRanges.h"
#include "link/LinkMessages.h"
#include "mapping/AutoMapping.h"
#include "mapping/ConflictCheck.h"
#include "model/CHartbus.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"

namespace korvan::cli {
namespace {

// Every node of every channel's current mode, as the download checks them first; the
// failing node is named after the program's message.
ResultCode validateNodes(const CliContext& context, const CProductTarn& product, const std::string& path) {
    for (const CHartbus* channel : product.channels())
        for (const COrlaNode* node : channel->currentNodes())
            if (const ResultCode code = node->validate(context.prompt); !succeeded(code)) {
                context.note("in " + channel->busName() + " " + node->nodeName() + " of '" + path + "'");
                return code;
            }
    return ResultCode::Success;
}

bool endsWith(const std::string& text, std::string_view end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

} // namespace

void noteMappingOverlaps(const CliContext& context, const CProductTarn& product) {
    for (const std::string& line : describeMappingOverlaps(product, 10))
        context.note(line);
}

int runCheck(CliContext& context) {
    const CommandArguments arguments(context.invocation.arguments, {}, {});
    arguments.expectPositional(1, "FILE");
    const std::string& path = arguments.positional()[0];
    AppState state;
    CProductTarn product;
    if (!openProjectFile(context, state, product, path))
        return ExitBadProject;
    if (const ResultCode code = validateNodes(context, product, path); !succeeded(code))
        return static_cast<int>(code);
    if (hasMappingConflict(product)) {
        context.prompt.message(link_text::mappingConflicts);
        noteMappingOverlaps(context, product);
        return ExitMappingConflict;
    }
    // The download refuses a value that its frame cannot carry; so does the check before it.
    if (const auto unsendable = unsendableValue(product)) {
        context.prompt.message(*unsendable);
        return toInt(ResultCode::OutOfRange);
    }
    return ExitOk;
}

int runAutomap(CliContext& context) {
    const CommandArguments arguments(context.invocation.arguments, {"-o"}, {});
    arguments.expectPositional(1, "FILE");
    const std::string& input = arguments.positional()[0];
    const std::string output = arguments.value("-o").value_or(input);
    AppState state;
    CProductTarn product;
    if (!openProjectFile(context, state, product, input))
        return ExitBadProject;
    context.prompt.setAnswer(Answer::Yes);
    static_cast<void>(autoMapAddresses(product, context.prompt));
    return saveProjectFile(context, product, output);
}

int runExport(CliContext& context) {
    const CommandArguments arguments(context.invocation.arguments, {"-o"}, {});
    arguments.expectPositional(1, "FILE");
    const std::string output = arguments.required("-o", "OUT.xlsx");
    AppState state;
    CProductTarn product;
    if (!openProjectFile(context, state, product, arguments.positional()[0]))
        return ExitBadProject;
    if (!endsWith(output, ".xlsx"))
        context.note("warning: '" + output +
                     "' does not end in .xlsx; it is written as an .xlsx workbook all the same");
    return exportSpreadsheetTo(product, output, context.prompt) ? ExitOk : ExitFailure;
}

} // namespace korvan::cli
