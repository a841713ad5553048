#include "app/AppState.h"
#include "app/ParameterGrid.h"
#include "app/StartSequence.h"
#include "base/Decimal.h"
#include "hart/AdvancedConfiguration.h"
#include "hart/AdvancedSelectionTable.h"
#include "hart/HartCommandCatalogue.h"
#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"
#include "model/CommandItems.h"
#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>

namespace korvan {
namespace {

using namespace command_item;
using Strings = std::vector<std::string>;

class ParameterGridTest : public ::testing::Test {
protected:
    ParameterGridTest() : grid(product, state, prompt, selection) {
        startProduct(state, product, GatewayModel::Vela3hTcp);
        node = product.channel(0)->addNode();
        command = node->addHartCommand(product.registries(), 48);
    }

    void showCommand(COrlaCommand* shown) {
        grid.show({TreeItemKind::Command, nullptr, product.channel(0), node, shown}, shown->commandName());
    }
    void showChannel(std::size_t i) {
        grid.show({TreeItemKind::Channel, nullptr, product.channel(i), nullptr, nullptr},
                  product.channel(i)->busName());
    }

    // Clicks the value cell of the row and commits the text.
    ResultCode type(int row, std::string_view text) {
        EXPECT_EQ(grid.clickCell(row, 1), CellAction::EditText) << "row " << row;
        return grid.commitText(text);
    }
    ListCommitEffect pick(int row, const std::string& choice) {
        EXPECT_EQ(grid.clickCell(row, 1), CellAction::ChooseFromList) << "row " << row;
        return grid.commitChoice(choice);
    }

    static int undescribedCommand() {
        for (int number = 0; number < 255; ++number)
            if (HartCommandCatalogue::instance().fieldCount(number) == 0)
                return number;
        return -1;
    }

    AppState state;
    CProductTarn product;
    test::ScriptedPrompt prompt;
    AdvancedSelectionTable selection;
    ParameterGrid grid;
    COrlaNode* node = nullptr;
    COrlaCommand* command = nullptr;
};

TEST_F(ParameterGridTest, TypedValuesAreCheckedStoredAndFollowedByTheirDerivedItems) {
    const struct {
        int row;
        const char* text;
        ResultCode code;
        std::size_t derived;
        const char* derivedValue;
    } cases[] = {
        {2, "4999", ResultCode::Success, SendRegisterStart, "2499"},
        {2, "5000", ResultCode::OutOfRange, SendRegisterStart, "2499"},
        {4, "7", ResultCode::Success, SendLengthWords, "4"},
        {4, "0", ResultCode::Success, SendLengthWords, "0"},
        {4, "", ResultCode::ItemEmpty, SendLengthWords, "0"},
        {4, "-1", ResultCode::IllegalChar, SendLengthWords, "0"},
        {4, " 5", ResultCode::IllegalChar, SendLengthWords, "0"},
        {4, "1a", ResultCode::IllegalChar, SendLengthWords, "0"},
        {4, "256", ResultCode::OutOfRange, SendLengthWords, "0"},
        {6, "2999", ResultCode::Success, ReceiveRegisterStart, "1499"},
        {8, "25", ResultCode::Success, ReceiveLengthWords, "13"},
    };
    showCommand(command);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.row) + " '" + c.text + "'");
        const std::string before = command->itemAt(static_cast<std::size_t>(c.row))->value();
        test::ScriptedPrompt run;
        ParameterGrid fresh(product, state, run, selection);
        fresh.show({TreeItemKind::Command, nullptr, product.channel(0), node, command}, "Command ID48");
        ASSERT_EQ(fresh.clickCell(c.row, 1), CellAction::EditText);
        EXPECT_EQ(fresh.commitText(c.text), c.code);
        const bool ok = c.code == ResultCode::Success;
        EXPECT_EQ(command->itemAt(static_cast<std::size_t>(c.row))->value(), ok ? c.text : before);
        EXPECT_EQ(command->itemAt(c.derived)->value(), c.derivedValue);
        EXPECT_EQ(run.shown, ok ? Strings{} : Strings{std::string(resultMessage(c.code))});
    }
}

TEST_F(ParameterGridTest, ChannelRowsHaveTheirRangesAndTimeoutActionEnablesTheCount) {
    showChannel(0);
    EXPECT_EQ(type(4, "255"), ResultCode::OutOfRange);
    EXPECT_EQ(type(5, "65535"), ResultCode::Success);
    EXPECT_EQ(type(7, "15"), ResultCode::OutOfRange);
    EXPECT_EQ(type(7, "14"), ResultCode::Success);
    EXPECT_EQ(prompt.shown, (Strings{"Data out of range", "Data out of range"}));

    pick(6, "Hold");
    EXPECT_EQ(product.channel(0)->itemAt(channel_item::TimeoutCount)->enabled(), 0);
    EXPECT_TRUE(grid.rows()[7].grey);
    EXPECT_EQ(grid.clickCell(7, 1), CellAction::None);
    pick(6, "Clear");
    EXPECT_EQ(product.channel(0)->itemAt(channel_item::TimeoutCount)->enabled(), 1);
}

TEST_F(ParameterGridTest, NetworkModeSwitchAsksForATreeRebuild) {
    showChannel(0);
    const ListCommitEffect same = pick(1, "Point-to-Point");
    EXPECT_FALSE(same.rebuildTree);
    const ListCommitEffect switched = pick(1, "Multi-drop");
    EXPECT_TRUE(switched.rebuildTree);
    EXPECT_EQ(product.channel(0)->mode(), MultiDropMode);
    EXPECT_TRUE(product.channel(0)->currentNodes().empty());
    EXPECT_EQ(product.channel(0)->pointToPointNodes().size(), 1u);
    EXPECT_EQ(state.projectDirty, 1);
}

