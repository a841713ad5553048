#include "mapping/MappingCollector.h"

#include "base/Decimal.h"
#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"
#include "model/CommandItems.h"

namespace korvan {

void collectCommandMapping(const COrlaCommand& command, MappingLists& lists) {
    const auto& items = command.items();
    const COrlaItem* sendStart = items.exactlyAt(command_item::SendMemoryStart);
    const COrlaItem* sendLength = items.exactlyAt(command_item::SendLengthBytes);
    const COrlaItem* receiveStart = items.exactlyAt(command_item::ReceiveMemoryStart);
    const COrlaItem* receiveLength = items.exactlyAt(command_item::ReceiveLengthBytes);
    if (!sendStart || !sendLength || !receiveStart || !receiveLength)
        return;
    lists.send.push_back({decimalValue(sendStart->value()), decimalValue(sendLength->value())});
    if (!command.isAdvanced()) {
        lists.receive.push_back({decimalValue(receiveStart->value()), decimalValue(receiveLength->value())});
        return;
    }
    const int count = command.segmentCount();
    for (int i = 0; i < count; ++i) {
        const COrlaItem* segment = command.segmentRecord(static_cast<std::size_t>(i));
        if (segment == nullptr)
            break;
        lists.receive.push_back(
            {decimalValue(segment->segmentAddress()), decimalValue(segment->segmentLength())});
    }
}

MappingLists collectMappings(const CProductTarn& product) {
    MappingLists lists;
    for (const CHartbus* channel : product.channels()) {
        if (channel == nullptr)
            continue;
        for (const COrlaNode* node : channel->currentNodes()) {
            if (node == nullptr)
                continue;
            for (const COrlaCommand* command : node->commands())
                if (command != nullptr)
                    collectCommandMapping(*command, lists);
        }
    }
    return lists;
}

} // namespace korvan
