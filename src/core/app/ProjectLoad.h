#pragma once

#include "projectfile/ProjectFile.h"

#include <string>

namespace korvan {

class CProductTarn;
class Prompt;
struct AppState;

// Loads a project or template file and applies what it says about the link to the
// application state (also when the file is refused for the other protocol).
[[nodiscard]] LoadResult loadProject(CProductTarn& product, AppState& state, Prompt& prompt,
                                     const std::string& path);

} // namespace korvan
