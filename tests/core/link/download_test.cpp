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
#include "support/ScriptedPrompt.h"
#include "support/SimulatorRun.h"
#include "support/StopFromAnotherThread.h"

#include <algorithm>
#include <chrono>

namespace korvan {
namespace {

using Strings = std::vector<std::string>;
constexpr const char* resetQuestion = "Download succeeded, whether to conduct remote reset?";

// One point-to-point device polled with HART commands 3 and 48.
void fillTwoCommands(CProductTarn& product) {
    COrlaNode* node = product.channel(0)->addNode();
    node->addHartCommand(product.registries(), 3);
    node->addHartCommand(product.registries(), 48)->setItemInt(command_item::ReceiveMemoryStart, 40);
}

sim::SimOptions simFor(GatewayModel model, bool pty = false) {
    sim::SimOptions options;
    options.model = model;
    options.pseudoTerminal = pty;
    return options;
}

TEST(Download, PointToPointChannelSendsItsFramesInOrder) {
    test::SimulatorRun run(simFor(GatewayModel::Vela1hTcp));
    CProductTarn product;
    product.build(GatewayModel::Vela1hTcp);
    fillTwoCommands(product);
    TcpGatewayLink link(run.settings());
    test::ScriptedPrompt prompt;
    const TransferOutcome outcome = runDownload(product, link, prompt);
    EXPECT_EQ(outcome.end, TransferEnd::Done);
    EXPECT_EQ(run.letters("tcp"), "CDD");
    std::vector<std::pair<int, int>> tunnels;
    std::vector<int> sequences;
    for (const sim::LoggedFrame& frame : run.simulator().frames()) {
        if (frame.port != "tcp")
            continue;
        tunnels.emplace_back(frame.transaction, frame.frameType);
        if (frame.bytes[0] == 0x44)
            sequences.push_back(frame.bytes[3]);
    }
    EXPECT_EQ(tunnels, (std::vector<std::pair<int, int>>{{1, 0x11}, {1, 0x10}, {2, 0x10}}));
    EXPECT_EQ(sequences, (std::vector<int>{0, 1}));
    // The network side first, the identity exchange last, both on the management port.
    const auto frames = run.simulator().frames();
    ASSERT_GE(frames.size(), 5u);
    EXPECT_EQ(frames.front().port, "mgmt");
    EXPECT_EQ(frames.front().bytes[3], 0x06);
    EXPECT_EQ(frames.back().port, "mgmt");
    EXPECT_EQ(frames.back().bytes[3], 0x0A);
    EXPECT_EQ(prompt.shown, Strings{resetQuestion});
    EXPECT_EQ(
        run.simulator().withEngine([](const sim::GatewayEngine& engine) { return engine.resetCount(); }), 0);
}

TEST(Download, ChannelInNeitherNetworkModeSendsOnlyItsChannelFrame) {
    test::SimulatorRun run(simFor(GatewayModel::Vela1hTcp));
    CProductTarn product;
    product.build(GatewayModel::Vela1hTcp);
    fillTwoCommands(product);
    product.channel(0)->setMode(4);
    TcpGatewayLink link(run.settings());
    test::ScriptedPrompt prompt;
    EXPECT_EQ(runDownload(product, link, prompt).end, TransferEnd::Done);
    EXPECT_EQ(run.letters("tcp"), "C");
}

TEST(Download, RefusedBeforeAnythingIsSent) {
    struct Case {
        const char* name;
        bool conflict;
        bool dhcp;
        Answer answer;
        bool sends;
    };
    for (const Case& c :
         {Case{"conflict", true, false, Answer::Yes, false}, Case{"dhcp no", false, true, Answer::No, false},
          Case{"dhcp cancel", false, true, Answer::Cancel, false},
          Case{"dhcp yes", false, true, Answer::Yes, true}}) {
        SCOPED_TRACE(c.name);
        test::SimulatorRun run(simFor(GatewayModel::Vela3hTcp));
        CProductTarn product;
        product.build(GatewayModel::Vela3hTcp);
        fillTwoCommands(product);
        if (c.conflict) {
            // Both channels send 4 bytes from 3000.
            for (std::size_t i = 1; i < 3; ++i)
                product.channel(i)
                    ->addNode()
                    ->addHartCommand(product.registries(), 35)
                    ->setItemInt(command_item::SendLengthBytes, 4);
        }
        if (c.dhcp)
            product.networkBus().ethernetItems().at(0)->setValue("DHCP");
        TcpGatewayLink link(run.settings());
        test::ScriptedPrompt prompt;
        prompt.answerNext(c.answer);
        const TransferOutcome outcome = runDownload(product, link, prompt);
        EXPECT_EQ(outcome.end, c.sends ? TransferEnd::Done : TransferEnd::Refused);
        EXPECT_EQ(outcome.mappingConflict, c.conflict);
        EXPECT_EQ(run.simulator().frames().empty(), !c.sends);
        if (c.conflict) {
            EXPECT_EQ(prompt.shown, Strings{"Memory mapping has conflicts!"});
        }
        if (c.dhcp) {
            ASSERT_FALSE(prompt.asked.empty());
            EXPECT_EQ(prompt.asked.front(), QuestionId::ContinueWithDhcp);
        }
    }
}

TEST(Download, RemoteResetOverTcpThenTheIdentityExchange) {
    test::SimulatorRun run(simFor(GatewayModel::Vela1hTcp));
    CProductTarn product;
    product.build(GatewayModel::Vela1hTcp);
    TcpGatewayLink link(run.settings());
    test::ScriptedPrompt prompt;
    prompt.answerNext(Answer::Yes);
    EXPECT_EQ(runDownload(product, link, prompt).end, TransferEnd::Done);
    EXPECT_EQ(prompt.asked, std::vector<QuestionId>{QuestionId::RemoteReset});
    // network side, 'C', reset, identity; the reset gets no answer, so wait until it is in.
    ASSERT_TRUE(run.waitForFrames(4));
    const auto frames = run.simulator().frames();
    const auto reset = std::find_if(frames.begin(), frames.end(),
                                    [](const sim::LoggedFrame& frame) { return frame.bytes[0] == 0xEB; });
    ASSERT_NE(reset, frames.end());
    EXPECT_EQ(reset->bytes, (Bytes{0xEB, 0x01, 0x01, 0xED}));
    EXPECT_EQ(reset->port, "tcp");
    EXPECT_EQ(reset->transaction, 0);
    EXPECT_EQ(reset->frameType, 0x11);
    EXPECT_EQ(frames.back().port, "mgmt");
    EXPECT_EQ(frames.back().bytes[3], 0x0A);
}

TEST(Download, SerialLineIdentifiesTheGatewayAndClosesEachChannel) {
    test::SimulatorRun run(simFor(GatewayModel::Vela3hRtu, true));
    CProductTarn product;
    product.build(GatewayModel::Vela3hRtu);
    fillTwoCommands(product);
    SerialGatewayLink link(run.ptyPath());
    test::ScriptedPrompt prompt;
    prompt.answerNext(Answer::Yes);
    EXPECT_EQ(runDownload(product, link, prompt).end, TransferEnd::Done);
    EXPECT_TRUE(run.waitForFrames(12));
    // Preamble, identification, network block, then per channel 'C', commands and the
    // closing frame; the reset goes last and no identity exchange follows on the serial line.
    EXPECT_EQ(run.letters("pty"), "\x4F\x01\x42"
                                  "CDD\x4F"
                                  "C\x4F"
                                  "C\x4F\xEB");
    const auto frames = run.simulator().frames();
    EXPECT_EQ(frames[3].bytes[1], 0x0C);
    EXPECT_EQ(frames[4].bytes[1], 0x0B); // a basic command over the serial line
    EXPECT_EQ(frames[6].bytes, (Bytes{0x4F, 0x01, 0x00, 0x50}));
    EXPECT_FALSE(link.isOpen());
}

TEST(Download, SerialGatewayOfAnotherTypeIsNotConfigured) {
    test::SimulatorRun run(simFor(GatewayModel::Vela3hTcp, true));
    CProductTarn product;
    product.build(GatewayModel::Vela3hRtu);
    SerialGatewayLink link(run.ptyPath());
    test::ScriptedPrompt prompt;
    EXPECT_EQ(runDownload(product, link, prompt).end, TransferEnd::Cancelled);
    EXPECT_EQ(prompt.shown, Strings{"Device's type not match"});
    EXPECT_EQ(run.letters("pty"), "\x4F\x01");
}

TEST(Download, RefusedCommandEndsAMultiDropChannel) {
    sim::SimOptions options = simFor(GatewayModel::Vela1hTcp);
    options.faults.badChecksumAt = 3; // the first command's acknowledgement
    test::SimulatorRun run(options);
    CProductTarn product;
    product.build(GatewayModel::Vela1hTcp);
    CHartbus& channel = *product.channel(0);
    channel.setMode(MultiDropMode);
    for (int i = 0; i < 2; ++i)
        channel.addNode()
            ->addHartCommand(product.registries(), 1)
            ->setItemInt(command_item::ReceiveMemoryStart, 20 * i);
    TcpGatewayLink link(run.settings());
    test::ScriptedPrompt prompt;
    const TransferOutcome outcome = runDownload(product, link, prompt);
    EXPECT_EQ(outcome.end, TransferEnd::Failed);
    EXPECT_EQ(outcome.code, ResultCode::UploadCheckError);
    EXPECT_EQ(run.letters("tcp"), "CD");
    EXPECT_EQ(prompt.shown, Strings{"Data upload check error"});
}

// The configuration mode a command downloads in is the one its item shows, also when a damaged
// file's choice list lacks the value or holds it at another place: the pre-check and the frame
// count read the value, so the gateway must get what they checked and counted.
TEST(Download, CommandDownloadsInTheConfigurationModeItShows) {
    struct Case {
        const char* name;
        const char* value;
        Strings choices;
        const char* letters;
        std::uint8_t advancedFlag;
    };
    const Case cases[] = {
        {"Advanced, missing from the list", "Advanced", {"Basic"}, "CDI", 1},
        {"Basic, listed second", "Basic", {"Advanced", "Basic"}, "CD", 0},
        {"Advanced, listed first", "Advanced", {"Advanced", "Basic"}, "CDI", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::SimulatorRun run(simFor(GatewayModel::Vela1hTcp));
        CProductTarn product;
        product.build(GatewayModel::Vela1hTcp);
        COrlaCommand* command = product.channel(0)->addNode()->addHartCommand(product.registries(), 3);
        COrlaItem* segment = command->segmentRecord(0);
        segment->setSegmentEnabled(true);
        segment->setSegmentLength("4");
        segment->setSegmentEnableCount("1");
        COrlaItem* mode = command->itemAt(command_item::ConfigurationMode);
        mode->setValue(c.value);
        mode->choices() = c.choices;
        TcpGatewayLink link(run.settings());
        test::ScriptedPrompt prompt;
        std::pair<int, int> progress;
        const TransferOutcome outcome =
            runDownload(product, link, prompt, OperationContext([&](int done, int total) {
                            progress = {done, total};
                        }));
        EXPECT_EQ(outcome.end, TransferEnd::Done);
        EXPECT_EQ(run.letters("tcp"), c.letters);
        for (const sim::LoggedFrame& frame : run.simulator().frames()) {
            if (frame.port == "tcp" && frame.bytes[0] == 0x44) {
                EXPECT_EQ(frame.bytes[13], c.advancedFlag);
            }
        }
        EXPECT_EQ(progress.first, progress.second);
    }
}

struct Fault {
    const char* name;
    sim::FaultPlan plan;
    bool serial;
    ResultCode code;
    Strings shown;
};

sim::FaultPlan rubbish(int garbageAt, int closeAt) {
    sim::FaultPlan faults;
    faults.garbageAt = garbageAt;
    faults.closeAt = closeAt;
    return faults;
}

sim::FaultPlan plan(int silentFrom, int badChecksumAt, int truncateAt, int lateAt, bool refuse = false) {
    sim::FaultPlan faults;
    faults.silentFrom = silentFrom;
    faults.badChecksumAt = badChecksumAt;
    faults.truncateAt = truncateAt;
    faults.lateAt = lateAt;
    faults.lateMs = 3500;
    faults.refuseConnections = refuse;
    return faults;
}

class DownloadFault : public testing::TestWithParam<Fault> {};

TEST_P(DownloadFault, EndsWithItsMessageAndCodeInBoundedTime) {
    const Fault& fault = GetParam();
    const GatewayModel model = fault.serial ? GatewayModel::Vela3hRtu : GatewayModel::Vela1hTcp;
    sim::SimOptions options = simFor(model, fault.serial);
    options.faults = fault.plan;
    test::SimulatorRun run(options);
    CProductTarn product;
    product.build(model);
    fillTwoCommands(product);
    std::unique_ptr<GatewayLink> link;
    if (fault.serial)
        link = std::make_unique<SerialGatewayLink>(run.ptyPath());
    else
        link = std::make_unique<TcpGatewayLink>(run.settings());
    test::ScriptedPrompt prompt;
    const auto began = std::chrono::steady_clock::now();
    const TransferOutcome outcome = runDownload(product, *link, prompt);
    EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(10));
    EXPECT_EQ(outcome.end, TransferEnd::Failed);
    EXPECT_EQ(outcome.code, fault.code);
    EXPECT_EQ(prompt.shown, fault.shown);
}

// Exchanges on TCP: 1 the network side, 2 'C', 3 and 4 'D'. On the serial line: 1 preamble,
// 2 identification, 3 the network block, 4 'C'.
INSTANTIATE_TEST_SUITE_P(
    Faults, DownloadFault,
    testing::Values(
        Fault{"refused",
              plan(0, 0, 0, 0, true),
              false,
              ResultCode::TcpFailure,
              {"Connection fails, make sure the IP address and port number are correct!", "Unknown Error!"}},
        Fault{"silentNetworkSide",
              plan(1, 0, 0, 0),
              false,
              ResultCode::TcpFailure,
              {"Write configuration failed!", "Unknown Error!"}},
        Fault{"silentChannel",
              plan(2, 0, 0, 0),
              false,
              ResultCode::TcpFailure,
              {"Reads the configuration fails, verify the IP address and port number are correct!",
               "Unknown Error!"}},
        Fault{"badChecksum",
              plan(0, 2, 0, 0),
              false,
              ResultCode::UploadCheckError,
              {"Data upload check error"}},
        Fault{
            "truncated", plan(0, 0, 4, 0), false, ResultCode::UploadCheckError, {"Data upload check error"}},
        Fault{"rubbish", rubbish(2, 0), false, ResultCode::UploadCheckError, {"Data upload check error"}},
        Fault{"closedEarly",
              rubbish(0, 2),
              false,
              ResultCode::TcpFailure,
              {"Reads the configuration fails, verify the IP address and port number are correct!",
               "Unknown Error!"}},
        Fault{
            "serialRubbish", rubbish(4, 0), true, ResultCode::UploadCheckError, {"Data upload check error"}},
        Fault{"lateCommand",
              plan(0, 0, 0, 4),
              false,
              ResultCode::CheckError,
              {"The 2 command failed to download!",
               "Reads the configuration fails, verify that the IP address is correct!", "Check error"}},
        Fault{"serialSilent",
              plan(3, 0, 0, 0),
              true,
              ResultCode::SerialReadFailed,
              {"Failed reading serial port"}},
        Fault{"serialBadChecksum",
              plan(0, 4, 0, 0),
              true,
              ResultCode::UploadCheckError,
              {"Data upload check error"}}),
    [](const testing::TestParamInfo<Fault>& param) { return std::string(param.param.name); });

} // namespace
} // namespace korvan

