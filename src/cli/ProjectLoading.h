#pragma once

#include <string>

namespace korvan {
class CProductTarn;
struct AppState;
} // namespace korvan

namespace korvan::cli {

struct CliContext;

// Starts a product and opens the project file into it, as the desktop program opens one.
// The model is --model, or else the one the file is for (a usage error when the file does
// not tell). False after the program's message ("File not exisit", the protocol mismatch,
// or why the file cannot be read) and korvanctl's line of context; also when the file holds
// channels the model does not have, which would be lost at the next save.
bool openProjectFile(CliContext& context, AppState& state, CProductTarn& product, const std::string& path);

// Writes the project file safely; the exit status, after the save's message on failure.
int saveProjectFile(CliContext& context, const CProductTarn& product, const std::string& path);

} // namespace korvan::cli
