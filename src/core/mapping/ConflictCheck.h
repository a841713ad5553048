#pragma once

#include "mapping/MemoryRange.h"

#include <span>

namespace korvan {

class CProductTarn;

// The download pre-check: true when two commands' send ranges or two commands' receive
// ranges (segments included) overlap, so that the download must be refused.
[[nodiscard]] bool hasMappingConflict(const CProductTarn& product);

// The overlap rule over one memory's list: entries i and j conflict when
// start(i) <= start(j) < start(i) + length(i), except that at equal starts both lengths
// must be above 0. A zero-length use inside another range conflicts; one at the very start
// of another range does not. Answers in O(n log n).
[[nodiscard]] bool rangesOverlap(std::span<const MemoryRange> ranges);

// The same rule tried on every ordered pair: quadratic, kept as the reference the fast
// check is measured and tested against.
[[nodiscard]] bool rangesOverlapPairwise(std::span<const MemoryRange> ranges);

} // namespace korvan
