#include "CommandTable.h"
#include "Commands.h"
#include "ExitCode.h"
#include "ProjectLoading.h"
#include "ProjectListing.h"
#include "StderrPrompt.h"

#include "app/AppState.h"
#include "app/StartSequence.h"
#include "model/CProductTarn.h"

#include <ostream>

namespace korvan::cli {

int runNew(CliContext& context) {
    const CommandArguments arguments(context.invocation.arguments, {"-o"}, {});
    arguments.expectPositional(0);
    const std::string output = arguments.required("-o", "FILE");
    AppState state;
    CProductTarn product;
    startProduct(state, product, context.requireModel());
    loadModelTemplate(product, state, context.prompt, programFile(templateFileName(state.model)));
    return saveProjectFile(context, product, output);
}

int runShow(CliContext& context) {
    const CommandArguments arguments(context.invocation.arguments, {}, {});
    arguments.expectPositional(1);
    AppState state;
    CProductTarn product;
    if (!openProjectFile(context, state, product, arguments.positional()[0]))
        return ExitBadProject;
    printProjectListing(product, context.out);
    return ExitOk;
}

} // namespace korvan::cli
