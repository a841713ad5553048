// The Diagnose window's rules without the window, and the command I/O data window's write
// against vela-sim over TCP and the pseudo-terminal.
#include "app/AppState.h"
#include "app/EnableFlags.h"
#include "hart/CommandIoEditing.h"
#include "link/SerialGatewayLink.h"
#include "link/TcpGatewayLink.h"
#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"
#include "support/SampleProjects.h"
#include "support/ScriptedPrompt.h"
#include "support/SimulatorRun.h"
#include "tools/CommandDataExchange.h"
#include "tools/DiagnoseExchange.h"
#include "tools/DiagnoseState.h"

namespace korvan {
namespace {

using Strings = std::vector<std::string>;

void collectLabels(const std::vector<ProjectTreeItem>& items, const std::string& indent, Strings& out) {
    for (const ProjectTreeItem& item : items) {
        out.push_back(indent + item.label);
        collectLabels(item.children, indent + " ", out);
    }
}

TEST(DiagnoseTree, BusesAndNodesWithoutCommands) {
    CProductTarn product;
    product.build(GatewayModel::Vela3hTcp);
    test::fillSampleProject(product);
    const auto tree = buildDiagnoseTree(product);
    ASSERT_EQ(tree.size(), 4u);
    EXPECT_EQ(tree[0].label, "Fieldbus");
    EXPECT_TRUE(tree[0].children.empty());
    Strings labels;
    collectLabels(tree, "", labels);
    for (const std::string& label : labels)
        EXPECT_EQ(label.find("Command"), std::string::npos) << label;
    for (std::size_t i = 1; i < tree.size(); ++i)
        for (const ProjectTreeItem& node : tree[i].children) {
            EXPECT_EQ(node.tag.kind, TreeItemKind::Node);
            EXPECT_TRUE(node.children.empty());
        }
}

TEST(DiagnoseTree, ChannelIndexFromTheName) {
    const std::vector<std::pair<std::string, std::optional<std::uint8_t>>> cases{
        {"Channel1", 0},    {"Channel2", 1},           {"Channel3", 2}, {"Fieldbus", std::nullopt},
        {"", std::nullopt}, {"Channel0", std::nullopt}};
    for (const auto& [name, index] : cases)
        EXPECT_EQ(diagnoseChannelIndex(name), index) << name;
}

TEST(DiagnoseStateTest, SelectionButtonsAndPeriodicRefresh) {
    CProductTarn product;
    product.build(GatewayModel::Vela3hTcp);
    CHartbus* channel = product.channel(1);
    COrlaNode* node = channel->addNode();
    DiagnoseState state;
    EXPECT_FALSE(state.refreshEnabled());
    EXPECT_FALSE(state.resetEnabled());
    EXPECT_FALSE(state.tickReads());

    state.select({TreeItemKind::Channel, nullptr, channel, nullptr, nullptr}, "Channel2");
    EXPECT_EQ(state.reads(), DiagnoseRead::Channel);
    EXPECT_EQ(state.channel(), 1);
    EXPECT_TRUE(state.refreshEnabled());
    EXPECT_TRUE(state.resetEnabled());
    EXPECT_TRUE(state.resetClears());
    EXPECT_TRUE(state.tickReads());

    // "Fieldbus" keeps the buttons and reads nothing: neither the timer nor "Reset".
    state.select({TreeItemKind::NetworkBus, &product.networkBus(), nullptr, nullptr, nullptr}, "Fieldbus");
    EXPECT_EQ(state.reads(), DiagnoseRead::Nothing);
    EXPECT_TRUE(state.refreshEnabled());
    EXPECT_TRUE(state.resetEnabled());
    EXPECT_FALSE(state.tickReads());
    EXPECT_FALSE(state.resetClears());

    state.select({TreeItemKind::Node, nullptr, channel, node, nullptr}, "Channel2");
    EXPECT_EQ(state.reads(), DiagnoseRead::Node);
    EXPECT_EQ(state.node(), node);
    EXPECT_EQ(state.channel(), 1);
    EXPECT_TRUE(state.refreshEnabled());
    EXPECT_FALSE(state.resetEnabled());
    EXPECT_FALSE(state.resetClears());

    EXPECT_TRUE(state.periodic());
    state.togglePeriodic();
    EXPECT_FALSE(state.tickReads());
    EXPECT_EQ(state.periodicLabel(), "Keep on updating");
    state.togglePeriodic();
    EXPECT_EQ(state.periodicLabel(), "Stop updating");
    state.stopPeriodic();
    EXPECT_FALSE(state.periodic());
}

TEST(DiagnoseStateTest, CommandRowTargets) {
    CProductTarn product;
    product.build(GatewayModel::Vela3hTcp);
    COrlaNode* node = product.channel(0)->addNode();
    node->addHartCommand(product.registries(), 3)->setLookupKey(4);
    node->addHartCommand(product.registries(), 48)->setLookupKey(5);
    node->addHartCommand(product.registries(), 18)->setLookupKey(6);

    const auto three = commandIoTarget(*node, 2, 3);
    ASSERT_TRUE(three);
    EXPECT_EQ(three->command, 3);
    EXPECT_EQ(three->channel, 2);
    EXPECT_EQ(three->node, 4);
    EXPECT_TRUE(three->segments.empty());
    ASSERT_TRUE(commandIoTarget(*node, 0, 18));
    EXPECT_EQ(commandIoTarget(*node, 0, 18)->node, 6);
    // 48 is not one of the window's commands; 1 is, but the node has none.
    EXPECT_FALSE(commandIoTarget(*node, 0, 48));
    EXPECT_FALSE(commandIoTarget(*node, 0, 1));
    EXPECT_FALSE(commandIoTarget(*node, 0, -1));
}

TEST(DiagnoseStateTest, NodeStatusInTwoHalves) {
    CProductTarn product;
    product.build(GatewayModel::Vela1hTcp);
    COrlaNode* node = product.channel(0)->addNode();
    node->addHartCommand(product.registries(), 3)->setLookupKey(0);
    test::ScriptedPrompt prompt;
    const DiagnoseReading bad = nodeStatusReading(Bytes{0x06, 0x01, 0x00, 0x00}, *node, prompt);
    EXPECT_FALSE(bad.ok);
    EXPECT_FALSE(bad.stopRefresh);
    EXPECT_EQ(prompt.shown, Strings{"Read and check the HART informattion error"});
    const DiagnoseReading good = nodeStatusReading(closeFrame({0x06, 0x02, 0x00, 0x02}), *node, prompt);
    ASSERT_EQ(good.rows.size(), 1u);
    EXPECT_EQ(good.rows[0].value, "Check failed");
    EXPECT_TRUE(good.anyError);
}

TEST(DiagnoseStateTest, ItsUploadLeavesTheTransfersOff) {
    AppState state;
    enable_flags::projectTreeReset(state); // what the upload's tree rebuild does
    enable_flags::diagnoseUploadEnded(state);
    EXPECT_FALSE(state.canDownload);
    EXPECT_FALSE(state.canUpload);
    EXPECT_FALSE(state.canShowMemory);
    EXPECT_FALSE(state.canSerialDebug);
}

std::unique_ptr<GatewayLink> linkTo(const test::SimulatorRun& run, bool serial) {
    if (serial)
        return std::make_unique<SerialGatewayLink>(run.ptyPath());
    return std::make_unique<TcpGatewayLink>(run.settings());
}

TEST(CommandWrite, AcknowledgedOverBothLinksAndFailuresTold) {
    for (const bool serial : {false, true}) {
        SCOPED_TRACE(serial);
        sim::SimOptions options;
        options.model = serial ? GatewayModel::Vela3hRtu : GatewayModel::Vela3hTcp;
        options.pseudoTerminal = serial;
        options.deviceReplies[0] = {0x90, 0x00, 0x01};
        test::SimulatorRun run(options);
        auto link = linkTo(run, serial);
        ASSERT_EQ(link->open(), ResultCode::Success);
        test::ScriptedPrompt prompt;
        for (const int command : {17, 18, 19}) {
            std::vector<std::string> cells(5);
            cells[2] = command == 19 ? "1193046" : "ABC";
            cells[4] = "05-11-2013";
            const auto write = buildWriteFrame(command, 1, 2, cells, prompt);
            ASSERT_TRUE(write);
            EXPECT_EQ(sendCommandWrite(*link, write->frame, write->expectedAnswer, prompt),
                      ResultCode::Success)
                << command;
        }
        EXPECT_TRUE(prompt.shown.empty());
        const auto frames = run.simulator().frames();
        ASSERT_FALSE(frames.empty());
        EXPECT_EQ(frames.back().bytes, (Bytes{0x47, 0x05, 0x01, 0x02, 0x12, 0x34, 0x56, 0xEB}));
        // The fixed device answer reaches the read (the simulator has no commands: number 0).
        const auto payload = readCommandData(*link, 0, 0, prompt);
        ASSERT_TRUE(payload);
        EXPECT_EQ(Bytes(payload->begin(), payload->begin() + 3), (Bytes{0x90, 0x00, 0x01}));
        link->close();
    }
}

TEST(CommandWrite, SilentAndRefusedGatewaysAreTold) {
    struct Case {
        bool serial;
        sim::FaultPlan faults;
        std::string message;
    };
    sim::FaultPlan silent;
    silent.silentFrom = 1;
    sim::FaultPlan refused;
    refused.refuseConnections = true;
    const std::vector<Case> cases{
        {false, silent, "Reads the configuration fails, verify the IP address and port number are correct!"},
        {false, refused, "Connection fails, make sure the IP address and port number are correct!"},
        {true, silent, "Failed reading serial port"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        sim::SimOptions options;
        options.model = c.serial ? GatewayModel::Vela3hRtu : GatewayModel::Vela3hTcp;
        options.pseudoTerminal = c.serial;
        options.faults = c.faults;
        test::SimulatorRun run(options);
        auto link = linkTo(run, c.serial);
        ASSERT_EQ(link->open(), ResultCode::Success);
        test::ScriptedPrompt prompt;
        const std::vector<std::string> cells{"", "", "12"};
        const auto write = buildWriteFrame(19, 0, 0, cells, prompt);
        ASSERT_TRUE(write);
        EXPECT_NE(sendCommandWrite(*link, write->frame, write->expectedAnswer, prompt), ResultCode::Success);
        EXPECT_EQ(prompt.shown, Strings{c.message});
        link->close();
    }
}

} // namespace
} // namespace korvan
