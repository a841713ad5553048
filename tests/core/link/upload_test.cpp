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
#include "model/CProfilebus.h"
#include "model/CommandItems.h"
#include "network/NetworkBlocks.h"
#include "projectfile/ProjectFile.h"
#include "support/ProductDescription.h"
#include "support/SampleProjects.h"
#include "support/ScriptedPrompt.h"
#include "support/SimulatorRun.h"
#include "support/StopFromAnotherThread.h"
#include "support/TempDir.h"

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
    record.hartCommand = 48; // a command with request data: its send length is kept
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

namespace korvan {
namespace {

using Strings = std::vector<std::string>;

// One command record as a gateway holds it.
struct Polled {
    std::uint8_t address;
    std::uint8_t command;
    std::uint8_t sendLength;
};

Bytes acknowledged(GatewayLink& link, Bytes frame, std::uint8_t frameType, std::uint16_t transaction) {
    LinkRequest request;
    request.frame = std::move(frame);
    request.frameType = frameType;
    request.transaction = transaction;
    request.tcpAnswerLength = 15;
    request.serialAnswerLength = 4;
    const LinkReply reply = link.exchange(request);
    EXPECT_FALSE(reply.failed());
    return reply.answer;
}

// Configures the simulator's first channel with raw frames, as another tool could have left
// the gateway: the channel frame in the given network mode (0 point-to-point, 1 multi-drop),
// then one command frame per record.
void configureChannel(GatewayLink& link, std::uint8_t networkMode, const std::vector<Polled>& commands) {
    const Bytes channel = closeFrame({0x43, 0x0C, 0, 0, 1, 0, 100, 0x01, 0xF4, 3, networkMode,
                                      static_cast<std::uint8_t>(commands.size()), 0, 3});
    ASSERT_EQ(acknowledged(link, channel, 0x11, 1), channelAcknowledgement(0));
    for (std::size_t i = 0; i < commands.size(); ++i) {
        CommandFields fields;
        fields.sequence = static_cast<std::uint8_t>(i);
        fields.slaveAddress = commands[i].address;
        fields.hartCommand = commands[i].command;
        fields.sendStart = static_cast<std::uint16_t>(3000 + 10 * i);
        fields.sendLength = commands[i].sendLength;
        fields.receiveStart = static_cast<std::uint16_t>(10 * i);
        fields.receiveLength = 2;
        ASSERT_EQ(acknowledged(link, commandFrame(fields, false), 0x10, static_cast<std::uint16_t>(i + 1)),
                  commandAcknowledgement(0));
    }
}

struct ReopenCase {
    const char* name;
    std::uint8_t networkMode;
    std::vector<Polled> commands;
    Strings notes; // told before "Upload successfully"
};
void PrintTo(const ReopenCase& c, std::ostream* out) {
    *out << c.name;
}

class UploadedProject : public testing::TestWithParam<ReopenCase> {};

// Whatever the gateway holds, the uploaded project saved and opened again is the same
// project: a device the mode's list cannot hold is kept in the other list, and told; a
// command without request data gets send length 0, as the loader gives it.
TEST_P(UploadedProject, ReopensAsItself) {
    const ReopenCase& c = GetParam();
    sim::SimOptions options;
    options.model = GatewayModel::Vela1hTcp;
    test::SimulatorRun run(options);
    TcpGatewayLink link(run.settings());
    configureChannel(link, c.networkMode, c.commands);

    CProductTarn uploaded;
    uploaded.build(GatewayModel::Vela1hTcp);
    AppState state;
    test::ScriptedPrompt prompt;
    ASSERT_EQ(runUpload(uploaded, state, link, prompt).end, TransferEnd::Done);
    Strings shown = c.notes;
    shown.push_back("Upload successfully");
    EXPECT_EQ(prompt.shown, shown);

    test::TempDir dir;
    ASSERT_TRUE(saveToFile(uploaded, dir.file("uploaded.xml")).ok);
    CProductTarn reopened;
    reopened.build(GatewayModel::Vela1hTcp);
    ASSERT_EQ(loadFromFile(reopened, prompt, dir.file("uploaded.xml")).status, LoadStatus::Loaded);
    EXPECT_EQ(test::describeProduct(reopened), test::describeProduct(uploaded));
    int commands = 0;
    for (const PtrList<COrlaNode>* list :
         {&reopened.channel(0)->pointToPointNodes(), &reopened.channel(0)->multiDropNodes()})
        for (const COrlaNode* node : *list)
            commands += node->commandCount();
    EXPECT_EQ(commands, static_cast<int>(c.commands.size())) << "no command is lost";
}

INSTANTIATE_TEST_SUITE_P(
    Upload, UploadedProject,
    testing::Values(
        ReopenCase{
            "pointToPointDeviceAtAddress2",
            0,
            {{2, 48, 0}},
            {"Channel1 is point-to-point, but the gateway polls Node(2) at address 2: the node and its "
             "commands are kept in the multi-drop list, which is downloaded only in multi-drop mode."}},
        ReopenCase{
            "pointToPointBesideADeviceAtAddress3",
            0,
            {{0, 48, 0}, {3, 1, 0}, {3, 2, 0}},
            {"Channel1 is point-to-point, but the gateway polls Node(3) at address 3: the node and its "
             "commands are kept in the multi-drop list, which is downloaded only in multi-drop mode."}},
        ReopenCase{
            "multiDropDeviceAtAddress0",
            1,
            {{0, 48, 0}, {5, 48, 0}},
            {"Channel1 is multi-drop, but the gateway polls Node(0) at address 0: the node and its "
             "commands are kept in the point-to-point list, which is downloaded only in point-to-point "
             "mode."}},
        ReopenCase{"sendLengthOfCommandsWithoutRequestData", 0, {{0, 3, 4}, {0, 105, 7}, {0, 48, 4}}, {}}),
    [](const testing::TestParamInfo<ReopenCase>& param) { return std::string(param.param.name); });

TEST(Upload, CommandsWithoutRequestDataGetTheLoadersSendLength) {
    sim::SimOptions options;
    options.model = GatewayModel::Vela1hTcp;
    test::SimulatorRun run(options);
    TcpGatewayLink link(run.settings());
    configureChannel(link, 0, {{0, 3, 4}, {0, 48, 4}});
    CProductTarn uploaded;
    uploaded.build(GatewayModel::Vela1hTcp);
    AppState state;
    test::ScriptedPrompt prompt;
    ASSERT_EQ(runUpload(uploaded, state, link, prompt).end, TransferEnd::Done);
    const COrlaNode& node = *uploaded.channel(0)->pointToPointNodes().at(0);
    const COrlaItem& three = *node.commandAt(0)->itemAt(SendLengthBytes);
    EXPECT_EQ(three.value(), "0");
    EXPECT_EQ(three.enabled(), 0);
    EXPECT_EQ(node.commandAt(0)->itemAt(SendLengthWords)->value(), "0");
    EXPECT_EQ(node.commandAt(1)->itemAt(SendLengthBytes)->value(), "4");
    EXPECT_EQ(node.commandAt(1)->itemAt(SendLengthWords)->value(), "2");
}

struct ProtocolCase {
    const char* name;
    GatewayModel projectModel;
    bool serial;
    bool modbusTcpSerialBlock; // the gateway's serial block is first set to Modbus TCP
};
void PrintTo(const ProtocolCase& c, std::ostream* out) {
    *out << c.name;
}

class OtherProtocol : public testing::TestWithParam<ProtocolCase> {};

// An upload that reads the network side of the other protocol would save a file the same
// model refuses to open: it is refused with that file's message, and the open project stays.
TEST_P(OtherProtocol, IsRefusedAndKeepsTheOpenProject) {
    const ProtocolCase& c = GetParam();
    sim::SimOptions options;
    options.model = GatewayModel::Vela3hRtu; // it identifies itself as a serial gateway
    options.pseudoTerminal = c.serial;
    test::SimulatorRun run(options);
    std::unique_ptr<GatewayLink> link;
    if (c.serial)
        link = std::make_unique<SerialGatewayLink>(run.ptyPath());
    else
        link = std::make_unique<TcpGatewayLink>(run.settings());
    if (c.modbusTcpSerialBlock) {
        CProductTarn tcp;
        tcp.build(GatewayModel::Vela3hRtu);
        tcp.networkBus().setMode(ModbusTcpMode);
        const auto block = encodeSerialBlock(tcp.networkBus());
        LinkRequest request;
        request.frame.assign(block.begin(), block.end());
        request.serialAnswerLength = 3;
        ASSERT_EQ(link->open(), ResultCode::Success);
        ASSERT_FALSE(link->exchange(request).failed());
        link->close();
    }

    CProductTarn product;
    product.build(c.projectModel);
    test::fillSampleProject(product);
    const std::string before = test::describeProduct(product);
    AppState state;
    test::ScriptedPrompt prompt;
    const TransferOutcome outcome = runUpload(product, state, *link, prompt);
    EXPECT_EQ(outcome.end, TransferEnd::Failed);
    EXPECT_EQ(prompt.shown, Strings{"The profile protocol is inconsistent with the software protocol!"});
    EXPECT_EQ(test::describeProduct(product), before);
    EXPECT_EQ(state.projectDirty, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Upload, OtherProtocol,
    testing::Values(ProtocolCase{"serialModelOverTcp", GatewayModel::Vela3hRtu, false, false},
                    ProtocolCase{"tcpModelOverSerial", GatewayModel::Vela3hTcp, true, false},
                    ProtocolCase{"serialModelGivenModbusTcp", GatewayModel::Vela3hRtu, true, true}),
    [](const testing::TestParamInfo<ProtocolCase>& param) { return std::string(param.param.name); });

} // namespace
} // namespace korvan
