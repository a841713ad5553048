#include "MappingOverlaps.h"

#include "mapping/ConflictCheck.h"
#include "mapping/MappingCollector.h"
#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace korvan::cli {
namespace {

struct LabelledRange {
    std::string owner;
    MemoryRange range;
};

std::string rangeText(const MemoryRange& range) {
    if (range.length <= 0)
        return std::to_string(range.start) + " (length " + std::to_string(range.length) + ")";
    return std::to_string(range.start) + "-" +
           std::to_string(static_cast<long long>(range.start) + range.length - 1);
}

void collectLabelled(const CProductTarn& product, std::vector<LabelledRange>& send,
                     std::vector<LabelledRange>& receive) {
    for (const CHartbus* channel : product.channels()) {
        for (const COrlaNode* node : channel->currentNodes()) {
            for (const COrlaCommand* command : node->commands()) {
                MappingLists lists;
                collectCommandMapping(*command, lists);
                const std::string owner =
                    channel->busName() + " " + node->nodeName() + " " + command->commandName();
                for (const MemoryRange& range : lists.send)
                    send.push_back({owner, range});
                for (std::size_t i = 0; i < lists.receive.size(); ++i)
                    receive.push_back({lists.receive.size() > 1 || command->isAdvanced()
                                           ? owner + " segment " + std::to_string(i + 1)
                                           : owner,
                                       lists.receive[i]});
            }
        }
    }
}

// Counting stops here: a project with every command at one address overlaps everywhere.
constexpr std::size_t countLimit = 1000;

// Sorted by start, a range can only overlap those after it that start before its end (or at
// its start); each such pair is judged by the pre-check's own rule.
void describe(const char* memory, std::vector<LabelledRange> ranges, std::vector<std::string>& lines,
              std::size_t limit, std::size_t& leftOut) {
    std::stable_sort(ranges.begin(), ranges.end(), [](const LabelledRange& a, const LabelledRange& b) {
        return a.range.start < b.range.start;
    });
    for (std::size_t i = 0; i < ranges.size() && leftOut < countLimit; ++i) {
        const MemoryRange& first = ranges[i].range;
        const std::int64_t reach =
            std::max<std::int64_t>(static_cast<std::int64_t>(first.start) + first.length,
                                   static_cast<std::int64_t>(first.start) + 1);
        for (std::size_t j = i + 1;
             j < ranges.size() && ranges[j].range.start < reach && leftOut < countLimit; ++j) {
            const std::array pair{first, ranges[j].range};
            if (!rangesOverlapPairwise(pair))
                continue;
            if (lines.size() >= limit) {
                ++leftOut;
                continue;
            }
            lines.push_back(std::string(memory) + " memory " + rangeText(first) + " of " + ranges[i].owner +
                            " overlaps " + rangeText(ranges[j].range) + " of " + ranges[j].owner);
        }
    }
}

} // namespace

std::vector<std::string> describeMappingOverlaps(const CProductTarn& product, std::size_t limit) {
    std::vector<LabelledRange> send;
    std::vector<LabelledRange> receive;
    collectLabelled(product, send, receive);
    std::vector<std::string> lines;
    std::size_t leftOut = 0;
    describe("send", send, lines, limit, leftOut);
    describe("receive", receive, lines, limit, leftOut);
    if (leftOut > 0)
        lines.push_back("... and " + std::string(leftOut >= countLimit ? "at least " : "") +
                        std::to_string(leftOut) + " more overlap" + (leftOut == 1 ? "" : "s") +
                        " ('korvanctl automap' lays the addresses out)");
    else if (!lines.empty())
        lines.push_back("'korvanctl automap' lays the addresses out without overlaps");
    return lines;
}

} // namespace korvan::cli
