#include "mapping/ConflictCheck.h"

#include "mapping/MappingCollector.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

namespace korvan {
namespace {

// Ends are taken in 64 bits: a saturated start plus a length must not wrap.
std::int64_t endOf(const MemoryRange& range) {
    return static_cast<std::int64_t>(range.start) + range.length;
}

} // namespace

bool rangesOverlap(std::span<const MemoryRange> ranges) {
    std::vector<MemoryRange> sorted(ranges.begin(), ranges.end());
    std::sort(sorted.begin(), sorted.end(),
              [](const MemoryRange& a, const MemoryRange& b) { return a.start < b.start; });
    // Walk the groups of equal start. An entry conflicts with an earlier-starting range that
    // reaches past its start, whatever its own length; inside a group only two entries that
    // both hold bytes conflict.
    std::int64_t furthestEarlierEnd = std::numeric_limits<std::int64_t>::min();
    std::size_t groupBegin = 0;
    while (groupBegin < sorted.size()) {
        const int start = sorted[groupBegin].start;
        std::size_t groupEnd = groupBegin;
        int withBytes = 0;
        std::int64_t groupFurthestEnd = std::numeric_limits<std::int64_t>::min();
        while (groupEnd < sorted.size() && sorted[groupEnd].start == start) {
            if (sorted[groupEnd].length > 0)
                ++withBytes;
            groupFurthestEnd = std::max(groupFurthestEnd, endOf(sorted[groupEnd]));
            ++groupEnd;
        }
        if (furthestEarlierEnd > start || withBytes >= 2)
            return true;
        furthestEarlierEnd = std::max(furthestEarlierEnd, groupFurthestEnd);
        groupBegin = groupEnd;
    }
    return false;
}

bool rangesOverlapPairwise(std::span<const MemoryRange> ranges) {
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        for (std::size_t j = 0; j < ranges.size(); ++j) {
            if (i == j)
                continue;
            const MemoryRange& a = ranges[i];
            const MemoryRange& b = ranges[j];
            if (a.start <= b.start && b.start < endOf(a) && (a.start != b.start || b.length > 0))
                return true;
        }
    }
    return false;
}

bool hasMappingConflict(const CProductTarn& product) {
    const MappingLists lists = collectMappings(product);
    return rangesOverlap(lists.send) || rangesOverlap(lists.receive);
}

} // namespace korvan
