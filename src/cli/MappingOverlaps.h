#pragma once

#include <string>
#include <vector>

namespace korvan {
class CProductTarn;
}

namespace korvan::cli {

// The overlaps behind "Memory mapping has conflicts!", one line each: which memory, which
// channel, device and command, and which addresses, by the download pre-check's own rule.
// At most `limit` lines; a last line counts the overlaps left out.
[[nodiscard]] std::vector<std::string> describeMappingOverlaps(const CProductTarn& product,
                                                               std::size_t limit);

} // namespace korvan::cli
