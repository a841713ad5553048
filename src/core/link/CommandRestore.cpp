#include "link/CommandRestore.h"

#include "base/Decimal.h"
#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/COrlaNode.h"
#include "model/CommandItems.h"
#include "model/ObjectRegistries.h"

namespace korvan {
namespace {

COrlaNode* nodeFor(CHartbus& channel, ObjectRegistries& registries, std::uint32_t address) {
    // The project holds address 0 in the point-to-point list and every other address in the
    // multi-drop list, and a file reads back nothing else. A gateway that polls a device at
    // an address its mode's list cannot hold gets it in the other list: kept, and reported by
    // the upload, instead of saved where the next open drops it.
    const bool pointToPoint = address == 0;
    const PtrList<COrlaNode>& list = pointToPoint ? channel.pointToPointNodes() : channel.multiDropNodes();
    if (COrlaNode* found = COrlaBus::findNodeIn(list, address))
        return found;
    COrlaNode* node = registries.nodes().create();
    node->setNodeName(nodeNameFor(address));
    node->setAddress(address);
    COrlaItem* addressItem = CHartbus::createAddressItem(registries, address);
    addressItem->setValue(decimalText(address));
    addressItem->setSavedValue(addressItem->value());
    node->addItem(addressItem);
    if (pointToPoint)
        channel.appendPointToPointNode(node);
    else
        channel.appendMultiDropNode(node);
    return node;
}

} // namespace

COrlaCommand* restoreBasicCommand(CHartbus& channel, ObjectRegistries& registries,
                                  const CommandFields& record) {
    using namespace command_item;
    if (channel.mode() != PointToPointMode && channel.mode() != MultiDropMode)
        return nullptr;
    COrlaNode* node = nodeFor(channel, registries, record.slaveAddress);
    COrlaCommand* command = node->addHartCommand(registries, record.hartCommand);
    command->setLookupKey(record.sequence);
    command->setItemChoice(OutputMode, record.outputMode);
    command->setItemInt(SendMemoryStart, record.sendStart);
    command->setItemInt(SendRegisterStart, record.sendStart / 2);
    // A command that carries no request data has its send length fixed at 0, as the loader
    // fixes it: the gateway's length would not survive the next open.
    const int sendLength = carriesNoRequestData(record.hartCommand) ? 0 : record.sendLength;
    command->setItemInt(SendLengthBytes, sendLength);
    command->setItemInt(SendLengthWords, (sendLength + 1) / 2);
    command->setItemInt(ReceiveMemoryStart, record.receiveStart);
    command->setItemInt(ReceiveRegisterStart, record.receiveStart / 2);
    command->setItemInt(ReceiveLengthBytes, record.receiveLength);
    command->setItemInt(ReceiveLengthWords, (record.receiveLength + 1) / 2);
    command->setItemInt(CommandIndex, record.sequence);
    return command;
}

COrlaCommand* restoreAdvancedCommand(CHartbus& channel, ObjectRegistries& registries,
                                     const CommandFields& record, std::span<const SegmentRecord> segments) {
    COrlaCommand* command = restoreBasicCommand(channel, registries, record);
    if (command == nullptr)
        return nullptr;
    const std::size_t n = std::min(segments.size(), command_item::SegmentRecordCount);
    command->setItemChoice(command_item::ConfigurationMode, n > 0 ? 1 : 0);
    for (std::size_t k = 0; k < n; ++k) {
        COrlaItem* item = command->segmentRecord(k);
        if (item == nullptr)
            break;
        item->setSegmentEnabled(true);
        item->setSegmentSwap(segments[k].swap);
        item->setSegmentOffset(decimalText(segments[k].offset));
        item->setSegmentAddress(decimalText(segments[k].address));
        item->setSegmentLength(decimalText(segments[k].length));
        item->setSegmentEnableCount(decimalText(static_cast<std::int64_t>(n)));
    }
    if (n == 0)
        if (COrlaItem* first = command->segmentRecord(0))
            first->setSegmentLength("1");
    return command;
}

std::vector<std::string> misplacedNodes(const CHartbus& channel) {
    std::vector<std::string> messages;
    if (channel.mode() != PointToPointMode && channel.mode() != MultiDropMode)
        return messages;
    const bool pointToPoint = channel.isPointToPoint();
    const char* mode = pointToPoint ? "point-to-point" : "multi-drop";
    const char* otherMode = pointToPoint ? "multi-drop" : "point-to-point";
    for (const COrlaNode* node : pointToPoint ? channel.multiDropNodes() : channel.pointToPointNodes())
        messages.push_back(channel.busName() + " is " + mode + ", but the gateway polls " + node->nodeName() +
                           " at address " + decimalText(node->address()) +
                           ": the node and its commands are kept in the " + otherMode +
                           " list, which is downloaded only in " + otherMode + " mode.");
    return messages;
}

} // namespace korvan
