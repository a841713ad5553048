#include "base/Decimal.h"
#include "mapping/AutoMapping.h"
#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"
#include "model/CommandItems.h"
#include "support/ProductDescription.h"
#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>

namespace korvan {
namespace {

using namespace command_item;
using Strings = std::vector<std::string>;

const std::string question = "Whether auto mapping address?";
const std::string done = "Automatic mapping is done!";

class AutoMappingTest : public ::testing::Test {
protected:
    explicit AutoMappingTest(GatewayModel model = GatewayModel::Vela3hTcp) { product.build(model); }

    COrlaCommand* addCommand(std::size_t channel, int sendLength, int receiveLength, unsigned number = 48) {
        CHartbus* bus = product.channel(channel);
        COrlaNode* node = bus->currentNodes().empty() ? bus->addNode() : bus->currentNodes().front();
        COrlaCommand* command = node->addHartCommand(product.registries(), number);
        command->setItemInt(SendLengthBytes, sendLength);
        command->setItemInt(ReceiveLengthBytes, receiveLength);
        return command;
    }

    std::vector<std::string> runYes() {
        prompt.answerNext(Answer::Yes);
        EXPECT_TRUE(autoMapAddresses(product, prompt));
        return prompt.shown;
    }

    static std::string item(const COrlaCommand* command, std::size_t position) {
        return command->itemAt(position)->value();
    }