namespace korvan {
namespace {

// One answer in two parts is still one good answer, on either link: the read goes on until
// the expected length has arrived.
TEST(Download, AnswerArrivingInTwoPartsIsAccepted) {
    for (const bool serial : {false, true}) {
        SCOPED_TRACE(serial);
        const GatewayModel model = serial ? GatewayModel::Vela3hRtu : GatewayModel::Vela1hTcp;
        sim::SimOptions options = simFor(model, serial);
        options.faults.splitAt = serial ? 4 : 2; // the channel frame's acknowledgement
        test::SimulatorRun run(options);
        CProductTarn product;
        product.build(model);
        fillTwoCommands(product);
        std::unique_ptr<GatewayLink> link;
        if (serial)
            link = std::make_unique<SerialGatewayLink>(run.ptyPath());
        else
            link = std::make_unique<TcpGatewayLink>(run.settings());
        test::ScriptedPrompt prompt;
        EXPECT_EQ(runDownload(product, *link, prompt).end, TransferEnd::Done);
    }
}

} // namespace
} // namespace korvan

namespace korvan {
namespace {

TEST(Download, SecondDownloadNumbersItsFailingCommandFromOneAgain) {
    sim::SimOptions options = simFor(GatewayModel::Vela1hTcp);
    options.faults.lateAt = 3;     // the first download's first command
    options.faults.lateMs = 3100;  // just past the command's receive time-out
    options.faults.silentFrom = 6; // the second download's first command, and everything after
    test::SimulatorRun run(options);
    CProductTarn product;
    product.build(GatewayModel::Vela1hTcp);
    fillTwoCommands(product);
    TcpGatewayLink link(run.settings());
    test::ScriptedPrompt prompt;
    ConfigurationDownload download(product, link, prompt);
    for (int attempt = 0; attempt < 2; ++attempt) {
        prompt.shown.clear();
        EXPECT_EQ(download.downloadAll().code, ResultCode::CheckError);
        EXPECT_EQ(prompt.shown,
                  (Strings{"The 1 command failed to download!",
                           "Reads the configuration fails, verify that the IP address is correct!"}));
    }
}

} // namespace
} // namespace korvan

