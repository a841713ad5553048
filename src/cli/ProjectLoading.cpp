#include "ProjectLoading.h"

#include "CommandTable.h"
#include "StderrPrompt.h"
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
    const LoadResult loaded = loadFromFile(product, state, context.prompt, path);
    if (!loaded.ok())
        context.prompt.message(loaded.message);
    return loaded.ok();
}

} // namespace korvan::cli
