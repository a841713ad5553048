#include "app/ProjectLoad.h"

#include "app/AppState.h"

namespace korvan {

LoadResult loadProject(CProductTarn& product, AppState& state, Prompt& prompt, const std::string& path) {
    LoadResult loaded = loadFromFile(product, prompt, path);
    if (loaded.linkKind)
        state.linkKind = *loaded.linkKind;
    if (loaded.serialDebugAllowed)
        state.serialDebugAllowed = *loaded.serialDebugAllowed;
    return loaded;
}

} // namespace korvan
