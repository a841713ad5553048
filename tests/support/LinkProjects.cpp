#include "support/LinkProjects.h"

#include "base/Decimal.h"
#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"
#include "model/CommandItems.h"
#include "support/ProductDescription.h"

namespace korvan::test {
namespace {

using namespace command_item;

void setReceive(COrlaCommand& command, int start, int length) {
    command.setItemInt(ReceiveMemoryStart, start);
    command.setItemInt(ReceiveRegisterStart, start / 2);
    command.setItemInt(ReceiveLengthBytes, length);
    command.setItemInt(ReceiveLengthWords, (length + 1) / 2);
}

void setSend(COrlaCommand& command, int start, int length) {
    command.setItemInt(SendMemoryStart, start);
    command.setItemInt(SendRegisterStart, start / 2);
    command.setItemInt(SendLengthBytes, length);
    command.setItemInt(SendLengthWords, (length + 1) / 2);
}

void makeAdvanced(COrlaCommand& command, int segments, int firstAddress) {
    command.setItemChoice(ConfigurationMode, 1);
    for (int i = 0; i < segments; ++i) {
        COrlaItem* record = command.segmentRecord(static_cast<std::size_t>(i));
        record->setSegmentEnabled(true);
        record->setSegmentSwap(i % 2 == 1);
        record->setSegmentAddress(decimalText(firstAddress + 4 * i));
        record->setSegmentOffset(decimalText(2 * i));
        record->setSegmentLength(i % 2 == 0 ? "4" : "2");
        record->setSegmentEnableCount(decimalText(segments));
    }
}

} // namespace

void fillRoundTripProject(CProductTarn& product) {
    ObjectRegistries& registries = product.registries();
    CProfilebus& network = product.networkBus();
    if (network.mode() == ModbusTcpMode) {
        network.ethernetItems().at(1)->setValue("10.1.2.3");
        network.ethernetItems().at(3)->setValue("10.1.2.1");
    } else {
        network.slaveItems().at(0)->setValue("9600");
        network.slaveItems().at(5)->setValue("17");
    }

    CHartbus* first = product.channel(0);
    first->itemAt(channel_item::DelayBetweenPolls)->setValue("1000");
    first->itemAt(channel_item::MasterType)->setValue("Secondary Master");
    COrlaNode* device = first->addNode();
    setReceive(*device->addHartCommand(registries, 3), 0, 24);
    makeAdvanced(*device->addHartCommand(registries, 9), 3, 100);
    COrlaCommand* writer = device->addHartCommand(registries, 35);
    setSend(*writer, 3001, 7);
    writer->setItemChoice(OutputMode, 1);
    first->renumberChannelCommands();

    CHartbus* last = product.channel(product.channelCount() - 1);
    if (last == first)
        return;
    last->setMode(MultiDropMode);
    last->setItemChoice(channel_item::NetworkMode, 1);
    for (int i = 0; i < 2; ++i) {
        COrlaNode* node = last->addNode();
        setReceive(*node->addHartCommand(registries, 48), 200 + 30 * i, 9);
    }
    makeAdvanced(*last->multiDropNodes().back()->addHartCommand(registries, 1), 2, 400);
    last->renumberChannelCommands();
}

std::string describeDownloaded(const CProductTarn& product, bool withNetworkSide) {
    const std::string all = describeProduct(product);
    if (withNetworkSide)
        return all;
    const auto channels = all.find("Channel1");
    return channels == std::string::npos ? all : all.substr(channels);
}

} // namespace korvan::test
