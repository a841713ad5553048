#include "hart/CommandSegments.h"

#include "base/Decimal.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"

namespace korvan {

std::vector<ResponseSegment> configuredSegments(const COrlaCommand& command) {
    std::vector<ResponseSegment> segments;
    if (!command.isAdvanced())
        return segments;
    for (int i = 0; i < command.segmentCount(); ++i) {
        const COrlaItem* record = command.segmentRecord(static_cast<std::size_t>(i));
        if (record != nullptr && record->segmentEnabled())
            segments.push_back({decimalValue(record->segmentOffset()), decimalValue(record->segmentLength()),
                                record->segmentSwap()});
    }
    return segments;
}

} // namespace korvan
