#include "app/TransferRun.h"
#include "link/ConfigurationDownload.h"
#include "link/SerialGatewayLink.h"
#include "link/TcpGatewayLink.h"
#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"
#include "model/CommandItems.h"
#include "projectfile/ProjectFile.h"
#include "support/ScriptedPrompt.h"
#include "support/SimulatorRun.h"

#include <functional>
#include <memory>

namespace korvan {
namespace {

using Strings = std::vector<std::string>;
using namespace command_item;

const std::string overflowFile = std::string(KORVAN_TEST_DATA_DIR) + "/download-segment-offset-overflow.xml";

// One point-to-point device polled with HART commands 3 and 48.
void fillTwoCommands(CProductTarn& product) {
    COrlaNode* node = product.channel(0)->addNode();
    node->addHartCommand(product.registries(), 3);
    node->addHartCommand(product.registries(), 48)->setItemInt(ReceiveMemoryStart, 40);
}

COrlaCommand& command48(CProductTarn& product) {
    return *product.channel(0)->currentNodes().at(0)->commandAt(1);
}

void loadOverflowFile(CProductTarn& product) {
    test::ScriptedPrompt prompt;
    ASSERT_EQ(loadFromFile(product, prompt, overflowFile).status, LoadStatus::Loaded);
}

struct RangeCase {
    const char* name;
    std::function<void(CProductTarn&)> fill;
    const char* message;
};
void PrintTo(const RangeCase& c, std::ostream* out) {
    *out << c.name;
}

// A value its frame field cannot carry is refused with a message naming it before anything
// is sent: nothing reaches the gateway, not even the network side's block.
class UnsendableValue : public testing::TestWithParam<RangeCase> {};

TEST_P(UnsendableValue, IsRefusedBeforeAnythingIsSent) {
    for (const bool serial : {false, true}) {
        SCOPED_TRACE(serial ? "serial" : "tcp");
        const GatewayModel model = serial ? GatewayModel::Vela3hRtu : GatewayModel::Vela1hTcp;
        sim::SimOptions options;
        options.model = model;
        options.pseudoTerminal = serial;
        test::SimulatorRun run(options);
        CProductTarn product;
        product.build(model);
        GetParam().fill(product);
        std::unique_ptr<GatewayLink> link;
        if (serial)
            link = std::make_unique<SerialGatewayLink>(run.ptyPath());
        else
            link = std::make_unique<TcpGatewayLink>(run.settings());
        test::ScriptedPrompt prompt;
        const TransferOutcome outcome = runDownload(product, *link, prompt);
        EXPECT_EQ(outcome.end, TransferEnd::Refused);
        EXPECT_EQ(outcome.code, ResultCode::OutOfRange);
        EXPECT_FALSE(outcome.mappingConflict);
        EXPECT_EQ(prompt.shown, Strings{GetParam().message});
        EXPECT_TRUE(prompt.asked.empty());
        EXPECT_TRUE(run.simulator().frames().empty());
        if (serial) {
            EXPECT_FALSE(static_cast<SerialGatewayLink&>(*link).isOpen());
        }
    }
}

void withItem(CProductTarn& product, std::size_t position, const char* value) {
    fillTwoCommands(product);
    command48(product).itemAt(position)->setValue(value);
}

void withSegment(CProductTarn& product, const char* offset, const char* length, const char* address) {
    fillTwoCommands(product);
    COrlaCommand& command = command48(product);
    command.setItemChoice(ConfigurationMode, 1);
    COrlaItem& record = *command.segmentRecord(0);
    record.setSegmentEnableCount("1");
    record.setSegmentOffset(offset);
    record.setSegmentLength(length);
    record.setSegmentAddress(address);
}

INSTANTIATE_TEST_SUITE_P(
    Download, UnsendableValue,
    testing::Values(
        RangeCase{
            "segmentOffsetOfTheFile", loadOverflowFile,
            "Channel1, Node(0), Command ID1: segment 1 offset 2147483647 does not fit the download (0~63)."},
        RangeCase{"segmentOffsetPastItsSixBits", [](CProductTarn& p) { withSegment(p, "64", "4", "0"); },
                  "Channel1, Node(0), Command ID48: segment 1 offset 64 does not fit the download (0~63)."},
        RangeCase{"segmentLength", [](CProductTarn& p) { withSegment(p, "2", "256", "0"); },
                  "Channel1, Node(0), Command ID48: segment 1 length 256 does not fit the download (0~255)."},
        RangeCase{
            "segmentAddress", [](CProductTarn& p) { withSegment(p, "2", "4", "-4"); },
            "Channel1, Node(0), Command ID48: segment 1 address -4 does not fit the download (0~65535)."},
        RangeCase{
            "sendStart", [](CProductTarn& p) { withItem(p, SendMemoryStart, "70000"); },
            "Channel1, Node(0), Command ID48: Memory Starting Address of Sending Data 70000 does not fit "
            "the download (0~65535)."},
        RangeCase{
            "sendLength", [](CProductTarn& p) { withItem(p, SendLengthBytes, "-1"); },
            "Channel1, Node(0), Command ID48: Length of Sending Data (BYTE) -1 does not fit the download "
            "(0~255)."},
        RangeCase{
            "receiveStart", [](CProductTarn& p) { withItem(p, ReceiveMemoryStart, "-2147483648"); },
            "Channel1, Node(0), Command ID48: Memory Starting Address of Receiving Data -2147483648 does "
            "not fit the download (0~65535)."},
        RangeCase{
            "receiveLength", [](CProductTarn& p) { withItem(p, ReceiveLengthBytes, "256"); },
            "Channel1, Node(0), Command ID48: Length of Receiving Data (BYTE) 256 does not fit the download "
            "(0~255)."},
        RangeCase{
            "commandNumber",
            [](CProductTarn& p) {
                fillTwoCommands(p);
                command48(p).setCommandNumber(300);
            },
            "Channel1, Node(0), Command ID48: HART command number 300 does not fit the download (0~255)."},
        RangeCase{"channelDelay",
                  [](CProductTarn& p) {
                      fillTwoCommands(p);
                      p.channel(0)->itemAt(channel_item::DelayBetweenPolls)->setValue("65536");
                  },
                  "Channel1: Delay Between Polls 65536 does not fit the download (0~65535)."}),
    [](const testing::TestParamInfo<RangeCase>& param) { return std::string(param.param.name); });

// The values at the ends of their fields still go out as they are.
TEST(Download, ValuesAtTheEndsOfTheirFieldsAreSent) {
    test::SimulatorRun run({});
    CProductTarn product;
    product.build(GatewayModel::Vela3hTcp);
    withSegment(product, "63", "255", "65535");
    command48(product).itemAt(SendMemoryStart)->setValue("65535");
    command48(product).itemAt(SendLengthBytes)->setValue("255");
    TcpGatewayLink link(run.settings());
    test::ScriptedPrompt prompt;
    EXPECT_EQ(runDownload(product, link, prompt).end, TransferEnd::Done);
    EXPECT_EQ(run.letters("tcp"), "CDDICC");
}

// A caller that runs the download itself, without the dialog's pre-check, is refused too.
TEST(Download, DownloadAllRefusesAnUnsendableValueItself) {
    sim::SimOptions options;
    options.model = GatewayModel::Vela1hTcp;
    test::SimulatorRun run(options);
    CProductTarn product;
    product.build(GatewayModel::Vela1hTcp);
    loadOverflowFile(product);
    TcpGatewayLink link(run.settings());
    test::ScriptedPrompt prompt;
    const ReportedResult result = ConfigurationDownload(product, link, prompt).downloadAll();
    EXPECT_EQ(result.code, ResultCode::OutOfRange);
    EXPECT_TRUE(result.reported);
    EXPECT_EQ(prompt.shown.size(), 1u);
    EXPECT_TRUE(run.simulator().frames().empty());
}

} // namespace
} // namespace korvan
