#include "ProjectListing.h"

#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"
#include "model/CommandItems.h"

#include <ostream>
#include <string>

namespace korvan::cli {
namespace {

void printItem(std::ostream& out, int depth, const COrlaItem& item) {
    out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << item.name() << " = " << item.value() << '\n';
}

void printSegments(std::ostream& out, const COrlaCommand& command) {
    const auto count = static_cast<std::size_t>(command.segmentCount());
    for (std::size_t i = 0; i < count; ++i) {
        const COrlaItem* record = command.segmentRecord(i);
        if (record == nullptr)
            break;
        out << "      Segment " << i + 1 << " = offset " << record->segmentOffset() << ", length "
            << record->segmentLength() << ", address " << record->segmentAddress() << ", swap "
            << (record->segmentSwap() ? "yes" : "no") << '\n';
    }
}

void printCommand(std::ostream& out, const COrlaCommand& command) {
    out << "    " << command.commandName() << '\n';
    for (std::size_t position = 0; position < command_item::BasicItemCount; ++position)
        if (const COrlaItem* item = command.items().exactlyAt(position))
            printItem(out, 3, *item);
    if (command.isAdvanced())
        printSegments(out, command);
}

void printChannel(std::ostream& out, const CHartbus& channel) {
    out << channel.busName() << '\n';
    for (const COrlaItem* item : channel.items())
        printItem(out, 1, *item);
    for (const COrlaNode* node : channel.currentNodes()) {
        out << "  " << node->nodeName() << '\n';
        for (const COrlaItem* item : node->items())
            printItem(out, 2, *item);
        for (const COrlaCommand* command : node->commands())
            printCommand(out, *command);
    }
}

void printNetworkSide(std::ostream& out, const CProfilebus& bus) {
    out << bus.busName() << '\n';
    printItem(out, 1, bus.selector());
    for (const COrlaItem* item : bus.currentItems())
        printItem(out, 1, *item);
}

} // namespace

void printProjectListing(const CProductTarn& product, std::ostream& out) {
    printNetworkSide(out, product.networkBus());
    for (const CHartbus* channel : product.channels())
        printChannel(out, *channel);
}

} // namespace korvan::cli
