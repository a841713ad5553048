#include "mapping/AutoMapping.h"

#include "base/Decimal.h"
#include "base/Prompt.h"
#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"
#include "model/CommandItems.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace korvan {
namespace {

using namespace command_item;

// Lengths read from a file may be huge or negative; the counters saturate rather than wrap.
int advance(int counter, int length) {
    const std::int64_t sum = static_cast<std::int64_t>(counter) + length;
    return static_cast<int>(
        std::clamp<std::int64_t>(sum, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

int valueOf(const COrlaItem* item) {
    return item ? decimalValue(item->value()) : 0;
}

// Only items the command really has are written: a short item list must not make a write
// land on its last item.
void writeValue(COrlaItem* item, int value) {
    if (item != nullptr)
        item->setValue(decimalText(value));
}

int halfDown(int value) {
    return static_cast<int>((static_cast<std::int64_t>(value) - (value < 0 ? 1 : 0)) / 2);
}
int halfUp(int value) {
    return static_cast<int>((static_cast<std::int64_t>(value) + (value > 0 ? 1 : 0)) / 2);
}

void writeDerivedItems(const COrlaCommand& command) {
    const auto& items = command.items();
    writeValue(items.exactlyAt(SendRegisterStart), halfDown(valueOf(items.exactlyAt(SendMemoryStart))));
    writeValue(items.exactlyAt(SendLengthWords), halfUp(valueOf(items.exactlyAt(SendLengthBytes))));
    writeValue(items.exactlyAt(ReceiveRegisterStart), halfDown(valueOf(items.exactlyAt(ReceiveMemoryStart))));
    writeValue(items.exactlyAt(ReceiveLengthWords), halfUp(valueOf(items.exactlyAt(ReceiveLengthBytes))));
}

void mapSegments(const COrlaCommand& command, MappingCounters& counters) {
    const int count = command.segmentCount();
    for (int i = 0; i < count; ++i) {
        COrlaItem* segment = command.segmentRecord(static_cast<std::size_t>(i));
        if (segment == nullptr)
            return;
        segment->setSegmentAddress(decimalText(counters.nextReceive));
        counters.nextReceive = advance(counters.nextReceive, decimalValue(segment->segmentLength()));
    }
}

} // namespace

void mapAddresses(COrlaCommand& command, MappingCounters& counters, Prompt& prompt) {
    const auto& items = command.items();
    writeValue(items.exactlyAt(SendMemoryStart), counters.nextSend);
    writeValue(items.exactlyAt(ReceiveMemoryStart), counters.nextReceive);
    writeDerivedItems(command);
    const COrlaItem* sendLength = items.exactlyAt(SendLengthBytes);
    const COrlaItem* receiveLength = items.exactlyAt(ReceiveLengthBytes);
    if (sendLength == nullptr) {
        prompt.message("Send data length is empty!");
        return;
    }
    if (receiveLength == nullptr) {
        prompt.message("Receive data length is empty!");
        return;
    }
    if (command.isAdvanced())
        mapSegments(command, counters);
    else
        counters.nextReceive = advance(counters.nextReceive, valueOf(receiveLength));
    counters.nextSend = advance(counters.nextSend, valueOf(sendLength));
}

void mapCommands(COrlaNode& node, MappingCounters& counters, Prompt& prompt) {
    for (COrlaCommand* command : node.commands())
        if (command != nullptr)
            mapAddresses(*command, counters, prompt);
}

bool mapChannel(CHartbus& channel, MappingCounters& counters, Prompt& prompt) {
    for (COrlaNode* node : channel.currentNodes())
        if (node != nullptr)
            mapCommands(*node, counters, prompt);
    return channel.checkMemoryBounds(counters.nextSend, counters.nextReceive, prompt);
}

bool autoMapAddresses(CProductTarn& product, Prompt& prompt) {
    MappingCounters counters;
    if (prompt.ask(QuestionId::AutoMapAddresses, "Whether auto mapping address?", Buttons::YesNoCancel) !=
        Answer::Yes)
        return false;
    for (CHartbus* channel : product.channels())
        if (channel != nullptr)
            static_cast<void>(mapChannel(*channel, counters, prompt));
    prompt.message("Automatic mapping is done!");
    return true;
}

} // namespace korvan
