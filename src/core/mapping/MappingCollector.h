#pragma once

#include "mapping/MemoryRange.h"

namespace korvan {

class CProductTarn;
class COrlaCommand;

// The collecting run of the mapping traversal: for every HART channel, the nodes of its
// current network mode and their commands in order, nothing is written; each command with
// items 2, 4, 6 and 8 gives its send pair, and its receive pair (Basic) or one pair per
// segment (Advanced).
[[nodiscard]] MappingLists collectMappings(const CProductTarn& product);

// One command's part of the collecting run.
void collectCommandMapping(const COrlaCommand& command, MappingLists& lists);

} // namespace korvan
