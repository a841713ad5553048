#include "app/AppState.h"
#include "app/ProjectTreeEditor.h"
#include "mapping/CommandSelection.h"
#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"
#include "model/CommandItems.h"
#include "model/ProjectTreeItem.h"
#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>

namespace korvan {
namespace {

using namespace command_item;

class ProjectTreeEditorTest : public ::testing::Test {
protected:
    ProjectTreeEditorTest() : editor(product, state, prompt) {
        product.build(GatewayModel::Vela3hTcp);
        state.model = GatewayModel::Vela3hTcp;
    }

    CHartbus* channel(std::size_t i) { return product.channel(i); }
    TreeTag channelTag(std::size_t i) {
        return {TreeItemKind::Channel, nullptr, channel(i), nullptr, nullptr};
    }
    TreeTag nodeTag(std::size_t i, COrlaNode* node) {
        return {TreeItemKind::Node, nullptr, channel(i), node, nullptr};
    }

    void selectChannel(std::size_t i) { editor.select(channelTag(i), channel(i)->busName()); }
    void selectNode(std::size_t i, COrlaNode* node) { editor.select(nodeTag(i, node), node->nodeName()); }

    COrlaNode* multiDropChannelWithNodes(std::size_t i, int nodes) {
        channel(i)->setMode(MultiDropMode);
        COrlaNode* last = nullptr;
        for (int n = 0; n < nodes; ++n)
            last = channel(i)->addNode();
        return last;
    }

    static std::vector<std::string> commandIndexes(const CHartbus& bus) {
        std::vector<std::string> indexes;
        for (const COrlaNode* node : bus.currentNodes())
            for (const COrlaCommand* command : node->commands())
                indexes.push_back(command->itemAt(CommandIndex)->value());
        return indexes;
    }

