#include "base/Decimal.h"
#include "mapping/ConflictDetection.h"
#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"
#include "model/CommandItems.h"
#include "projectfile/ProjectFile.h"
#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>

namespace korvan {
namespace {

using namespace command_item;

const Rgb white{255, 255, 255};
const Rgb green{0, 255, 0};
const Rgb red{255, 0, 0};
const Rgb yellow{255, 255, 0};
const Rgb blue{49, 106, 197};

class ConflictDetectionTest : public ::testing::Test {
protected:
    ConflictDetectionTest() { product.build(GatewayModel::Vela3hTcp); }

    COrlaCommand* addCommand(std::size_t channel, int sendStart, int sendLength, int receiveStart,
                             int receiveLength) {
        CHartbus* bus = product.channel(channel);
        COrlaNode* node = bus->currentNodes().empty() ? bus->addNode() : bus->currentNodes().front();
        COrlaCommand* command = node->addHartCommand(product.registries(), 48);
        command->setItemInt(SendMemoryStart, sendStart);
        command->setItemInt(SendLengthBytes, sendLength);
        command->setItemInt(ReceiveMemoryStart, receiveStart);
        command->setItemInt(ReceiveLengthBytes, receiveLength);
        return command;
    }

    // Colours of cells [first, last] of a grid must all be `colour`.
    static void expectCells(const ConflictDetection& dialog, UsageGrid grid, int first, int last,
                            Rgb colour) {
        for (int i = first; i <= last; ++i)
            ASSERT_EQ(dialog.cellColourAt(grid, i), colour) << "cell " << i;
    }

    static const ProjectTreeItem& commandItem(const ConflictDetection& dialog, std::size_t channel,
                                              std::size_t i) {
        return dialog.tree().at(channel + 1).children.at(0).children.at(i);
    }

