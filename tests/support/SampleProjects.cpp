#include "support/SampleProjects.h"

#include "base/Decimal.h"
#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"
#include "model/CommandItems.h"

namespace korvan::test {
namespace {

using namespace command_item;

void makeAdvanced(COrlaCommand& command, int segments, int firstAddress) {
    command.itemAt(ConfigurationMode)->setValue("Advanced");
    for (int i = 0; i < segments; ++i) {
        COrlaItem* record = command.segmentRecord(static_cast<std::size_t>(i));
        record->setSegmentEnabled(true);
        record->setSegmentSwap(i % 2 == 1);
        record->setSegmentAddress(decimalText(firstAddress + 4 * i));
        record->setSegmentOffset(decimalText(i));
        record->setSegmentLength(i % 3 == 0 ? "4" : "1");
        record->setSegmentEnableCount(i == 0 ? decimalText(segments) : "0");
    }
}

void setMultiDrop(CHartbus& channel) {
    channel.setMode(MultiDropMode);
    channel.itemAt(channel_item::NetworkMode)->setValue("Multi-drop");
}

} // namespace

void fillSampleProject(CProductTarn& product) {
    ObjectRegistries& registries = product.registries();
    CProfilebus& network = product.networkBus();
    if (network.mode() == ModbusTcpMode) {
        network.ethernetItems().at(0)->setValue("DHCP");
        network.ethernetItems().at(1)->setValue("10.1.2.3");
    } else {
        network.setMode(UserConfigMode);
        network.universalItems().at(0)->setValue("9600");
        network.slaveItems().at(5)->setValue("17");
    }

    CHartbus* first = product.channel(0);
    first->itemAt(channel_item::DelayBetweenPolls)->setValue("1000");
    COrlaNode* device = first->addNode();
    COrlaCommand* basic = device->addHartCommand(registries, 3);
    basic->setItemInt(ReceiveLengthBytes, 24);
    COrlaCommand* advanced = device->addHartCommand(registries, 9);
    makeAdvanced(*advanced, 3, 100);
    COrlaCommand* writer = device->addHartCommand(registries, 35);
    writer->setItemInt(SendLengthBytes, 9);
    writer->itemAt(OutputMode)->setValue("Change of State");
    first->renumberChannelCommands();

    // The last channel keeps a point-to-point node while running multi-drop.
    CHartbus* last = product.channel(product.channelCount() - 1);
    if (last != first)
        last->addNode()->addHartCommand(registries, 1);
    setMultiDrop(*last);
    for (int i = 0; i < 2; ++i) {
        COrlaNode* node = last->addNode();
        node->addHartCommand(registries, 48)->setItemInt(ReceiveMemoryStart, 200 + 30 * i);
    }
    last->renumberChannelCommands();
}

void fillMaximalProject(CProductTarn& product) {
    ObjectRegistries& registries = product.registries();
    int address = 0;
    for (CHartbus* channel : product.channels()) {
        setMultiDrop(*channel);
        for (int n = 0; n < MaxMultiDropNodes; ++n) {
            COrlaNode* node = channel->addNode();
            const int commands = MaxChannelCommands / MaxMultiDropNodes + (n < MaxChannelCommands % MaxMultiDropNodes);
            for (int c = 0; c < commands; ++c) {
                COrlaCommand* command = node->addHartCommand(registries, 9);
                makeAdvanced(*command, 26, address % 2600);
                address += 3;
            }
        }
        channel->renumberChannelCommands();
    }
}

} // namespace korvan::test
