#include "hart/AdvancedConfiguration.h"
#include "hart/AdvancedConversion.h"
#include "hart/AdvancedSelectionTable.h"
#include "hart/CommandSegments.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/CommandItems.h"
#include "model/ObjectRegistries.h"
#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace korvan {
namespace {

using Messages = std::vector<std::string>;
using Texts = std::vector<std::string>;

Texts rowBytes(const AdvancedConfiguration& dialog) {
    Texts texts;
    for (std::size_t i = 0; i < dialog.rowCount(); ++i)
        texts.push_back(dialog.row(i).bytes);
    return texts;
}

Texts treeTexts(const AdvancedConfiguration& dialog) {
    Texts texts;
    for (std::size_t i = 0; i < dialog.treeCount(); ++i)
        texts.push_back(dialog.treeText(i));
    return texts;
}

std::vector<FieldRef> fields(std::initializer_list<int> indexes) {
    std::vector<FieldRef> refs;
    for (int i : indexes)
        refs.push_back(i < 0 ? FieldRef::status() : FieldRef::field(i));
    return refs;
}

TEST(ConvertToAdvanced, SelectsWhatTheBasicReceiveLengthCovered) {
    struct Case {
        int command;
        int length;
        bool stored;
        std::vector<FieldRef> selected;
    };
    const std::vector<Case> cases{
        {1, 7, false, fields({-1, 0, 1})},
        {1, 6, false, fields({-1, 0})},
        {1, 2, false, fields({-1})},
        {1, 1, false, {}},
        {1, 0, false, fields({1})},
        {1, 0, true, {}},
        {3, 0, false, fields({0, 2, 4, 6, 8})},
        {3, 12, false, fields({-1, 0, 1, 2, 3})},
        {3, 11, false, fields({-1, 0, 1, 2})},
        {4, 0, false, {}},
        {4, 20, false, fields({-1})},
    };
    for (const Case& c : cases) {
        AdvancedSelectionTable table;
        test::ScriptedPrompt prompt;
        convertToAdvanced(table, c.command, c.length, c.stored, prompt);
        EXPECT_EQ(table.canonicalSelection(c.command), c.selected) << c.command << " length " << c.length;
        EXPECT_TRUE(prompt.shown.empty());
    }
    AdvancedSelectionTable table;
    test::ScriptedPrompt prompt;
    convertToAdvanced(table, 3, 0, false, prompt);
    EXPECT_TRUE(table.entry(3, FieldRef::field(0)).swap) << "step 1 sets swap on the 4-byte fields";
}

// Command 9 has 42 fields and the status entry; its whole response would need 43 segments.
TEST(ConvertToAdvanced, NeverSelectsMoreThanTheTwentySixRecords) {
    AdvancedSelectionTable table;
    test::ScriptedPrompt prompt;
    convertToAdvanced(table, 9, 255, false, prompt);
    EXPECT_EQ(table.selectedCount(9), 26);
    EXPECT_EQ(prompt.shown, Messages{std::string(TooManySegmentsMessage)});
    EXPECT_FALSE(table.select(9, FieldRef::field(41), false, 0));
}

TEST(AdvancedConfiguration, OpeningCommandThreeProposesItsFloats) {
    AdvancedSelectionTable table;
    test::ScriptedPrompt prompt;
    AdvancedConfiguration dialog(table, 3, prompt);
    int length = 0;
    dialog.open(length, false);
    EXPECT_EQ(rowBytes(dialog), (Texts{"0-3", "5-8", "10-13", "15-18", "20-23"}));
    EXPECT_EQ(dialog.row(0).byteSwap, "Register swap");
    EXPECT_TRUE(dialog.row(0).swapEditable);
    EXPECT_EQ(treeTexts(dialog), (Texts{"Command Status", "Byte4", "Byte9", "Byte14", "Byte19"}));
    EXPECT_EQ(dialog.description(), AdvancedConfiguration::Hint);
}

TEST(AdvancedConfiguration, OpeningFromBasicConvertsOnceAndShowsWhatIsStored) {
    AdvancedSelectionTable table;
    test::ScriptedPrompt prompt;
    AdvancedConfiguration dialog(table, 1, prompt);
    int length = 7;
    dialog.open(length, false);
    EXPECT_EQ(length, 0);
    ASSERT_EQ(dialog.rowCount(), 3u);
    const SelectionRow status = dialog.row(0);
    EXPECT_EQ(status.bytes, "Command Status");
    EXPECT_EQ(status.memoryAddress, "0");
    EXPECT_EQ(status.byteSwap, "no swap");
    EXPECT_FALSE(status.swapEditable);
    EXPECT_EQ(dialog.row(1).byteSwap, "no swap");
    EXPECT_EQ(dialog.row(2).byteSwap, "Register swap");
    EXPECT_TRUE(table.entry(1, FieldRef::field(1)).swap) << "the swap shown is the swap stored";
    EXPECT_TRUE(treeTexts(dialog).empty());
}

TEST(AdvancedConfiguration, AddressesSwapsAddingAndRemoving) {
    AdvancedSelectionTable table;
    test::ScriptedPrompt prompt;
    AdvancedConfiguration dialog(table, 3, prompt);
    int length = 0;
    dialog.open(length, false);

    EXPECT_FALSE(dialog.commitAddress(0, "1600"));
    EXPECT_FALSE(dialog.commitAddress(0, "-1"));
    EXPECT_EQ(prompt.shown, (Messages{"Data out of range", "Data out of range"}));
    EXPECT_TRUE(dialog.commitAddress(0, "1599"));
    EXPECT_EQ(dialog.row(0).startingAddress, "799");
    EXPECT_TRUE(dialog.commitAddress(1, "abc"));
    EXPECT_EQ(dialog.row(1).memoryAddress, "0");
    dialog.commitSwap(1, "no swap");
    EXPECT_EQ(dialog.row(1).byteSwap, "no swap");
    dialog.commitSwap(1, std::nullopt);
    EXPECT_EQ(dialog.row(1).byteSwap, "no swap");

    // Adding the status entry rebuilds the grid in canonical order, every row at address 0.
    dialog.showTreeDescription(0);
    EXPECT_EQ(dialog.description(), "Communication Status And Response Code ");
    ASSERT_TRUE(dialog.addTreeItem(0));
    EXPECT_EQ(rowBytes(dialog), (Texts{"Command Status", "0-3", "5-8", "10-13", "15-18", "20-23"}));
    for (std::size_t i = 0; i < dialog.rowCount(); ++i)
        EXPECT_EQ(dialog.row(i).memoryAddress, "0");
    EXPECT_EQ(dialog.row(2).byteSwap, "Register swap");
    EXPECT_EQ(table.entry(3, FieldRef::field(0)).memoryAddress, 0);
    EXPECT_EQ(table.selectedCount(3), 6);

    // Removing the first row keeps the others and sends the entry to the end of the tree.
    dialog.removeRow(0);
    EXPECT_EQ(rowBytes(dialog), (Texts{"0-3", "5-8", "10-13", "15-18", "20-23"}));
    EXPECT_EQ(treeTexts(dialog), (Texts{"Byte4", "Byte9", "Byte14", "Byte19", "Command Status"}));
    EXPECT_EQ(table.selectedCount(3), 5);
    dialog.showRowDescription(1);
    EXPECT_EQ(dialog.description(), "Primary Variable");
}

TEST(AdvancedConfiguration, RefusesATwentySeventhEntry) {
    AdvancedSelectionTable table;
    test::ScriptedPrompt prompt;
    AdvancedConfiguration dialog(table, 9, prompt);
    int length = 0;
    dialog.open(length, false);
    while (dialog.rowCount() < 26)
        ASSERT_TRUE(dialog.addTreeItem(0));
    const std::size_t treeBefore = dialog.treeCount();
    EXPECT_FALSE(dialog.addTreeItem(0));
    EXPECT_EQ(dialog.rowCount(), 26u);
    EXPECT_EQ(dialog.treeCount(), treeBefore);
    EXPECT_EQ(prompt.shown, Messages{std::string(TooManySegmentsMessage)});
}

TEST(AdvancedSegments, LoadAndStoreRoundTripThroughTheRecords) {
    ObjectRegistries registries;
    COrlaCommand* command = COrlaCommand::createHart(registries, 1);
    command->setItemInt(command_item::ReceiveLengthBytes, 7);
    command->setItemInt(command_item::ReceiveMemoryStart, 40);
    AdvancedSelectionTable table;
    test::ScriptedPrompt prompt;

    AdvancedOpening opening = loadStoredSegments(table, *command, prompt);
    EXPECT_EQ(opening.receiveLength, 7);
    EXPECT_FALSE(opening.holdsStoredSegments);
    EXPECT_EQ(command->itemAt(command_item::ReceiveLengthBytes)->value(), "0");
    EXPECT_EQ(command->itemAt(command_item::ReceiveMemoryStart)->value(), "0");
    {
        AdvancedConfiguration dialog(table, 1, prompt);
        dialog.open(opening.receiveLength, opening.holdsStoredSegments);
        ASSERT_TRUE(dialog.commitAddress(0, "10"));
        ASSERT_TRUE(dialog.commitAddress(2, "12"));
    }
    ASSERT_TRUE(storeSelection(table, *command, prompt));
    EXPECT_EQ(command->segmentCount(), 3);
    struct Stored {
        const char* offset;
        const char* length;
        const char* address;
        bool swap;
    };
    const std::vector<Stored> expected{
        {"63", "2", "10", false}, {"0", "1", "0", false}, {"1", "4", "12", true}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const COrlaItem* record = command->segmentRecord(i);
        EXPECT_TRUE(record->segmentEnabled());
        EXPECT_EQ(record->segmentOffset(), expected[i].offset);
        EXPECT_EQ(record->segmentLength(), expected[i].length);
        EXPECT_EQ(record->segmentAddress(), expected[i].address);
        EXPECT_EQ(record->segmentSwap(), expected[i].swap);
    }
    EXPECT_EQ(table.selectedCount(1), 0) << "the table is cleared after storing";

    // Opening again shows the stored segments with their addresses.
    opening = loadStoredSegments(table, *command, prompt);
    EXPECT_TRUE(opening.holdsStoredSegments);
    EXPECT_EQ(command->segmentCount(), 0);
    AdvancedConfiguration dialog(table, 1, prompt);
    dialog.open(opening.receiveLength, opening.holdsStoredSegments);
    EXPECT_EQ(rowBytes(dialog), (Texts{"Command Status", "0", "1-4"}));
    EXPECT_EQ(dialog.row(0).memoryAddress, "10");
    EXPECT_EQ(dialog.row(2).startingAddress, "6");
    EXPECT_TRUE(storeSelection(table, *command, prompt));
    EXPECT_EQ(command->segmentCount(), 3);
    EXPECT_TRUE(prompt.shown.empty());

    // The response rows read the stored segments only in Advanced configuration.
    EXPECT_TRUE(configuredSegments(*command).empty());
    ASSERT_TRUE(command->setItemChoice(command_item::ConfigurationMode, 1));
    const auto segments = configuredSegments(*command);
    ASSERT_EQ(segments.size(), 3u);
    EXPECT_EQ(segments[0].startByte, 63);
    EXPECT_EQ(segments[2].length, 4);
    EXPECT_TRUE(segments[2].swap);
}

TEST(AdvancedSegments, ADisabledOrUnknownStoredSegmentIsNotSelected) {
    ObjectRegistries registries;
    COrlaCommand* command = COrlaCommand::createHart(registries, 3);
    const auto setRecord = [&](std::size_t i, const char* offset, bool enabled) {
        COrlaItem* record = command->segmentRecord(i);
        record->setSegmentEnabled(enabled);
        record->setSegmentOffset(offset);
        record->setSegmentLength("4");
        record->setSegmentAddress("8");
    };
    setRecord(0, "0", true);
    setRecord(1, "5", false);
    setRecord(2, "30", true);
    command->segmentRecord(0)->setSegmentEnableCount("3");
    AdvancedSelectionTable table;
    test::ScriptedPrompt prompt;
    static_cast<void>(loadStoredSegments(table, *command, prompt));
    EXPECT_EQ(table.canonicalSelection(3), fields({0}));
    EXPECT_EQ(table.entry(3, FieldRef::field(0)).memoryAddress, 8);
    EXPECT_EQ(prompt.shown, Messages{std::string(UnplacedSegmentsMessage)})
        << "the segment at byte 30 fits no field";
}

} // namespace
} // namespace korvan
