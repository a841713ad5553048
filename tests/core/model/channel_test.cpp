#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/COrlaNode.h"
#include "model/ObjectRegistries.h"
#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>

namespace korvan {
namespace {

class ChannelTest : public ::testing::Test {
protected:
    ChannelTest() : channel(registries) { channel.initialise(); }

    void addMultiDropNodes(std::initializer_list<std::uint32_t> addresses) {
        for (std::uint32_t address : addresses) {
            COrlaNode* node = registries.nodes().create();
            node->setAddress(address);
            channel.appendMultiDropNode(node);
        }
    }

    ObjectRegistries registries;
    CHartbus channel;
};

TEST_F(ChannelTest, StartsPointToPointWithItsEightDefaults) {
    channel.setChannelIndex(2);
    EXPECT_EQ(channel.busName(), "Channel3");
    EXPECT_EQ(channel.mode(), PointToPointMode);
    ASSERT_EQ(channel.items().size(), 8u);
    const char* defaults[] = {"Primary Master", "Point-to-Point", "3", "Enable", "256", "256", "Clear", "3"};
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(channel.itemAt(i)->value(), defaults[i]);
        EXPECT_EQ(channel.itemAt(i)->enabled(), 1);
    }
    EXPECT_EQ(channel.itemChoiceIndex(channel_item::MaximumRepetitions), 3);
    EXPECT_TRUE(channel.canAddNode());
}

TEST_F(ChannelTest, PointToPointTakesOneNodeAtAddressZeroWithItsAddressLocked) {
    COrlaNode* node = channel.addNode();
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->nodeName(), "Node(0)");
    EXPECT_EQ(node->address(), 0u);
    ASSERT_EQ(node->items().size(), 1u);
    EXPECT_EQ(node->itemAt(0)->name(), "HART Slave Address");
    EXPECT_EQ(node->itemAt(0)->value(), "0");
    EXPECT_EQ(node->itemAt(0)->enabled(), 0);
    EXPECT_FALSE(channel.canAddNode());
}

TEST_F(ChannelTest, MultiDropTakesTheLowestFreeAddressUpToFifteenNodes) {
    channel.setMode(MultiDropMode);
    addMultiDropNodes({1, 2, 4});
    COrlaNode* node = channel.addNode();
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->address(), 3u);
    EXPECT_EQ(node->nodeName(), "Node(3)");
    EXPECT_EQ(node->itemAt(0)->enabled(), 1);
    while (channel.canAddNode())
        ASSERT_NE(channel.addNode(), nullptr);
    EXPECT_EQ(channel.multiDropNodes().size(), 15u);
    EXPECT_FALSE(channel.lowestFreeAddress().has_value());
    // Both lists survive a mode switch; only the current one counts.
    channel.setMode(PointToPointMode);
    EXPECT_TRUE(channel.canAddNode());
}

TEST_F(ChannelTest, SetNodeAddressChecksRangeAndRepeats) {
    channel.setMode(MultiDropMode);
    COrlaNode* first = channel.addNode();
    COrlaNode* second = channel.addNode();
    const std::pair<const char*, ResultCode> cases[] = {
        {"0", ResultCode::OutOfRange},  {"16", ResultCode::OutOfRange},       {"", ResultCode::ItemEmpty},
        {"x", ResultCode::IllegalChar}, {"1", ResultCode::NodeAddressRepeat}, {"2", ResultCode::Success},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(channel.setNodeAddress(second, text), expected) << text;
        EXPECT_EQ(second->address(), 2u);
    }
    EXPECT_EQ(channel.setNodeAddress(first, "9"), ResultCode::Success);
    EXPECT_EQ(first->address(), 9u);
    EXPECT_EQ(first->nodeName(), "Node(9)");
    EXPECT_EQ(first->itemAt(0)->value(), "9");
}

// A damaged file may leave a Point-to-Point node's address cell editable: its address stays 0.
TEST_F(ChannelTest, APointToPointNodeStaysAtZero) {
    channel.setMode(PointToPointMode);
    COrlaNode* node = channel.addNode();
    ASSERT_NE(node, nullptr);
    for (const char* text : {"5", "1", "x", ""}) {
        EXPECT_FALSE(succeeded(channel.setNodeAddress(node, text))) << text;
        EXPECT_EQ(node->address(), 0u);
    }
    EXPECT_EQ(channel.setNodeAddress(node, "0"), ResultCode::Success);
    EXPECT_EQ(node->nodeName(), "Node(0)");
}

TEST_F(ChannelTest, AcceptsCommandsUpTo256) {
    COrlaNode* node = channel.addNode();
    for (int i = 0; i < 256; ++i)
        node->addHartCommand(registries, 3);
    EXPECT_TRUE(channel.canAddCommand());
    node->addHartCommand(registries, 3);
    EXPECT_FALSE(channel.canAddCommand());
    EXPECT_EQ(channel.commandCount(), 257);
}

TEST_F(ChannelTest, RemovalDoesNotFreeAndRenumberingRunsOverTheCurrentList) {
    COrlaNode* node = channel.addNode();
    node->addHartCommand(registries, 1);
    node->addHartCommand(registries, 2);
    channel.renumberChannelCommands();
    EXPECT_EQ(node->commandAt(1)->itemIntValue(10), 1);
    EXPECT_TRUE(channel.removeNode(node));
    EXPECT_FALSE(channel.removeNode(node));
    EXPECT_EQ(node->commandCount(), 2) << "a removed node stays valid";
}

TEST_F(ChannelTest, MemoryBoundsAfterMappingReportOverflows) {
    struct Case {
        int nextSend, nextReceive;
        bool fits;
        const char* message;
    };
    const Case cases[] = {
        {5000, 2600, true, nullptr},
        {5001, 0, false, "Data memory starting address to send overflow"},
        {3000, 2601, false, "Starting address of memory to receive data overflow"},
        {-1, 9999, true, nullptr},
    };
    for (const Case& c : cases) {
        test::ScriptedPrompt prompt;
        EXPECT_EQ(channel.checkMemoryBounds(c.nextSend, c.nextReceive, prompt), c.fits);
        EXPECT_EQ(prompt.shown, c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
    }
}

} // namespace
} // namespace korvan