    CProductTarn product;
};

TEST_F(ConflictDetectionTest, StartsUncheckedWithTheProjectTreeAndWhiteGrids) {
    addCommand(0, 3000, 10, 0, 10);
    ConflictDetection dialog(product);
    ASSERT_EQ(dialog.tree().size(), 4u);
    EXPECT_EQ(dialog.tree()[0].label, "Fieldbus");
    EXPECT_EQ(dialog.tree()[1].label, "Channel1");
    EXPECT_EQ(commandItem(dialog, 0, 0).label, "Command ID48");
    EXPECT_FALSE(dialog.isChecked(commandItem(dialog, 0, 0)));
    EXPECT_EQ(dialog.usageMap(UsageGrid::Send).drawnCells(), 0);
    expectCells(dialog, UsageGrid::Send, 0, 20, white);
}

TEST_F(ConflictDetectionTest, OverlappingSendRangesPaintTheSharedBytesRed) {
    addCommand(0, 3000, 10, 0, 0);
    addCommand(0, 3005, 10, 0, 0);
    ConflictDetection dialog(product);
    dialog.clickCheckBox(dialog.tree()[1]);
    expectCells(dialog, UsageGrid::Send, 0, 4, green);
    expectCells(dialog, UsageGrid::Send, 5, 9, red);
    expectCells(dialog, UsageGrid::Send, 10, 14, green);
    expectCells(dialog, UsageGrid::Send, 15, 20, white);
    EXPECT_EQ(dialog.usageMap(UsageGrid::Send).drawnCells(), 15);
}

TEST_F(ConflictDetectionTest, BytesOutsideAMemoryShowAsExceeded) {
    addCommand(0, 2990, 5, 2990, 20);
    ConflictDetection dialog(product);
    dialog.clickCheckBox(commandItem(dialog, 0, 0));
    // A send start below the memory is placed on the first cell past it.
    expectCells(dialog, UsageGrid::Send, 0, 2999, white);
    expectCells(dialog, UsageGrid::Send, 3000, 3004, yellow);
    expectCells(dialog, UsageGrid::Receive, 2990, 2999, green);
    expectCells(dialog, UsageGrid::Receive, 3000, 3009, yellow);
}

TEST_F(ConflictDetectionTest, AdvancedCommandsMarkTheirSegmentsAndMarksPastTheMapAreDropped) {
    COrlaCommand* advanced = addCommand(0, 3000, 0, 0, 50);
    advanced->itemAt(ConfigurationMode)->setValue("Advanced");
    advanced->segmentRecord(0)->setSegmentEnableCount("2");
    advanced->segmentRecord(0)->setSegmentAddress("3998");
    advanced->segmentRecord(0)->setSegmentLength("10");
    advanced->segmentRecord(1)->setSegmentAddress("10");
    advanced->segmentRecord(1)->setSegmentLength("2");
    ConflictDetection dialog(product);
    dialog.clickCheckBox(commandItem(dialog, 0, 0));
    const MemoryUsageMap& receive = dialog.usageMap(UsageGrid::Receive);
    EXPECT_EQ(receive.cellValue(0), 0); // the receive items of an Advanced command are not used
    EXPECT_EQ(receive.state(10), CellState::Valid);
    EXPECT_EQ(receive.state(3999), CellState::Exceeded);
    EXPECT_EQ(receive.drawnCells(), MemoryUsageMap::CellCount);
}

TEST_F(ConflictDetectionTest, UncheckingAChannelClearsItsItemsAndItsBytes) {
    addCommand(0, 3000, 4, 0, 4);
    addCommand(1, 3002, 4, 2, 4);
    ConflictDetection dialog(product);
    const ProjectTreeItem& channel1 = dialog.tree()[1];
    dialog.clickCheckBox(channel1);
    dialog.clickCheckBox(dialog.tree()[2]);
    expectCells(dialog, UsageGrid::Receive, 2, 3, red);
    EXPECT_TRUE(dialog.isChecked(channel1.children[0]));
    dialog.clickCheckBox(channel1);
    EXPECT_FALSE(dialog.isChecked(channel1.children[0]));
    EXPECT_FALSE(dialog.isChecked(channel1.children[0].children[0]));
    expectCells(dialog, UsageGrid::Receive, 0, 1, white);
    expectCells(dialog, UsageGrid::Receive, 2, 5, green);
    EXPECT_EQ(dialog.selectedItem(), &channel1);
}

TEST_F(ConflictDetectionTest, ClickingACommandHighlightsItsBytesAndTheNextHighlightRestoresThem) {
    addCommand(0, 3000, 4, 0, 4);
    addCommand(0, 3002, 4, 10, 2);
    ConflictDetection dialog(product);
    dialog.clickCheckBox(dialog.tree()[1]);
    const ProjectTreeItem& first = commandItem(dialog, 0, 0);
    const ProjectTreeItem& second = commandItem(dialog, 0, 1);

    dialog.clickLabel(first);
    EXPECT_EQ(dialog.highlightedCommand(), first.tag.command);
    expectCells(dialog, UsageGrid::Send, 0, 3, blue);
    expectCells(dialog, UsageGrid::Receive, 0, 3, blue);

    // A non-command label forgets the command but leaves its colour until the next highlight.
    dialog.clickLabel(dialog.tree()[1]);
    EXPECT_EQ(dialog.highlightedCommand(), nullptr);
    expectCells(dialog, UsageGrid::Send, 0, 3, blue);

    dialog.clickLabel(second);
    expectCells(dialog, UsageGrid::Send, 0, 1, green);
    expectCells(dialog, UsageGrid::Send, 2, 5, blue);
    expectCells(dialog, UsageGrid::Receive, 0, 3, green);
    expectCells(dialog, UsageGrid::Receive, 10, 11, blue);

    dialog.clickEmptySpace();
    EXPECT_EQ(dialog.selectedItem(), nullptr);
    expectCells(dialog, UsageGrid::Send, 2, 3, red);
    expectCells(dialog, UsageGrid::Send, 4, 5, green);
}

// Starts and lengths come from the file as any int: the cell indexes are taken without
// overflow, and a range that lies wholly outside the grids marks and highlights nothing.
TEST(ConflictDetectionOfAFile, ExtremeSendStartsHighlightNothing) {
    struct Case {
        const char* sendStart; // nullptr: as the file has it (-2147483000, 0 bytes)
        const char* sendLength;
    };
    for (const Case& c : {Case{nullptr, nullptr}, Case{"-2147483648", "2147483647"},
                          Case{"2147483647", "2147483647"}, Case{"-2147483648", "-2147483648"}}) {
        SCOPED_TRACE(c.sendStart ? c.sendStart : "file");
        CProductTarn product;
        product.build(GatewayModel::Vela1hTcp);
        test::ScriptedPrompt prompt;
        ASSERT_EQ(
            loadFromFile(product, prompt,
                         std::string(KORVAN_TEST_DATA_DIR) + "/conflictdetection-send-start-overflow.xml")
                .status,
            LoadStatus::Loaded);
        COrlaCommand* command = product.channel(0)->currentNodes().at(0)->commandAt(0);
        ASSERT_NE(command, nullptr);
        if (c.sendStart != nullptr) {
            command->itemAt(SendMemoryStart)->setValue(c.sendStart);
            command->itemAt(SendLengthBytes)->setValue(c.sendLength);
        }
        ConflictDetection dialog(product);
        const ProjectTreeItem& item = dialog.tree().at(1).children.at(0).children.at(0);
        dialog.clickLabel(item);
        EXPECT_EQ(dialog.highlightedCommand(), command);
        dialog.clickCheckBox(item);
        dialog.clickLabel(item);
        for (int i = 0; i < UsageGridCells; ++i)
            ASSERT_NE(dialog.cellColourAt(UsageGrid::Send, i), blue) << "cell " << i;
    }
}

TEST(UsageGridLayout, PlacesCellsAndLabelsRows) {
    EXPECT_EQ(usageGridCell(0), (GridCell{1, 1}));
    EXPECT_EQ(usageGridCell(33), (GridCell{2, 2}));
    EXPECT_EQ(usageGridCell(3999), (GridCell{125, 32}));
    EXPECT_EQ(usageGridRowLabel(UsageGrid::Send, 1), "3000");
    EXPECT_EQ(usageGridRowLabel(UsageGrid::Send, 2), "3032");
    EXPECT_EQ(usageGridRowLabel(UsageGrid::Receive, 1), "0000");
    EXPECT_EQ(usageGridRowLabel(UsageGrid::Receive, 200), "6368");
    EXPECT_EQ(usageGridRowLabel(UsageGrid::Receive, 0), "");
    EXPECT_STREQ(legendText(CellState::Selected), "Selected ");
}

} // namespace
} // namespace korvan
