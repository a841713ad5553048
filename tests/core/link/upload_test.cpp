#include "app/AppState.h"
#include "app/TransferRun.h"
#include "link/CommandRestore.h"
#include "link/ConfigurationDownload.h"
#include "link/SerialGatewayLink.h"
#include "link/TcpGatewayLink.h"
#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"
#include "model/CommandItems.h"
#include "support/ScriptedPrompt.h"
#include "support/SimulatorRun.h"
#include "support/StopFromAnotherThread.h"

namespace korvan {
namespace {

using Strings = std::vector<std::string>;
using namespace command_item;

TEST(Upload, RestoringRecordsGroupsCommandsByAddressAndDerivesTheRegisters) {
    CProductTarn product;
    product.build(GatewayModel::Vela1hTcp);
    CHartbus& channel = *product.channel(0);
    channel.setMode(MultiDropMode);
    CommandFields record;
    record.sendStart = 3001;
    record.sendLength = 7;
    record.receiveStart = 2999;
    record.receiveLength = 24;
    for (std::uint8_t address : {2, 2, 5}) {
        record.slaveAddress = address;
        restoreBasicCommand(channel, product.registries(), record);
        ++record.sequence;
    }
    ASSERT_EQ(channel.multiDropNodes().size(), 2u);
    EXPECT_TRUE(channel.pointToPointNodes().empty());
    const COrlaNode& first = *channel.multiDropNodeAt(0);
    EXPECT_EQ(first.nodeName(), "Node(2)");
    EXPECT_EQ(first.commandCount(), 2);
    EXPECT_EQ(channel.multiDropNodeAt(1)->address(), 5u);
    const COrlaCommand& command = *first.commandAt(1);
    EXPECT_EQ(command.lookupKey(), 1);
    EXPECT_EQ(command.itemAt(SendRegisterStart)->value(), "1500");
    EXPECT_EQ(command.itemAt(SendLengthWords)->value(), "4");
    EXPECT_EQ(command.itemAt(ReceiveRegisterStart)->value(), "1499");
    EXPECT_EQ(command.itemAt(CommandIndex)->value(), "1");

    const std::vector<SegmentRecord> none;
    COrlaCommand* advanced = restoreAdvancedCommand(channel, product.registries(), record, none);
    EXPECT_EQ(advanced->itemAt(ConfigurationMode)->value(), "Basic");
    EXPECT_EQ(advanced->segmentRecord(0)->segmentLength(), "1");
    channel.setMode(4);
    EXPECT_EQ(restoreBasicCommand(channel, product.registries(), record), nullptr);
}

// One point-to-point device with a basic command 3 and an Advanced command 9.
void fillBasicAndAdvanced(CProductTarn& product) {
    COrlaNode* node = product.channel(0)->addNode();
    node->addHartCommand(product.registries(), 3);
    COrlaCommand* advanced = node->addHartCommand(product.registries(), 9);
    advanced->setItemChoice(ConfigurationMode, 1);
    advanced->segmentRecord(0)->setSegmentEnableCount("1");
    advanced->segmentRecord(0)->setSegmentLength("4");
    advanced->segmentRecord(0)->setSegmentAddress("10");
}

struct UploadCase {
    const char* name;
    sim::FaultPlan faults;
    ResultCode code;
    int commands; // in the project after the upload: a failed one keeps the empty project
};

sim::FaultPlan uploadFault(int badChecksumAt, int truncateAt) {
    sim::FaultPlan faults;
    faults.badChecksumAt = badChecksumAt;
    faults.truncateAt = truncateAt;
    return faults;
}

class UploadChecks : public testing::TestWithParam<UploadCase> {};

// The download takes exchanges 1-6; the upload then reads 7 the network side, 8 the channel
// record, 9 the basic command, 10 the Advanced command, 11 and 12 its table entry.
TEST_P(UploadChecks, OnlyTheRecordsThatMatterAreChecked) {
    sim::SimOptions options;
    options.model = GatewayModel::Vela1hTcp;
    options.faults = GetParam().faults;
    test::SimulatorRun run(options);
    CProductTarn original;
    original.build(GatewayModel::Vela1hTcp);
    fillBasicAndAdvanced(original);
    test::ScriptedPrompt prompt;
    TcpGatewayLink link(run.settings());
    ConfigurationDownload download(original, link, prompt);
    ASSERT_EQ(download.downloadAll().code, ResultCode::Success);

    CProductTarn uploaded;
    uploaded.build(GatewayModel::Vela1hTcp);
    AppState state;
    prompt.shown.clear();
    const TransferOutcome outcome = runUpload(uploaded, state, link, prompt);
    EXPECT_EQ(outcome.code, GetParam().code);
    EXPECT_EQ(uploaded.channel(0)->commandCount(), GetParam().commands);
    if (succeeded(GetParam().code)) {
        EXPECT_EQ(state.projectDirty, 1);
        EXPECT_EQ(prompt.shown, Strings{"Upload successfully"});
    } else {
        EXPECT_EQ(state.projectDirty, 0);
        EXPECT_TRUE(prompt.shown.empty()); // the Ethernet upload adds no message of its own
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, UploadChecks,
    testing::Values(UploadCase{"clean", {}, ResultCode::Success, 2},
                    UploadCase{"basicRecordUnchecked", uploadFault(9, 0), ResultCode::Success, 2},
                    UploadCase{"advancedRecordChecked", uploadFault(10, 0), ResultCode::UploadCheckError, 0},
                    UploadCase{"channelRecordChecked", uploadFault(8, 0), ResultCode::UploadCheckError, 0},
                    UploadCase{"shortChannelRecord", uploadFault(0, 8), ResultCode::UploadCheckError, 0}),
    [](const testing::TestParamInfo<UploadCase>& param) { return std::string(param.param.name); });

TEST(Upload, SerialFailureIsReportedAndLeavesThePortClosed) {
    sim::SimOptions options;
    options.model = GatewayModel::Vela3hRtu;
    options.pseudoTerminal = true;
    options.faults.silentFrom = 3; // the first channel record
    test::SimulatorRun run(options);
    CProductTarn product;
    product.build(GatewayModel::Vela3hRtu);
    AppState state;
    SerialGatewayLink link(run.ptyPath());
    test::ScriptedPrompt prompt;
    const TransferOutcome outcome = runUpload(product, state, link, prompt);
    EXPECT_EQ(outcome.code, ResultCode::SerialReadFailed);
    EXPECT_EQ(prompt.shown, Strings{"Failed reading serial port"});
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(run.letters("pty"), "\x01\x60\x03");
}

TEST(Upload, PortThatCannotBeOpened) {
    CProductTarn product;
    product.build(GatewayModel::Vela3hRtu);
    AppState state;
    SerialGatewayLink link("/dev/korvan-no-such-port");
    test::ScriptedPrompt prompt;
    const TransferOutcome outcome = runUpload(product, state, link, prompt);
    EXPECT_EQ(outcome.end, TransferEnd::Cancelled);
    EXPECT_EQ(outcome.code, ResultCode::OpenPortFailed);
    EXPECT_EQ(prompt.shown, Strings{"Failed openning serial port"});
}

// The stop comes from another thread once the Advanced command's record is in, before its
// table entry is asked for on the same connection: the upload ends there, shows the stop's
// message on either link (on Ethernet, where its failures add none), leaves the project
// unchanged and no connection open.
TEST(Upload, StoppedFromAnotherThreadSendsNothingMoreAndClosesTheLink) {
    struct Case {
        const char* name;
        bool serial;
        std::size_t uploadFrames; // the identification on the serial line, then network side,
                                  // channel record, basic and Advanced command records
    };
    for (const Case& c : {Case{"tcp", false, 4}, Case{"serial", true, 5}}) {
        SCOPED_TRACE(c.name);
        sim::SimOptions options;
        options.model = c.serial ? GatewayModel::Vela3hRtu : GatewayModel::Vela1hTcp;
        options.pseudoTerminal = c.serial;
        test::SimulatorRun run(options);
        std::unique_ptr<GatewayLink> link;
        if (c.serial)
            link = std::make_unique<SerialGatewayLink>(run.ptyPath());
        else
            link = std::make_unique<TcpGatewayLink>(run.settings());
        CProductTarn original;
        original.build(options.model);
        fillBasicAndAdvanced(original);
        test::ScriptedPrompt prompt;
        ASSERT_EQ(link->open(), ResultCode::Success);
        ASSERT_EQ(ConfigurationDownload(original, *link, prompt).downloadAll().code, ResultCode::Success);
        const std::size_t downloaded = run.simulator().frames().size();

        CProductTarn uploaded;
        uploaded.build(options.model);
        AppState state;
        prompt.shown.clear();
        test::StopFromAnotherThread stop(4);
        const TransferOutcome outcome = runUpload(uploaded, state, *link, prompt, stop.context());
        EXPECT_TRUE(stop.requested());
        EXPECT_EQ(outcome.end, TransferEnd::Stopped);
        EXPECT_EQ(outcome.code, ResultCode::Stopped);
        EXPECT_EQ(prompt.shown, Strings{"The operation was stopped."});
        EXPECT_EQ(state.projectDirty, 0);
        EXPECT_EQ(run.simulator().frames().size(), downloaded + c.uploadFrames);
        if (c.serial) {
            EXPECT_FALSE(static_cast<SerialGatewayLink&>(*link).isOpen());
        } else {
            EXPECT_TRUE(run.waitForNoConnection());
        }
    }
}

} // namespace
} // namespace korvan
