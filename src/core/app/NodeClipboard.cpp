#include "app/NodeClipboard.h"

#include "base/Decimal.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/COrlaNode.h"
#include "model/CommandItems.h"

namespace korvan {
namespace {

using namespace command_item;

NodeClipboard::Command copyCommand(const COrlaCommand& command) {
    NodeClipboard::Command record;
    record.number = command.commandNumber();
    for (std::size_t i = 0; i < BasicItemCount; ++i)
        if (const COrlaItem* item = command.items().exactlyAt(i))
            record.basicValues.push_back(item->value());
    const COrlaItem* first = command.segmentRecord(0);
    record.segmentCount = first ? first->segmentEnableCount() : "0";
    for (int i = 0; i < command.segmentCount(); ++i) {
        const COrlaItem* segment = command.segmentRecord(static_cast<std::size_t>(i));
        if (segment == nullptr)
            break;
        record.segments.push_back({segment->segmentOffset(), segment->segmentEnabled() ? "1" : "0",
                                   segment->segmentSwap() ? "1" : "0", segment->segmentAddress(),
                                   segment->segmentLength()});
    }
    return record;
}

void restoreCommand(COrlaCommand& command, const NodeClipboard::Command& record) {
    for (std::size_t i = 0; i < record.basicValues.size(); ++i)
        if (COrlaItem* item = command.items().exactlyAt(i))
            item->setValue(record.basicValues[i]);
    if (COrlaItem* first = command.segmentRecord(0))
        first->setSegmentEnableCount(record.segmentCount);
    for (std::size_t i = 0; i < record.segments.size(); ++i) {
        COrlaItem* segment = command.segmentRecord(i);
        if (segment == nullptr)
            break;
        const NodeClipboard::Segment& s = record.segments[i];
        segment->setSegmentOffset(s.offset);
        segment->setSegmentEnabled(s.enabled == "1");
        segment->setSegmentSwap(s.swap == "1");
        segment->setSegmentAddress(s.address);
        segment->setSegmentLength(s.length);
    }
}

} // namespace

void NodeClipboard::copy(const COrlaNode& node, const std::string& label) {
    copiedNode_ = decimalValue(label.size() > 5 ? std::string_view(label).substr(5) : std::string_view());
    // The list grows with the node: a node of more than 100 commands is copied whole, and
    // the paste limit decides how many come back.
    commands_.clear();
    for (const COrlaCommand* command : node.commands())
        if (command != nullptr)
            commands_.push_back(copyCommand(*command));
}

int NodeClipboard::pasteInto(COrlaNode& node, ObjectRegistries& registries, int channelCommandTotal) const {
    int total = channelCommandTotal;
    int pasted = 0;
    for (const Command& record : commands_) {
        if (++total > PasteCommandLimit)
            break;
        restoreCommand(*node.addHartCommand(registries, record.number), record);
        ++pasted;
    }
    return pasted;
}

} // namespace korvan
