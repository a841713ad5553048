#pragma once

#include "app/AppState.h"
#include "app/ProjectLoad.h"
#include "model/CProductTarn.h"
#include "projectfile/ProjectFile.h"
#include "support/ScriptedPrompt.h"
#include "support/TempDir.h"

#include <memory>

namespace korvan::test {

// A started product of one model with its application state, a prompt and a folder.
struct Session {
    explicit Session(GatewayModel model) {
        state.model = model;
        product.build(model);
    }

    LoadResult load(const std::string& path) { return loadProject(product, state, prompt, path); }

    AppState state;
    CProductTarn product;
    ScriptedPrompt prompt;
};

} // namespace korvan::test
