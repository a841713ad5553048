#pragma once

namespace korvan::cli {

struct CliContext;

// One function per korvanctl command; each answers the exit status.
int runNew(CliContext& context);
int runShow(CliContext& context);

} // namespace korvan::cli
