#include "CommandTable.h"
#include "Commands.h"
#include "ExitCode.h"

namespace korvan::cli {

int runNew(CliContext&) { return ExitFailure; }
int runShow(CliContext&) { return ExitFailure; }

} // namespace korvan::cli