TEST_F(ParameterGridTest, NodeAddressMustBeFreeInTheNodesOwnChannel) {
    CHartbus* channel = product.channel(1);
    channel->setMode(MultiDropMode);
    COrlaNode* first = channel->addNode();
    COrlaNode* second = channel->addNode();
    product.setCurrentChannel(product.channel(2)); // last selected channel is another one
    grid.show({TreeItemKind::Node, nullptr, channel, second, nullptr}, second->nodeName());
    EXPECT_EQ(type(0, "1"), ResultCode::NodeAddressRepeat);
    EXPECT_EQ(prompt.shown, Strings{"Node address  repeat"});
    EXPECT_EQ(second->nodeName(), "Node(2)");
    EXPECT_EQ(type(0, "9"), ResultCode::Success);
    EXPECT_EQ(second->nodeName(), "Node(9)");
    EXPECT_EQ(second->itemAt(0)->value(), "9");
    EXPECT_EQ(first->address(), 1u);

    // A point-to-point node's address is locked.
    grid.show({TreeItemKind::Node, nullptr, product.channel(0), node, nullptr}, node->nodeName());
    EXPECT_EQ(grid.clickCell(0, 1), CellAction::None);
}

TEST_F(ParameterGridTest, AdvancedSwitchShowsItsLayoutAndBasicAsksBeforeDroppingSegments) {
    command->setItemInt(ReceiveLengthBytes, 10);
    showCommand(command);
    pick(0, "Advanced");
    EXPECT_EQ(command->itemAt(ConfigurationMode)->value(), "Advanced");
    EXPECT_EQ(product.fileFormat().generation, 2);
    ASSERT_TRUE(grid.showsAdvancedLayout());
    EXPECT_EQ(grid.rows()[6].name, "Receive Data Project Configuration");
    EXPECT_EQ(grid.rows()[7].name, "Command Index");
    EXPECT_EQ(grid.rows()[8].name, "");
    EXPECT_EQ(grid.clickCell(6, 1), CellAction::OpenAdvanced);
    EXPECT_EQ(grid.annotation(), "Byte offset configuration of the command");

    // The open-and-store sequence writes the dialog's selection into the segment records.
    std::size_t shownRows = 0;
    grid.openAdvancedConfiguration([&](AdvancedConfiguration& dialog) { shownRows = dialog.rowCount(); });
    EXPECT_GT(shownRows, 0u);
    EXPECT_EQ(command->segmentCount(), static_cast<int>(shownRows));
    EXPECT_EQ(command->itemAt(ReceiveLengthBytes)->value(), "0");
    EXPECT_EQ(state.projectDirty, 1);

    const int segments = command->segmentCount();
    for (Answer answer : {Answer::No, Answer::Cancel}) {
        prompt.answerNext(answer);
        const ListCommitEffect kept = pick(0, "Basic");
        EXPECT_FALSE(kept.accepted);
        EXPECT_EQ(command->itemAt(ConfigurationMode)->value(), "Advanced");
        EXPECT_EQ(command->segmentCount(), segments);
    }
    prompt.answerNext(Answer::Yes);
    EXPECT_TRUE(pick(0, "Basic").accepted);
    EXPECT_EQ(command->itemAt(ConfigurationMode)->value(), "Basic");
    EXPECT_EQ(command->segmentCount(), 0);
    EXPECT_EQ(grid.rows()[6].name, "Receiving memory starting address");
    EXPECT_EQ(grid.rows()[9].name, "Receive data length (WORD)");
    EXPECT_EQ(grid.rows()[6].value, "0");
    EXPECT_EQ(grid.rows()[10].name, "Command Index");
    EXPECT_EQ(
        prompt.shown.back(),
        "Are you sure to choose \"Basic\"?  The advanced configuration items will be deleted after clicking "
        "\"YES\"");
    EXPECT_EQ(prompt.asked.back(), QuestionId::SwitchToBasic);
}

TEST_F(ParameterGridTest, UndescribedCommandHasAGreyConfigurationModeThatCannotBeOpened) {
    const int number = undescribedCommand();
    ASSERT_GE(number, 0);
    COrlaCommand* plain = node->addHartCommand(product.registries(), static_cast<unsigned>(number));
    showCommand(plain);
    EXPECT_EQ(grid.currentHartCommand(), number);
    EXPECT_TRUE(grid.rows()[0].grey);
    EXPECT_EQ(grid.clickCell(0, 1), CellAction::None);
    showCommand(command);
    EXPECT_FALSE(grid.rows()[0].grey);
    EXPECT_EQ(grid.clickCell(0, 1), CellAction::ChooseFromList);
    EXPECT_EQ(grid.clickCell(0, 0), CellAction::None); // only the value column edits
    EXPECT_EQ(grid.clickCell(3, 1), CellAction::None); // derived items are not enabled

    // A row below the drawn ones empties the annotation; a negative position leaves it.
    ASSERT_EQ(grid.clickCell(2, 0), CellAction::None);
    EXPECT_FALSE(grid.annotation().empty());
    EXPECT_EQ(grid.clickCell(-1, 1), CellAction::None);
    EXPECT_FALSE(grid.annotation().empty());
    EXPECT_EQ(grid.clickCell(25, 1), CellAction::None);
    EXPECT_EQ(grid.annotation(), "");
}

} // namespace
} // namespace korvan