    CProductTarn product;
    AppState state;
    test::ScriptedPrompt prompt;
    ProjectTreeEditor editor;
};

TEST_F(ProjectTreeEditorTest, EnableRulesFollowTheSelectedKind) {
    COrlaNode* node = channel(0)->addNode();
    COrlaCommand* command = node->addHartCommand(product.registries(), 3);
    state.linkKind = LinkKind::Ethernet;
    const struct {
        const char* what;
        TreeTag tag;
        TreeEnableFlags flags;
    } cases[] = {
        {"network bus", {TreeItemKind::NetworkBus, &product.networkBus(), nullptr, nullptr, nullptr}, {}},
        {"empty point-to-point channel", channelTag(1), {.addNode = true}},
        {"full point-to-point channel", channelTag(0), {}},
        {"node", nodeTag(0, node), {.deleteNode = true, .copyNode = true, .addCommand = true}},
        {"command", {TreeItemKind::Command, nullptr, channel(0), node, command}, {.deleteCommand = true}},
    };
    for (const auto& c : cases) {
        editor.select(c.tag, "label");
        EXPECT_EQ(editor.enableFlags(), c.flags) << c.what;
    }
    EXPECT_EQ(state.linkKind, LinkKind::Serial);

    selectNode(0, node);
    ASSERT_TRUE(editor.copyNode());
    EXPECT_FALSE(editor.enableFlags().pasteNode); // its own point-to-point channel is full
    selectChannel(1);
    EXPECT_EQ(editor.enableFlags(), (TreeEnableFlags{.addNode = true, .pasteNode = true}));
    EXPECT_EQ(product.currentChannel(), channel(1));
}

TEST_F(ProjectTreeEditorTest, ModeSwitchShowsTheOtherNodeListAndFifteenNodesFillAChannel) {
    channel(0)->addNode();
    selectChannel(0);
    EXPECT_FALSE(editor.enableFlags().addNode);
    COrlaNode* last = multiDropChannelWithNodes(0, 14);
    selectChannel(0);
    ASSERT_TRUE(editor.addNode());
    EXPECT_EQ(channel(0)->currentNodes().size(), 15u);
    EXPECT_EQ(channel(0)->pointToPointNodes().size(), 1u);
    EXPECT_FALSE(editor.enableFlags().addNode);
    EXPECT_EQ(state.projectDirty, 1);

    selectNode(0, last);
    ASSERT_TRUE(editor.deleteNode());
    selectChannel(0);
    EXPECT_TRUE(editor.enableFlags().addNode);
}

TEST_F(ProjectTreeEditorTest, DeletingMovesTheSelectionToASiblingAndRenumbers) {
    channel(0)->setMode(MultiDropMode);
    COrlaNode* first = channel(0)->addNode();
    COrlaNode* second = channel(0)->addNode();
    first->addHartCommand(product.registries(), 1);
    COrlaCommand* a = second->addHartCommand(product.registries(), 2);
    COrlaCommand* b = second->addHartCommand(product.registries(), 3);
    channel(0)->renumberChannelCommands();

    editor.select({TreeItemKind::Command, nullptr, channel(0), second, b}, "Command ID3");
    ASSERT_TRUE(editor.deleteCommand());
    EXPECT_EQ(editor.selection()->command, a); // the last one gives way to its previous sibling
    ASSERT_TRUE(editor.deleteCommand());
    EXPECT_FALSE(editor.selection().has_value()); // no sibling left
    EXPECT_TRUE(second->commands().empty());

    second->addHartCommand(product.registries(), 9);
    channel(0)->renumberChannelCommands();
    selectNode(0, first);
    ASSERT_TRUE(editor.deleteNode());
    EXPECT_EQ(editor.selection()->node, second);
    EXPECT_EQ(editor.selectedLabel(), second->nodeName());
    EXPECT_EQ(commandIndexes(*channel(0)), std::vector<std::string>{"0"});
}

TEST_F(ProjectTreeEditorTest, AddCommandAddsTheChosenNumbersAscendingAndSelectsTheChannel) {
    COrlaNode* node = channel(2)->addNode();
    node->addHartCommand(product.registries(), 3);
    selectNode(2, node);
    int offeredTotal = -1;
    ASSERT_TRUE(editor.addCommand([&](CommandSelection& selection) {
        offeredTotal = selection.count();
        selection.moveRight(48, prompt);
        selection.moveRight(1, prompt);
        return std::optional(selection.chosen());
    }));
    EXPECT_EQ(offeredTotal, 1);
    ASSERT_EQ(node->commands().size(), 3u);
    EXPECT_EQ(node->commandAt(1)->commandName(), "Command ID1");
    EXPECT_EQ(node->commandAt(2)->commandName(), "Command ID48");
    EXPECT_EQ(commandIndexes(*channel(2)), (std::vector<std::string>{"0", "1", "2"}));
    EXPECT_EQ(editor.selection()->kind, TreeItemKind::Channel);
    EXPECT_EQ(editor.selectedLabel(), "Channel3");

    state.projectDirty = 0;
    selectNode(2, node);
    EXPECT_FALSE(editor.addCommand([](CommandSelection&) { return std::optional<std::array<bool, 255>>{}; }));
    EXPECT_EQ(node->commands().size(), 3u);
    EXPECT_EQ(state.projectDirty, 1); // set whether or not the dialog was confirmed
}

TEST_F(ProjectTreeEditorTest, CopyAndPasteRecreateTheNodeWithItsCommandsAndSegments) {
    COrlaNode* source = channel(0)->addNode();
    COrlaCommand* advanced = source->addHartCommand(product.registries(), 9);
    advanced->itemAt(ConfigurationMode)->setValue("Advanced");
    advanced->itemAt(SendMemoryStart)->setValue("3010");
    COrlaItem* segment = advanced->segmentRecord(1);
    advanced->segmentRecord(0)->setSegmentEnableCount("2");
    segment->setSegmentOffset("9");
    segment->setSegmentSwap(true);
    segment->setSegmentAddress("40");
    segment->setSegmentLength("3");
    source->addHartCommand(product.registries(), 1);
    channel(0)->renumberChannelCommands();

    selectNode(0, source);
    ASSERT_TRUE(editor.copyNode());
    EXPECT_EQ(editor.clipboard().copiedNode(), 0);
    COrlaNode* existing = multiDropChannelWithNodes(1, 1);
    existing->addHartCommand(product.registries(), 0);
    selectNode(1, existing);
    ASSERT_TRUE(editor.pasteNode());

    ASSERT_EQ(channel(1)->currentNodes().size(), 2u);
    const COrlaNode* pasted = channel(1)->currentNodes().back();
    EXPECT_EQ(pasted->nodeName(), "Node(2)");
    ASSERT_EQ(pasted->commands().size(), 2u);
    const COrlaCommand* copy = pasted->commandAt(0);
    EXPECT_EQ(copy->itemAt(ConfigurationMode)->value(), "Advanced");
    EXPECT_EQ(copy->itemAt(SendMemoryStart)->value(), "3010");
    EXPECT_EQ(copy->segmentCount(), 2);
    const COrlaItem* copiedSegment = copy->segmentRecord(1);
    EXPECT_EQ(copiedSegment->segmentOffset(), "9");
    EXPECT_TRUE(copiedSegment->segmentSwap());
    EXPECT_EQ(copiedSegment->segmentAddress(), "40");
    EXPECT_EQ(copiedSegment->segmentLength(), "3");
    EXPECT_EQ(commandIndexes(*channel(1)), (std::vector<std::string>{"0", "1", "2"}));
    EXPECT_EQ(editor.selectedLabel(), "Channel2");
}

TEST_F(ProjectTreeEditorTest, PasteStopsAtTheChannelLimitAndRefusesAFullChannel) {
    COrlaNode* source = channel(0)->addNode();
    for (unsigned number : {1u, 2u, 3u})
        source->addHartCommand(product.registries(), number);
    selectNode(0, source);
    ASSERT_TRUE(editor.copyNode());

    COrlaNode* busy = multiDropChannelWithNodes(1, 1);
    for (int i = 0; i < 99; ++i)
        busy->addHartCommand(product.registries(), 48);
    selectChannel(1);
    ASSERT_TRUE(editor.pasteNode());
    EXPECT_EQ(channel(1)->currentNodes().back()->commands().size(), 1u);

    COrlaNode* empty = multiDropChannelWithNodes(2, 0);
    EXPECT_EQ(empty, nullptr);
    selectNode(0, source);
    source->clearCommands();
    ASSERT_TRUE(editor.copyNode());
    selectChannel(2);
    ASSERT_TRUE(editor.pasteNode());
    EXPECT_TRUE(channel(2)->currentNodes().back()->commands().empty());

    multiDropChannelWithNodes(2, 14);
    selectChannel(2);
    EXPECT_FALSE(editor.pasteNode());
    EXPECT_EQ(prompt.shown,
              std::vector<std::string>{"The current node has more than 15, can not paste the node!"});
    EXPECT_EQ(channel(2)->currentNodes().size(), 15u);
}

TEST_F(ProjectTreeEditorTest, TreeShowsTheCurrentModesNodesWithTheirLabels) {
    channel(0)->addNode()->addHartCommand(product.registries(), 3);
    multiDropChannelWithNodes(1, 2);
    const std::vector<ProjectTreeItem> tree = buildProjectTree(product);
    ASSERT_EQ(tree.size(), 4u);
    EXPECT_EQ(tree[0].label, "Fieldbus");
    EXPECT_EQ(tree[1].children.at(0).label, "Node(0)");
    EXPECT_EQ(tree[1].children.at(0).children.at(0).label, "Command ID3");
    ASSERT_EQ(tree[2].children.size(), 2u);
    EXPECT_EQ(tree[2].children[1].label, "Node(2)");
    EXPECT_EQ(findTreeItemByLabel(tree, "Node(2)"), &tree[2].children[1]);
}

} // namespace
} // namespace korvan
