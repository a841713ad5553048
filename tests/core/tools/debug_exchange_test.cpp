#include "link/ConfigurationDownload.h"
#include "link/ConfigurationUpload.h"
#include "link/SerialGatewayLink.h"
#include "link/TcpGatewayLink.h"
#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"
#include "model/CommandItems.h"
#include "support/ScriptedPrompt.h"
#include "support/SimulatorRun.h"
#include "tools/CommandDataExchange.h"
#include "tools/DiagnoseExchange.h"
#include "tools/MemoryExchange.h"
#include "tools/PassThroughExchange.h"

#include <functional>

namespace korvan {
namespace {

using Strings = std::vector<std::string>;

TEST(DiagnoseFrames, ChannelAndNodeStatusReplies) {
    const auto rows = channelStatusRows(Bytes{0x05, 0x00, 0x00, 0x02, 0x0A, 0x09, 0x01, 0x1B, 0x00});
    ASSERT_TRUE(rows);
    Strings values;
    for (const DiagnoseRow& row : *rows)
        values.push_back(row.item + "=" + row.value);
    EXPECT_EQ(values, (Strings{"System State machine=WAITACK", "Request times=10", "Response times=9",
                               "Error times=1"}));
    EXPECT_FALSE(channelStatusRows(Bytes{0x05, 0x00, 0x00, 0x02, 0x0A, 0x09, 0x01, 0x1C, 0x00}));
    EXPECT_EQ(channelStatusRequest(2), (Bytes{0x05, 0x01, 0x02, 0x08}));

    CProductTarn product;
    product.build(GatewayModel::Vela1hTcp);
    COrlaNode* node = product.channel(0)->addNode();
    node->addHartCommand(product.registries(), 3)->setLookupKey(0);
    node->addHartCommand(product.registries(), 48)->setLookupKey(1);
    node->addHartCommand(product.registries(), 1); // never uploaded: no row
    const Bytes reply = closeFrame({0x06, 0x03, 0x00, 0x01, 0x03});
    const auto reading = nodeStatusRows(reply, *node);
    ASSERT_TRUE(reading);
    ASSERT_EQ(reading->rows.size(), 2u);
    EXPECT_EQ(reading->rows[0].item + "=" + reading->rows[0].value, "Command ID3=Response correct");
    EXPECT_EQ(reading->rows[1].item + "=" + reading->rows[1].value, "Command ID48=No response");
    EXPECT_TRUE(reading->anyError);
    // A length byte that points past the reply is a failed check.
    Bytes lying = reply;
    lying[1] = 0x90;
    EXPECT_FALSE(nodeStatusRows(lying, *node));
}

TEST(MemoryFrames, RequestsAndRepliesWithTheirChecks) {
    EXPECT_EQ(memoryReadRequest(0), (Bytes{0x08, 0x04, 0x00, 0x00, 0x00, 0x40, 0x4C}));
    const Bytes write = memoryWriteRequest(3000, Bytes(64, 0));
    ASSERT_EQ(write.size(), 70u);
    EXPECT_EQ(Bytes(write.begin(), write.begin() + 5), (Bytes{0x48, 0x43, 0x00, 0x0B, 0xB8}));
    Bytes reply{0x08, 0x43, 0x00, 0x0B, 0x80};
    reply.resize(5 + 64, 0x11);
    reply = closeFrame(std::move(reply));
    const auto block = decodeMemoryReply(reply);
    ASSERT_TRUE(block);
    EXPECT_EQ(block->address, 2944);
    EXPECT_EQ(block->data.size(), 64u);
    reply[1] = 0xF0;
    EXPECT_FALSE(decodeMemoryReply(reply));
}

TEST(PassThroughFrames, RequestChecknumAndReplyLines) {
    test::ScriptedPrompt prompt;
    EXPECT_EQ(passThroughRequest(1, "", "01 02 03", "00", &prompt),
              (Bytes{0x4B, 0x05, 0x01, 0x01, 0x02, 0x03, 0x00, 0x57}));
    EXPECT_EQ(xorCheckText("01 02 03"), "00");
    EXPECT_EQ(xorCheckText("0a 0b"), "01");
    EXPECT_FALSE(xorCheckText("0a 0"));
    for (const char* bad : {"01 02 ", "01 2"})
        EXPECT_FALSE(passThroughRequest(0, "", bad, "", &prompt));
    EXPECT_FALSE(passThroughRequest(0, "", "01 2", "", nullptr)); // auto-send: silently skipped
    EXPECT_EQ(prompt.shown, (Strings{"Part of the data is wrong", "Part of the data is wrong"}));
    EXPECT_EQ(passThroughLine(Bytes{0x4B, 0x03, 0x11, 0x22, 0x33}), "11 22 33 \r\n");
    EXPECT_FALSE(passThroughLine(Bytes{0x4B, 0x00}));
    EXPECT_EQ(passThroughLine(Bytes{0x4B, 0x09, 0x11}), "11 \r\n"); // L is not trusted past the reply
    EXPECT_EQ(leaveRequest(2), (Bytes{0x4A, 0x02, 0x02, 0x00, 0x4E}));
}

TEST(PassThroughFrames, TheAutoSendPeriodIsANumberFrom500To65536) {
    struct Case {
        const char* text;
        std::optional<unsigned> period;
        const char* message;
    };
    for (const Case c :
         {Case{"500", 500u, ""}, Case{"65536", 65536u, ""}, Case{" 1000 ", 1000u, ""},
          Case{"499", std::nullopt, "Enter an integer between 500 and 65536."},
          Case{"65537", std::nullopt, "Enter an integer between 500 and 65536."},
          Case{"99999999999999999999", std::nullopt, "Enter an integer between 500 and 65536."},
          Case{"", std::nullopt, "Enter a positive integer."},
          Case{"-600", std::nullopt, "Enter a positive integer."},
          Case{"6o0", std::nullopt, "Enter a positive integer."}}) {
        test::ScriptedPrompt prompt;
        EXPECT_EQ(autoSendPeriod(c.text, prompt), c.period) << c.text;
        EXPECT_EQ(prompt.shown, c.period ? Strings{} : Strings{c.message}) << c.text;
    }
}

struct RecordingProgress {
    OperationContext context() {
        return OperationContext([this](int done, int total) { calls.emplace_back(done, total); });
    }
    std::vector<std::pair<int, int>> calls;
};

// Downloads one device with HART commands 1 and 3, then uploads so that the commands get
// their sequence numbers as lookup keys.
void prepareGateway(CProductTarn& product, GatewayLink& link, RecordingProgress* progress = nullptr) {
    COrlaNode* node = product.channel(0)->addNode();
    node->addHartCommand(product.registries(), 1)->setItemInt(command_item::ReceiveLengthBytes, 7);
    node->addHartCommand(product.registries(), 3)->setItemInt(command_item::ReceiveMemoryStart, 20);
    test::ScriptedPrompt prompt;
    ASSERT_EQ(link.open(), ResultCode::Success);
    ASSERT_EQ(ConfigurationDownload(product, link, prompt,
                                    progress != nullptr ? progress->context() : OperationContext{})
                  .downloadAll()
                  .code,
              ResultCode::Success);
    ASSERT_EQ(link.open(), ResultCode::Success);
    ASSERT_EQ(ConfigurationUpload(product, link, prompt).uploadAll().code, ResultCode::Success);
}

TEST(DebugExchanges, DiagnoseMemoryAndCommandDataOverBothLinks) {
    for (const bool serial : {false, true}) {
        SCOPED_TRACE(serial);
        sim::SimOptions options;
        options.model = serial ? GatewayModel::Vela3hRtu : GatewayModel::Vela1hTcp;
        options.pseudoTerminal = serial;
        test::SimulatorRun run(options);
        std::unique_ptr<GatewayLink> link;
        if (serial)
            link = std::make_unique<SerialGatewayLink>(run.ptyPath());
        else
            link = std::make_unique<TcpGatewayLink>(run.settings());
        CProductTarn product;
        product.build(options.model);
        prepareGateway(product, *link);
        ASSERT_EQ(link->open(), ResultCode::Success);
        test::ScriptedPrompt prompt;

        const DiagnoseReading channel = readChannelStatus(*link, 0, prompt);
        EXPECT_TRUE(channel.ok);
        EXPECT_EQ(channel.rows.size(), 4u);
        const COrlaNode& node = *product.channel(0)->pointToPointNodeAt(0);
        const DiagnoseReading commands = readNodeStatus(*link, 0, node, prompt);
        ASSERT_EQ(commands.rows.size(), 2u);
        EXPECT_EQ(commands.rows[1].item, "Command ID3");
        EXPECT_EQ(commands.rows[1].value, "Response correct");
        EXPECT_TRUE(clearChannelError(*link, 0, prompt));

        const Bytes written(64, 0x5A);
        EXPECT_TRUE(writeMemory(*link, 3000, written, prompt).ok);
        const MemoryOutcome read = readMemory(*link, 3000, prompt);
        ASSERT_TRUE(read.block);
        EXPECT_EQ(read.block->data, written);
        // The simulated device's reply to command 1: status, response code, unit 32 (degrees Celsius).
        const auto payload = readCommandData(*link, 0, 0, prompt);
        ASSERT_TRUE(payload);
        EXPECT_EQ(Bytes(payload->begin(), payload->begin() + 3), (Bytes{0x00, 0x00, 32}));
        EXPECT_EQ(prompt.shown, Strings{"Success to write the memory:3000~3063"});
        link->close();
    }
}

TEST(DebugExchanges, PassThroughEchoesOnThePseudoTerminal) {
    sim::SimOptions options;
    options.model = GatewayModel::Vela3hRtu;
    options.pseudoTerminal = true;
    test::SimulatorRun run(options);
    SerialGatewayLink link(run.ptyPath());
    ASSERT_EQ(link.open(), ResultCode::Success);
    test::ScriptedPrompt prompt;
    const auto request = passThroughRequest(1, "FF FF", "82 01", "", &prompt);
    ASSERT_TRUE(request);
    EXPECT_EQ(sendPassThrough(link, *request, &prompt), "FF FF 82 01 \r\n");
    EXPECT_FALSE(sendPassThrough(link, pollRequest(1), nullptr));
    // Command 6's write: short address 2, current mode 1, acknowledged with 47 01 ch 47.
    EXPECT_EQ(writeCommandData(link, closeFrame({0x47, 0x04, 0x01, 0x00, 0x02, 0x01}),
                               Bytes{0x47, 0x01, 0x01, 0x47}),
              ResultCode::Success);
    EXPECT_EQ(writeCommandData(link, closeFrame({0x47, 0x04, 0x01, 0x00, 0x02, 0x01}),
                               Bytes{0x47, 0x01, 0x02, 0x47}),
              ResultCode::UploadCheckError);
    EXPECT_TRUE(link.serialWriteKeepOpen(leaveRequest(1)));
    EXPECT_TRUE(run.waitForFrames(5));
}

TEST(Progress, DownloadReportsEveryFrameOfItsTotal) {
    sim::SimOptions options;
    options.model = GatewayModel::Vela1hTcp;
    test::SimulatorRun run(options);
    TcpGatewayLink link(run.settings());
    CProductTarn product;
    product.build(GatewayModel::Vela1hTcp);
    RecordingProgress progress;
    prepareGateway(product, link, &progress);
    // The network side, the channel frame and two commands.
    EXPECT_EQ(progress.calls, (std::vector<std::pair<int, int>>{{1, 4}, {2, 4}, {3, 4}, {4, 4}}));
}

// A debug window that stops its worker before the next exchange: nothing goes out, nothing
// is shown and the port is closed. Pass-through is serial only, so all run on the line.
TEST(DebugExchanges, StoppedBeforeTheyBeginSendNothing) {
    sim::SimOptions options;
    options.model = GatewayModel::Vela3hRtu;
    options.pseudoTerminal = true;
    test::SimulatorRun run(options);
    SerialGatewayLink link(run.ptyPath());
    CProductTarn product;
    product.build(options.model);
    const COrlaNode& node = *product.channel(0)->addNode();
    const Bytes data(64, 0x5A);
    const Bytes write = closeFrame({0x47, 0x04, 0x01, 0x00, 0x02, 0x01});
    const Bytes acknowledgement{0x47, 0x01, 0x01, 0x47};
    using Exchange = std::function<bool(Prompt&, const OperationContext&)>; // true: it saw the stop
    const std::vector<std::pair<const char*, Exchange>> exchanges{
        {"channel status",
         [&](Prompt& p, const OperationContext& c) { return readChannelStatus(link, 0, p, c).stopped; }},
        {"node status",
         [&](Prompt& p, const OperationContext& c) { return readNodeStatus(link, 0, node, p, c).stopped; }},
        {"clear error",
         [&](Prompt& p, const OperationContext& c) { return !clearChannelError(link, 0, p, c); }},
        {"memory read",
         [&](Prompt& p, const OperationContext& c) { return readMemory(link, 3000, p, c).stopped; }},
        {"memory write",
         [&](Prompt& p, const OperationContext& c) { return writeMemory(link, 3000, data, p, c).stopped; }},
        {"command data read",
         [&](Prompt& p, const OperationContext& c) { return !readCommandData(link, 0, 0, p, c); }},
        {"command data write",
         [&](Prompt&, const OperationContext& c) {
             return writeCommandData(link, write, acknowledgement, c) == ResultCode::Stopped;
         }},
        {"pass-through",
         [&](Prompt& p, const OperationContext& c) { return !sendPassThrough(link, pollRequest(1), &p, c); }},
    };
    std::stop_source stop;
    stop.request_stop();
    const OperationContext stopped(stop.get_token());
    test::ScriptedPrompt prompt;
    for (const auto& [name, exchange] : exchanges) {
        SCOPED_TRACE(name);
        ASSERT_EQ(link.open(), ResultCode::Success);
        EXPECT_TRUE(exchange(prompt, stopped));
        EXPECT_FALSE(link.isOpen());
    }
    EXPECT_TRUE(prompt.shown.empty());
    // One exchange that is not stopped: its frame is the first the simulator ever received.
    ASSERT_EQ(link.open(), ResultCode::Success);
    EXPECT_TRUE(readChannelStatus(link, 0, prompt).ok);
    link.close();
    EXPECT_EQ(run.letters("pty"), "\x05");
}

} // namespace
} // namespace korvan
