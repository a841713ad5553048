#include "base/Decimal.h"
#include "mapping/AutoMapping.h"
#include "mapping/ConflictCheck.h"
#include "mapping/MappingCollector.h"
#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"
#include "model/CommandItems.h"
#include "support/SampleProjects.h"
#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>
#include <random>

namespace korvan {
namespace {

using namespace command_item;

struct OverlapCase {
    const char* what;
    std::vector<MemoryRange> ranges;
    bool conflict;
};

TEST(RangesOverlap, FollowsThePairwiseRuleOnTheCasesThatMatter) {
    const OverlapCase cases[] = {
        {"empty list", {}, false},
        {"one range", {{3000, 10}}, false},
        {"touching ranges", {{3000, 10}, {3010, 5}}, false},
        {"partial overlap", {{3000, 10}, {3005, 10}}, true},
        {"nested range", {{3000, 20}, {3005, 2}}, true},
        {"equal starts, both with bytes", {{3000, 4}, {3000, 8}}, true},
        {"equal starts, one zero long", {{3000, 4}, {3000, 0}}, false},
        {"equal starts, both zero long", {{3000, 0}, {3000, 0}}, false},
        {"zero long inside another range", {{3000, 10}, {3004, 0}}, true},
        {"zero long at the end of another range", {{3000, 10}, {3010, 0}}, false},
        {"negative length inside another range", {{3000, 10}, {3004, -3}}, true},
        {"negative length covers nothing", {{3000, -10}, {2995, 3}}, false},
        {"far range reaches over later ones", {{0, 100}, {10, 1}, {50, 1}}, true},
        {"unsorted disjoint", {{50, 5}, {0, 10}, {20, 5}}, false},
        {"saturated start does not wrap", {{2147483647, 2147483647}, {0, 5}}, false},
    };
    for (const OverlapCase& c : cases) {
        EXPECT_EQ(rangesOverlapPairwise(c.ranges), c.conflict) << c.what;
        EXPECT_EQ(rangesOverlap(c.ranges), c.conflict) << c.what;
    }
}

// Small address spaces and short lengths make equal starts, nesting and touching common.
TEST(RangesOverlap, AgreesWithThePairwiseRuleOnRandomLists) {
    std::mt19937 random(20261210);
    int conflicts = 0;
    for (int round = 0; round < 20000; ++round) {
        const int span = 4 + static_cast<int>(random() % 60);
        std::vector<MemoryRange> ranges(random() % 9);
        for (MemoryRange& range : ranges) {
            range.start = static_cast<int>(random() % static_cast<unsigned>(span));
            range.length = static_cast<int>(random() % 8) - (random() % 10 == 0 ? 3 : 0);
        }
        const bool expected = rangesOverlapPairwise(ranges);
        conflicts += expected;
        ASSERT_EQ(rangesOverlap(ranges), expected) << "round " << round;
    }
    // Both answers must be well represented for the comparison to mean anything.
    EXPECT_GT(conflicts, 2000);
    EXPECT_LT(conflicts, 18000);
}

class ProjectConflictTest : public ::testing::Test {
protected:
    ProjectConflictTest() { product.build(GatewayModel::Vela3hTcp); }

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

    static void makeAdvanced(COrlaCommand& command, std::initializer_list<MemoryRange> segments) {
        command.itemAt(ConfigurationMode)->setValue("Advanced");
        std::size_t i = 0;
        for (const MemoryRange& segment : segments) {
            COrlaItem* record = command.segmentRecord(i++);
            record->setSegmentAddress(decimalText(segment.start));
            record->setSegmentLength(decimalText(segment.length));
        }
        command.segmentRecord(0)->setSegmentEnableCount(
            decimalText(static_cast<std::int64_t>(segments.size())));
    }

