#pragma once

#include <vector>

namespace korvan {

// One use of a gateway memory by a command: a start address and a length in bytes, both as
// the decimal values of the command's items (a length may read negative from bad text).
struct MemoryRange {
    int start = 0;
    int length = 0;

    friend bool operator==(const MemoryRange&, const MemoryRange&) = default;
};

// The memory uses of every command of a project, as the download pre-check collects them.
struct MappingLists {
    std::vector<MemoryRange> send;
    std::vector<MemoryRange> receive;
};

} // namespace korvan
