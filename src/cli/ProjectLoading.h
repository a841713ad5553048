#pragma once

#include <string>

namespace korvan {
class CProductTarn;
struct AppState;
} // namespace korvan

namespace korvan::cli {

struct CliContext;

// Starts a product of the command line's model and opens the project file into it, as the
// desktop program opens one; false after the program's message ("File not exisit", the
// protocol mismatch, or why the file cannot be read).
bool openProjectFile(CliContext& context, AppState& state, CProductTarn& product, const std::string& path);

// Writes the project file safely; the exit status, after the save's message on failure.
int saveProjectFile(CliContext& context, const CProductTarn& product, const std::string& path);

} // namespace korvan::cli
