#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"
#include "model/CommandItems.h"
#include "model/ObjectRegistries.h"
#include "projectfile/ProjectFile.h"
#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>

namespace korvan {
namespace {

using namespace command_item;

TEST(HartCommand, HasItsFortyOneItemsWithTheSendLengthLockedForCommandsWithoutRequestData) {
    ObjectRegistries registries;
    COrlaCommand* three = COrlaCommand::createHart(registries, 3);
    COrlaCommand* fortyEight = COrlaCommand::createHart(registries, 48);
    EXPECT_EQ(three->commandName(), "Command ID3");
    EXPECT_EQ(three->itemCount(), 41);
    EXPECT_EQ(three->itemAt(SendLengthBytes)->enabled(), 0);
    EXPECT_EQ(fortyEight->itemAt(SendLengthBytes)->enabled(), 1);
    EXPECT_EQ(three->itemAt(ConfigurationMode)->value(), "Basic");
    EXPECT_EQ(three->itemAt(SendMemoryStart)->value(), "3000");
    EXPECT_EQ(three->itemAt(SendRegisterStart)->enabled(), 0);
    EXPECT_EQ(three->lookupKey(), -1);
    EXPECT_EQ(three->segmentCount(), 0);
    EXPECT_FALSE(three->isAdvanced());
}

TEST(HartCommand, AddressRangesAreStartsAndEnds) {
    ObjectRegistries registries;
    COrlaCommand* command = COrlaCommand::createHart(registries, 48);
    command->setItemInt(SendMemoryStart, 3010);
    command->setItemInt(SendLengthBytes, 7);
    command->setItemInt(ReceiveMemoryStart, 20);
    command->setItemInt(ReceiveLengthBytes, 24);
    const auto ranges = command->addressRanges();
    ASSERT_TRUE(ranges);
    EXPECT_EQ(ranges->sendStart, 3010);
    EXPECT_EQ(ranges->sendEnd, 3017);
    EXPECT_EQ(ranges->receiveStart, 20);
    EXPECT_EQ(ranges->receiveEnd, 44);
    COrlaCommand bare;
    EXPECT_FALSE(bare.addressRanges());
}

// A file may hold any int: the ends are taken in 64 bits instead of overflowing.
TEST(HartCommand, AddressRangesOfExtremeValuesFromAFile) {
    CProductTarn product;
    product.build(GatewayModel::Vela1hTcp);
    test::ScriptedPrompt prompt;
    ASSERT_EQ(loadFromFile(product, prompt, std::string(KORVAN_TEST_DATA_DIR) + "/addressranges-overflow.xml")
                  .status,
              LoadStatus::Loaded);
    COrlaCommand* command = product.channel(0)->currentNodes().at(0)->commandAt(0);
    ASSERT_NE(command, nullptr);
    struct Case {
        const char* start;
        const char* length;
        std::int64_t end;
    };
    // The first row is the file as it stands: 2147483647 + 1.
    for (const Case& c : {Case{nullptr, nullptr, 2147483648}, Case{"2147483647", "2147483647", 4294967294},
                          Case{"-2147483648", "-2147483648", -4294967296}}) {
        if (c.start != nullptr) {
            command->itemAt(SendMemoryStart)->setValue(c.start);
            command->itemAt(SendLengthBytes)->setValue(c.length);
            command->itemAt(ReceiveMemoryStart)->setValue(c.start);
            command->itemAt(ReceiveLengthBytes)->setValue(c.length);
        }
        const auto ranges = command->addressRanges();
        ASSERT_TRUE(ranges);
        EXPECT_EQ(ranges->sendEnd, c.end);
        if (c.start != nullptr) {
            EXPECT_EQ(ranges->receiveEnd, c.end);
        }
    }
}

TEST(HartCommand, ValidateNamesTheCommandAndTheEmptyItem) {
    ObjectRegistries registries;
    COrlaNode node;
    COrlaCommand* command = node.addHartCommand(registries, 48);
    command->itemAt(SendMemoryStart)->setValue("");
    test::ScriptedPrompt prompt;
    EXPECT_EQ(node.validate(prompt), ResultCode::ItemEmpty);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0], "Command ID48 - Memory Starting Address of Sending Data data is empty");
}

TEST(HartCommand, ValidateOfANodeWithAnEmptyAddressQuotesTheItemName) {
    ObjectRegistries registries;
    COrlaNode node;
    COrlaItem* address = registries.createItem();
    address->setName("HART Slave Address");
    node.addItem(address);
    test::ScriptedPrompt prompt;
    EXPECT_EQ(node.validate(prompt), ResultCode::ItemEmpty);
    EXPECT_EQ(prompt.shown.at(0), "\"HART Slave Address\"Content is empty");
}

TEST(HartCommand, SegmentCountIsLimitedToTheRecords) {
    ObjectRegistries registries;
    COrlaCommand* command = COrlaCommand::createHart(registries, 9);
    command->segmentRecord(0)->setSegmentEnableCount("40");
    EXPECT_EQ(command->segmentCount(), 26);
    command->segmentRecord(0)->setSegmentEnableCount("-3");
    EXPECT_EQ(command->segmentCount(), 0);
    EXPECT_EQ(command->segmentRecord(26), nullptr);
}

TEST(Node, LooksCommandsUpByKeyAndNumber) {
    ObjectRegistries registries;
    COrlaNode node;
    node.addHartCommand(registries, 1);
    COrlaCommand* second = node.addHartCommand(registries, 48);
    second->setLookupKey(7);
    EXPECT_EQ(node.commandNumberOf(7), 48);
    EXPECT_EQ(node.commandNumberOf(-2), -1);
    EXPECT_EQ(node.commandByNumber(48), second);
    EXPECT_EQ(node.commandByNumber(5), nullptr);
}

} // namespace
} // namespace korvan