    CProductTarn product;
    test::ScriptedPrompt prompt;
};

TEST_F(AutoMappingTest, LaysCommandsOutAcrossChannelsWithRegistersAndWords) {
    COrlaCommand* first = addCommand(0, 0, 25);
    COrlaCommand* odd = addCommand(0, 7, 3);
    COrlaCommand* second = addCommand(1, 0, 25);
    EXPECT_EQ(runYes(), (Strings{question, done}));

    const struct {
        const COrlaCommand* command;
        const char* sendStart;
        const char* sendRegister;
        const char* sendWords;
        const char* receiveStart;
        const char* receiveRegister;
        const char* receiveWords;
    } expected[] = {
        {first, "3000", "1500", "0", "0", "0", "13"},
        {odd, "3000", "1500", "4", "25", "12", "2"},
        {second, "3007", "1503", "0", "28", "14", "13"},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.sendStart + std::string("/") + e.receiveStart);
        EXPECT_EQ(item(e.command, SendMemoryStart), e.sendStart);
        EXPECT_EQ(item(e.command, SendRegisterStart), e.sendRegister);
        EXPECT_EQ(item(e.command, SendLengthWords), e.sendWords);
        EXPECT_EQ(item(e.command, ReceiveMemoryStart), e.receiveStart);
        EXPECT_EQ(item(e.command, ReceiveRegisterStart), e.receiveRegister);
        EXPECT_EQ(item(e.command, ReceiveLengthWords), e.receiveWords);
    }
}

TEST_F(AutoMappingTest, AdvancedCommandGetsItsSegmentsLaidOutInsteadOfItsReceiveLength) {
    addCommand(0, 0, 10);
    COrlaCommand* advanced = addCommand(0, 0, 99);
    advanced->itemAt(ConfigurationMode)->setValue("Advanced");
    advanced->segmentRecord(0)->setSegmentEnableCount("2");
    advanced->segmentRecord(0)->setSegmentLength("2");
    advanced->segmentRecord(1)->setSegmentLength("4");
    COrlaCommand* after = addCommand(0, 0, 1);
    static_cast<void>(runYes());
    EXPECT_EQ(item(advanced, ReceiveMemoryStart), "10");
    EXPECT_EQ(advanced->segmentRecord(0)->segmentAddress(), "10");
    EXPECT_EQ(advanced->segmentRecord(1)->segmentAddress(), "12");
    EXPECT_EQ(item(after, ReceiveMemoryStart), "16");
}

// The checks run after each channel on the running counters, so a run-over repeats for every
// later channel; the receive limit is 2600 although the memory reaches 2999.
TEST_F(AutoMappingTest, OverflowIsReportedAfterEachChannelFromTheOneThatRanOver) {
    const std::string sendOverflow = "Data memory starting address to send overflow";
    const std::string receiveOverflow = "Starting address of memory to receive data overflow";
    const struct {
        const char* what;
        int sendBytes;
        int receiveBytes;
        Strings messages;
    } cases[] = {
        {"send exactly full", 2000, 0, {question, done}},
        {"one send byte over", 2001, 0, {question, sendOverflow, sendOverflow, done}},
        {"receive at its limit", 0, 2600, {question, done}},
        {"one receive byte over the limit", 0, 2601, {question, receiveOverflow, receiveOverflow, done}},
        {"both over: send is told", 2001, 2601, {question, sendOverflow, sendOverflow, done}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CProductTarn fresh;
        fresh.build(GatewayModel::Vela3hTcp);
        test::ScriptedPrompt run;
        COrlaNode* node = fresh.channel(1)->addNode();
        // Split the totals over commands that each stay within 0-255 bytes.
        for (int send = c.sendBytes, receive = c.receiveBytes; send > 0 || receive > 0;) {
            COrlaCommand* command = node->addHartCommand(fresh.registries(), 48);
            command->setItemInt(SendLengthBytes, std::min(send, 250));
            command->setItemInt(ReceiveLengthBytes, std::min(receive, 250));
            send -= std::min(send, 250);
            receive -= std::min(receive, 250);
        }
        run.answerNext(Answer::Yes);
        EXPECT_TRUE(autoMapAddresses(fresh, run));
        EXPECT_EQ(run.shown, c.messages);
    }
}

TEST_F(AutoMappingTest, AnyAnswerButYesChangesNothing) {
    addCommand(0, 4, 4);
    addCommand(2, 4, 4)->itemAt(SendMemoryStart)->setValue("4000");
    const std::string before = test::describeProduct(product);
    for (Answer answer : {Answer::No, Answer::Cancel}) {
        test::ScriptedPrompt run;
        run.answerNext(answer);
        EXPECT_FALSE(autoMapAddresses(product, run));
        EXPECT_EQ(run.shown, Strings{question});
        EXPECT_EQ(run.asked, std::vector{QuestionId::AutoMapAddresses});
        EXPECT_EQ(test::describeProduct(product), before);
    }
}

TEST_F(AutoMappingTest, NonNumericTextCountsAsZeroAndMissingLengthsSkipTheCommand) {
    COrlaCommand* garbled = addCommand(0, 0, 0);
    garbled->itemAt(SendLengthBytes)->setValue("x7");
    garbled->itemAt(ReceiveLengthBytes)->setValue("");
    COrlaCommand* shortCommand = addCommand(0, 5, 5);
    while (shortCommand->items().size() > ReceiveLengthBytes)
        static_cast<void>(shortCommand->removeItem(shortCommand->items().back()));
    COrlaCommand* last = addCommand(0, 1, 1);
    EXPECT_EQ(runYes(), (Strings{question, "Receive data length is empty!", done}));
    EXPECT_EQ(item(garbled, SendLengthWords), "0");
    EXPECT_EQ(item(shortCommand, SendMemoryStart), "3000");
    EXPECT_EQ(shortCommand->items().exactlyAt(ReceiveLengthBytes), nullptr);
    EXPECT_EQ(item(last, SendMemoryStart), "3000");
    EXPECT_EQ(item(last, ReceiveMemoryStart), "0");
}

TEST_F(AutoMappingTest, OnlyTheCurrentNetworkModesNodesAreMapped) {
    COrlaCommand* pointToPoint = addCommand(0, 4, 4);
    pointToPoint->itemAt(SendMemoryStart)->setValue("4444");
    product.channel(0)->setMode(MultiDropMode);
    COrlaCommand* multiDrop = addCommand(0, 4, 4);
    multiDrop->itemAt(SendMemoryStart)->setValue("4444");
    static_cast<void>(runYes());
    EXPECT_EQ(item(pointToPoint, SendMemoryStart), "4444");
    EXPECT_EQ(item(multiDrop, SendMemoryStart), "3000");
}

} // namespace
} // namespace korvan
