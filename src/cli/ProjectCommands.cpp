#include "CommandTable.h"
#include "Commands.h"
#include "ExitCode.h"
#include "ProjectListing.h"
#include "StderrPrompt.h"

#include "app/AppState.h"
#include "app/StartSequence.h"
#include "model/CProductTarn.h"
#include "os/FileSystem.h"
#include "projectfile/ProjectFile.h"

#include <ostream>

namespace korvan::cli {

int runNew(CliContext& context) {
    const CommandArguments arguments(context.invocation.arguments, {"-o"}, {});
    arguments.expectPositional(0);
    const auto output = arguments.value("-o");
    if (!output)
        throw UsageError{"new needs -o FILE"};
    AppState state;
    CProductTarn product;
    startProduct(state, product, context.requireModel());
    loadModelTemplate(product, state, context.prompt, programFile(templateFileName(state.model)));
    if (const SaveResult saved = saveToFile(product, *output); !saved.ok) {
        context.prompt.message(saved.message);
        return ExitFailure;
    }
    return ExitOk;
}

int runShow(CliContext& context) {
    const CommandArguments arguments(context.invocation.arguments, {}, {});
    arguments.expectPositional(1);
    const std::string& path = arguments.positional()[0];
    if (!os::fileExists(path)) {
        context.prompt.message("File not exisit");
        return ExitBadProject;
    }
    AppState state;
    CProductTarn product;
    startProduct(state, product, context.requireModel());
    if (const LoadResult loaded = loadFromFile(product, state, context.prompt, path);
        !loaded.ok()) {
        context.prompt.message(loaded.message);
        return ExitBadProject;
    }
    printProjectListing(product, context.out);
    return ExitOk;
}

} // namespace korvan::cli
