#include "support/ProductDescription.h"

#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"

#include <sstream>

namespace korvan::test {
namespace {

void describeItem(std::ostream& out, const std::string& indent, const COrlaItem& item) {
    out << indent << '[' << item.name() << "] value=" << item.value() << " help=" << item.help()
        << " kind=" << item.kind() << " enabled=" << item.enabled() << " choices=";
    for (const std::string& choice : item.choices())
        out << choice << '|';
    out << '\n';
}

void describeSegment(std::ostream& out, const COrlaItem& record) {
    out << "      segment offset=" << record.segmentOffset() << " length=" << record.segmentLength()
        << " address=" << record.segmentAddress() << " swap=" << record.segmentSwap()
        << " enabled=" << record.segmentEnabled() << " count=" << record.segmentEnableCount() << '\n';
}

void describeItems(std::ostream& out, const std::string& indent, const PtrList<COrlaItem>& items) {
    for (const COrlaItem* item : items)
        describeItem(out, indent, *item);
}

void describeNodes(std::ostream& out, const char* list, const PtrList<COrlaNode>& nodes) {
    for (const COrlaNode* node : nodes) {
        out << "  " << list << ' ' << node->nodeName() << " address=" << node->address()
            << " commands=" << node->commandCount() << '\n';
        describeItems(out, "    ", node->items());
        for (const COrlaCommand* command : node->commands()) {
            out << "    " << command->commandName() << " type=" << command->commandType()
                << " number=" << command->commandNumber() << '\n';
            for (std::size_t i = 0; i < 11 && i < command->items().size(); ++i)
                describeItem(out, "      ", *command->items().exactlyAt(i));
            for (std::size_t i = 0; i < static_cast<std::size_t>(command->segmentCount()); ++i)
                describeSegment(out, *command->segmentRecord(i));
        }
    }
}

} // namespace

std::string describeProduct(const CProductTarn& product) {
    std::ostringstream out;
    const CProfilebus& network = product.networkBus();
    out << "network mode=" << network.mode() << " selector=" << network.selector().value() << '\n';
    describeItems(out, "  slave ", network.slaveItems());
    describeItems(out, "  universal ", network.universalItems());
    describeItems(out, "  ethernet ", network.ethernetItems());
    for (const CHartbus* channel : product.channels()) {
        out << channel->busName() << " mode=" << channel->mode() << '\n';
        describeItems(out, "  ", channel->items());
        describeNodes(out, "point-to-point", channel->pointToPointNodes());
        describeNodes(out, "multi-drop", channel->multiDropNodes());
    }
    return out.str();
}

} // namespace korvan::test
