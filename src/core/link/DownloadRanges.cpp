#include "link/DownloadRanges.h"

#include "base/Decimal.h"
#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"
#include "model/CProfilebus.h"
#include "model/CommandItems.h"

#include <cstdint>

namespace korvan {
namespace {

// The widths of the frame fields: one byte, two bytes, and the segment record's offset,
// which shares its byte with the record mark (bit 7) and the swap flag (bit 6).
struct FieldRange {
    std::int64_t low;
    std::int64_t high;
};
constexpr FieldRange byteField{0, 0xFF};
constexpr FieldRange wordField{0, 0xFFFF};
constexpr FieldRange segmentOffsetField{0, 0x3F};

std::optional<std::string> outOfRange(const std::string& where, std::string_view what, std::int64_t value,
                                      FieldRange range) {
    if (value >= range.low && value <= range.high)
        return std::nullopt;
    return where + ": " + std::string(what) + " " + decimalText(value) + " does not fit the download (" +
           decimalText(range.low) + "~" + decimalText(range.high) + ").";
}

// An item the frame takes its value from; an item that is not there is sent as the
// download's own filler, which always fits.
std::optional<std::string> checkItem(const std::string& where, const COrlaItem* item, FieldRange range) {
    if (item == nullptr)
        return std::nullopt;
    return outOfRange(where, item->name(), decimalValue(item->value()), range);
}

std::optional<std::string> checkNetworkSide(const CProfilebus& bus) {
    // Only the Modbus slave mode sends a typed number: its slave address.
    if (bus.mode() != ModbusSlaveMode)
        return std::nullopt;
    const PtrList<COrlaItem>& list = bus.currentItems();
    return checkItem(bus.busName(), list.at(slave_item::SlaveAddress), byteField);
}

std::optional<std::string> checkChannel(const CHartbus& channel) {
    using namespace channel_item;
    const std::string where = channel.busName();
    for (const auto& [position, range] :
         {std::pair{DelayBetweenPolls, wordField}, std::pair{ResponseTimeout, wordField},
          std::pair{TimeoutCount, byteField}})
        if (auto refused = checkItem(where, channel.itemAt(position), range))
            return refused;
    return std::nullopt;
}

std::optional<std::string> checkSegments(const std::string& where, const COrlaCommand& command) {
    for (int i = 0; i < command.segmentCount(); ++i) {
        const COrlaItem* record = command.segmentRecord(static_cast<std::size_t>(i));
        if (record == nullptr)
            break;
        const std::string segment = "segment " + decimalText(i + 1);
        if (auto refused = outOfRange(where, segment + " offset", decimalValue(record->segmentOffset()),
                                      segmentOffsetField))
            return refused;
        if (auto refused =
                outOfRange(where, segment + " length", decimalValue(record->segmentLength()), byteField))
            return refused;
        if (auto refused =
                outOfRange(where, segment + " address", decimalValue(record->segmentAddress()), wordField))
            return refused;
    }
    return std::nullopt;
}

std::optional<std::string> checkCommand(const std::string& nodeWhere, const COrlaCommand& command) {
    using namespace command_item;
    const std::string where = nodeWhere + ", " + command.commandName();
    if (auto refused = outOfRange(where, "HART command number", command.commandNumber(), byteField))
        return refused;
    const bool advanced = command.itemChoiceIndex(ConfigurationMode) == 1;
    if (auto refused = checkItem(where, command.itemAt(SendMemoryStart), wordField))
        return refused;
    if (auto refused = checkItem(where, command.itemAt(SendLengthBytes), byteField))
        return refused;
    // The Advanced form sends no receive range but the segments.
    if (advanced)
        return checkSegments(where, command);
    if (auto refused = checkItem(where, command.itemAt(ReceiveMemoryStart), wordField))
        return refused;
    return checkItem(where, command.itemAt(ReceiveLengthBytes), byteField);
}

const PtrList<COrlaNode>* downloadedNodes(const CHartbus& channel) {
    if (channel.mode() == PointToPointMode)
        return &channel.pointToPointNodes();
    if (channel.mode() == MultiDropMode)
        return &channel.multiDropNodes();
    return nullptr;
}

std::optional<std::string> checkChannelCommands(const CHartbus& channel) {
    const PtrList<COrlaNode>* nodes = downloadedNodes(channel);
    if (nodes == nullptr)
        return std::nullopt;
    for (const COrlaNode* node : *nodes) {
        const std::string where = channel.busName() + ", " + node->nodeName();
        if (auto refused = outOfRange(where, "node address", node->address(), byteField))
            return refused;
        for (const COrlaCommand* command : node->commands())
            if (auto refused = checkCommand(where, *command))
                return refused;
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> unsendableValue(const CProductTarn& product) {
    if (auto refused = checkNetworkSide(product.networkBus()))
        return refused;
    for (const CHartbus* channel : product.channels()) {
        if (auto refused = checkChannel(*channel))
            return refused;
        if (auto refused = checkChannelCommands(*channel))
            return refused;
    }
    return std::nullopt;
}

} // namespace korvan
