#include "CommandTable.h"
#include "Commands.h"
#include "ExitCode.h"
#include "ProjectListing.h"
#include "ProjectLoading.h"
#include "StderrPrompt.h"
#include "app/AppState.h"
#include "app/StartSequence.h"
#include "model/CProductTarn.h"
#include "os/FileSystem.h"

#include <ostream>

namespace korvan::cli {
namespace {

// A korvanctl copied away from its files still writes the project, with the defaults, but
// says where it looked for the template.
void reportTemplateNotUsed(CliContext& context, const std::string& name) {
    const std::string folder = os::programDirectory().empty() ? "/" : os::programDirectory();
    context.err << "korvanctl: "
                << (os::fileExists(os::joinPath(folder, name))
                        ? "the template " + name + " in " + folder + " cannot be used"
                        : "no template " + name + " in " + folder)
                << ": the project has the defaults\n";
}

} // namespace

int runNew(CliContext& context) {
    const CommandArguments arguments(context.invocation.arguments, {"-o"}, {"--force"});
    arguments.expectPositional(0);
    const std::string output = arguments.required("-o", "FILE");
    const GatewayModel model = context.requireModel();
    if (os::fileExists(output) && !arguments.flag("--force")) {
        context.note("'" + output + "' exists; give --force to replace it");
        return ExitFailure;
    }
    AppState state;
    CProductTarn product;
    startProduct(state, product, model);
    const std::string templateName(templateFileName(state.model));
    if (!loadModelTemplate(product, state, context.prompt, programFile(templateName)))
        reportTemplateNotUsed(context, templateName);
    return saveProjectFile(context, product, output);
}

int runShow(CliContext& context) {
    const CommandArguments arguments(context.invocation.arguments, {}, {});
    arguments.expectPositional(1, "FILE");
    AppState state;
    CProductTarn product;
    if (!openProjectFile(context, state, product, arguments.positional()[0]))
        return ExitBadProject;
    printProjectListing(product, context.out);
    return ExitOk;
}

} // namespace korvan::cli
