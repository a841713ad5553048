#include "ProjectLoading.h"

#include "CommandTable.h"
#include "ExitCode.h"
#include "StderrPrompt.h"
#include "app/ProjectLoad.h"
#include "app/StartSequence.h"
#include "os/FileSystem.h"
#include "projectfile/ProjectFile.h"

namespace korvan::cli {

bool openProjectFile(CliContext& context, AppState& state, CProductTarn& product, const std::string& path) {
    startProduct(state, product, context.requireModel());
    if (!os::fileExists(path)) {
        context.prompt.message("File not exisit");
        return false;
    }
    const LoadResult loaded = loadProject(product, state, context.prompt, path);
    if (!loaded.ok())
        context.prompt.message(loaded.message);
    return loaded.ok();
}

int saveProjectFile(CliContext& context, const CProductTarn& product, const std::string& path) {
    if (const SaveResult saved = saveToFile(product, path); !saved.ok) {
        context.prompt.message(saved.message);
        return ExitFailure;
    }
    return ExitOk;
}

} // namespace korvan::cli
