#pragma once

namespace korvan::cli {

// Exit statuses of korvanctl. An operation that ends with a result code of the shared table
// exits with that code instead.
enum ExitCode : int {
    ExitOk = 0,
    ExitFailure = 1,
    ExitMappingConflict = 11,
    ExitUsage = 64,
    ExitBadProject = 65,
};

} // namespace korvan::cli