namespace korvan {
namespace {

// The stop comes from another thread after the network side's block and the channel frame:
// the first command is never sent, the reset question never asked, and the stop's own
// message is the only one shown.
TEST(Download, StoppedFromAnotherThreadSendsNothingMoreAndClosesTheLink) {
    struct Case {
        const char* name;
        bool serial;
        const char* port;
        std::string letters; // the private frames received on the port, by their first byte
        std::size_t frames;  // on every port
    };
    // Over TCP the network side goes to the management port; the serial line first sends the
    // preamble and the identification, then the network block and 'C'.
    for (const Case& c :
         {Case{"tcp", false, "tcp", "C", 2}, Case{"serial", true, "pty", "\x4F\x01\x42\x43", 4}}) {
        SCOPED_TRACE(c.name);
        const GatewayModel model = c.serial ? GatewayModel::Vela3hRtu : GatewayModel::Vela1hTcp;
        test::SimulatorRun run(simFor(model, c.serial));
        CProductTarn product;
        product.build(model);
        fillTwoCommands(product);
        std::unique_ptr<GatewayLink> link;
        if (c.serial)
            link = std::make_unique<SerialGatewayLink>(run.ptyPath());
        else
            link = std::make_unique<TcpGatewayLink>(run.settings());
        test::ScriptedPrompt prompt;
        test::StopFromAnotherThread stop(2);
        const TransferOutcome outcome = runDownload(product, *link, prompt, stop.context());
        EXPECT_TRUE(stop.requested());
        EXPECT_EQ(outcome.end, TransferEnd::Stopped);
        EXPECT_EQ(outcome.code, ResultCode::Stopped);
        EXPECT_EQ(prompt.shown, Strings{"The operation was stopped."});
        EXPECT_EQ(run.letters(c.port), c.letters);
        EXPECT_EQ(run.simulator().frames().size(), c.frames);
        if (c.serial) {
            EXPECT_FALSE(static_cast<SerialGatewayLink&>(*link).isOpen());
        } else {
            EXPECT_TRUE(run.waitForNoConnection());
        }
    }
}

} // namespace
} // namespace korvan
