#include "mapping/CommandSelection.h"
#include "model/COrlaNode.h"
#include "model/ObjectRegistries.h"
#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>

namespace korvan {
namespace {

class CommandSelectionTest : public ::testing::Test {
protected:
    CommandSelectionTest() {
        node.addHartCommand(registries, 0);
        node.addHartCommand(registries, 3);
    }

    ObjectRegistries registries;
    COrlaNode node;
    test::ScriptedPrompt prompt;
};

TEST_F(CommandSelectionTest, OffersEveryNumberTheNodeDoesNotHoldInAscendingOrder) {
    const CommandSelection selection(node, 2);
    const std::vector<int>& left = selection.offeredList();
    ASSERT_EQ(left.size(), 253u);
    EXPECT_EQ((std::vector<int>(left.begin(), left.begin() + 3)), (std::vector<int>{1, 2, 4}));
    EXPECT_EQ(left.back(), 254);
    EXPECT_TRUE(selection.selectedList().empty());
    EXPECT_EQ(CommandSelection::entryText(0), "Command ID0");
}

TEST_F(CommandSelectionTest, MovesBothWaysKeepingTheLeftListAscendingAndCounting) {
    CommandSelection selection(node, 2);
    selection.moveRight(254, prompt);
    selection.moveRight(9, prompt);
    selection.moveRight(9, prompt); // already chosen
    selection.moveRight(std::nullopt, prompt);
    EXPECT_EQ(selection.selectedList(), (std::vector<int>{254, 9}));
    EXPECT_EQ(selection.count(), 4);
    selection.moveLeft(254);
    selection.moveLeft(std::nullopt);
    EXPECT_EQ(selection.offeredList().back(), 254);
    EXPECT_EQ(selection.selectedList(), std::vector<int>{9});
    EXPECT_EQ(selection.count(), 3);
    const auto chosen = selection.chosen();
    EXPECT_TRUE(chosen[9]);
    EXPECT_FALSE(chosen[254]);
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(CommandSelectionTest, StopsAtACountOf127) {
    CommandSelection selection(node, 120);
    for (int number = 10; number < 18; ++number)
        selection.moveRight(number, prompt);
    EXPECT_EQ(selection.selectedList().size(), 7u);
    EXPECT_EQ(selection.count(), 127);
    EXPECT_EQ(prompt.shown, std::vector<std::string>{"Command is more than 100"});
    EXPECT_EQ(selection.offeredList().front(), 1);
    EXPECT_NE(std::find(selection.offeredList().begin(), selection.offeredList().end(), 17),
              selection.offeredList().end());
}

TEST_F(CommandSelectionTest, DescribesCommandsFromTheCatalogue) {
    EXPECT_EQ(CommandSelection::description(4), "Reserved");
    EXPECT_EQ(CommandSelection::description(5), "Reserved");
    EXPECT_EQ(CommandSelection::description(200), "");
}

} // namespace
} // namespace korvan