    CProductTarn product;
};

TEST_F(ProjectConflictTest, CleanLayoutAcrossChannelsPasses) {
    addCommand(0, 3000, 4, 0, 10);
    addCommand(1, 3004, 0, 10, 25);
    addCommand(2, 3004, 6, 35, 2);
    EXPECT_FALSE(hasMappingConflict(product));
}

TEST_F(ProjectConflictTest, OverlapBetweenChannelsIsFound) {
    addCommand(0, 3000, 4, 0, 10);
    addCommand(2, 3010, 4, 9, 5);
    EXPECT_TRUE(hasMappingConflict(product));
}

TEST_F(ProjectConflictTest, AdvancedCommandsAreCheckedBySegmentsNotByTheirReceiveItems) {
    // The receive items of an Advanced command are not used: only its segments count.
    COrlaCommand* advanced = addCommand(0, 3000, 0, 0, 200);
    makeAdvanced(*advanced, {{100, 2}, {110, 4}});
    addCommand(0, 3000, 0, 0, 50);
    EXPECT_FALSE(hasMappingConflict(product));
    addCommand(1, 3000, 0, 111, 1);
    EXPECT_TRUE(hasMappingConflict(product));
}

TEST_F(ProjectConflictTest, OnlyTheCurrentNetworkModesNodesCount) {
    addCommand(0, 3000, 4, 0, 10);
    addCommand(0, 3000, 4, 0, 10); // same node: conflicts while point-to-point is current
    EXPECT_TRUE(hasMappingConflict(product));
    product.channel(0)->setMode(MultiDropMode);
    EXPECT_FALSE(hasMappingConflict(product));
}

TEST_F(ProjectConflictTest, NonNumericTextReadsAsZero) {
    COrlaCommand* command = addCommand(0, 3000, 4, 0, 10);
    command->itemAt(SendMemoryStart)->setValue("abc");
    command->itemAt(SendLengthBytes)->setValue("");
    const MappingLists lists = collectMappings(product);
    ASSERT_EQ(lists.send.size(), 1u);
    EXPECT_EQ(lists.send[0], (MemoryRange{0, 0}));
    EXPECT_FALSE(hasMappingConflict(product));
}

TEST_F(ProjectConflictTest, CommandMissingAMappingItemIsLeftOut) {
    COrlaCommand* shortCommand = addCommand(0, 3000, 4, 0, 10);
    addCommand(0, 3000, 4, 0, 10);
    while (shortCommand->items().size() > ReceiveLengthBytes)
        static_cast<void>(shortCommand->removeItem(shortCommand->items().back()));
    EXPECT_FALSE(hasMappingConflict(product));
}

// Random small projects over a narrow address window: Basic and Advanced commands, zero
// lengths, equal starts and touching ranges all come up.
TEST(RandomProjects, PreCheckAnswersAsThePairwiseRule) {
    std::mt19937 random(4242);
    const auto pick = [&](int below) { return static_cast<int>(random() % static_cast<unsigned>(below)); };
    int conflicts = 0;
    for (int round = 0; round < 300; ++round) {
        CProductTarn product;
        product.build(GatewayModel::Vela3hTcp);
        for (CHartbus* channel : product.channels()) {
            COrlaNode* node = channel->addNode();
            for (int c = pick(3); c > 0; --c) {
                COrlaCommand* command = node->addHartCommand(product.registries(), 48);
                command->setItemInt(SendMemoryStart, 3000 + pick(40));
                command->setItemInt(SendLengthBytes, pick(6));
                command->setItemInt(ReceiveMemoryStart, pick(40));
                command->setItemInt(ReceiveLengthBytes, pick(6));
                if (pick(2) == 0)
                    continue;
                command->itemAt(ConfigurationMode)->setValue("Advanced");
                const int segments = pick(4);
                command->segmentRecord(0)->setSegmentEnableCount(decimalText(segments));
                for (int i = 0; i < segments; ++i) {
                    command->segmentRecord(static_cast<std::size_t>(i))
                        ->setSegmentAddress(decimalText(pick(60)));
                    command->segmentRecord(static_cast<std::size_t>(i))
                        ->setSegmentLength(decimalText(pick(5)));
                }
            }
        }
        const MappingLists lists = collectMappings(product);
        const bool expected = rangesOverlapPairwise(lists.send) || rangesOverlapPairwise(lists.receive);
        conflicts += expected;
        ASSERT_EQ(hasMappingConflict(product), expected) << "round " << round;
    }
    EXPECT_GT(conflicts, 30);
    EXPECT_LT(conflicts, 270);
}

TEST(MaximalProject, AutomaticMappingLeavesNoConflictAndAMovedSegmentMakesOne) {
    CProductTarn product;
    product.build(GatewayModel::Vela3hTcp);
    test::fillMaximalProject(product);
    test::ScriptedPrompt prompt;
    prompt.answerNext(Answer::Yes);
    ASSERT_TRUE(autoMapAddresses(product, prompt));
    const MappingLists lists = collectMappings(product);
    EXPECT_EQ(lists.receive.size(), 3u * MaxChannelCommands * SegmentRecordCount);
    EXPECT_FALSE(hasMappingConflict(product));

    COrlaItem* segment = product.channel(2)->currentNodes().back()->commands().back()->segmentRecord(25);
    segment->setSegmentAddress(decimalText(lists.receive[5].start + 1));
    EXPECT_TRUE(hasMappingConflict(product));
}

} // namespace
} // namespace korvan
