#include "app/AppState.h"
#include "network/CEquipment.h"
#include "network/EthernetConfiguration.h"
#include "network/GatewaySearch.h"
#include "support/ScriptedPrompt.h"
#include "support/SimulatorRun.h"
#include "support/StopFromAnotherThread.h"

#include <chrono>

namespace korvan {
namespace {

TEST(Discovery, AnswerFieldsAndWhatIsIgnored) {
    Bytes answer(68, 0);
    answer[3] = 3;
    answer[10] = 0xF0;
    answer[11] = 0x3C;
    answer[25] = 1;
    answer[27] = 5;
    const Bytes mac{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    std::copy(mac.begin(), mac.end(), answer.begin() + 28);
    const Bytes ip{0xC0, 0xA8, 0x00, 0x0A};
    std::copy(ip.begin(), ip.end(), answer.begin() + 36);
    answer[67] = 1;
    const auto record = decodeSearchAnswer(answer, 1, true);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->number, " 1");
    EXPECT_EQ(record->model, "Vela-1H-TCP");
    EXPECT_EQ(record->ipAddress, "192.168.0.10");
    EXPECT_EQ(record->macAddress, "00-1a-2b-3c-4d-5e");
    EXPECT_EQ(record->firmwareVersion, "1.5");
    EXPECT_EQ(record->state, "Allows remote configuration");
    EXPECT_EQ(decodeSearchAnswer(answer, 12, true)->number, "12");
    EXPECT_EQ(decodeSearchAnswer(answer, 1, false)->number, "1");

    // A short answer is read as far as it goes, never past its end.
    const Bytes shortAnswer(answer.begin(), answer.begin() + 16);
    EXPECT_EQ(decodeSearchAnswer(shortAnswer, 1, true)->ipAddress, "0.0.0.0");
    EXPECT_EQ(decodeSearchAnswer(shortAnswer, 1, true)->state, "Disable remote configuration");
    EXPECT_FALSE(decodeSearchAnswer(std::span(answer).first(15), 1, true));
    EXPECT_TRUE(decodeSearchAnswer(std::span(answer).first(4), 1, false));
    answer[3] = 5;
    EXPECT_FALSE(decodeSearchAnswer(answer, 1, false));
}

sim::SimOptions searchSim(GatewayModel model) {
    sim::SimOptions options;
    options.model = model;
    return options;
}

TEST(Discovery, FixedAddressAsksOnceAndCompletes) {
    test::SimulatorRun run(searchSim(GatewayModel::Vela3hTcp));
    SearchSettings settings;
    settings.port = run.simulator().searchPort();
    settings.localAddresses = [] { return std::vector<std::string>{}; };
    GatewaySearch search(settings);
    AppState state;
    state.model = GatewayModel::Vela1hTcp;
    state.directAddress = true;
    state.gatewayIp = "127.0.0.1";
    search.open(state.directAddress, state.gatewayIp);
    EXPECT_FALSE(search.anyTimerRunning());
    EXPECT_EQ(search.statusText(), "Search completed");
    ASSERT_EQ(search.shownRecords().size(), 1u);
    EXPECT_EQ(search.shownRecords()[0].number, "1");
    EXPECT_EQ(search.shownRecords()[0].model, "Vela-3H-TCP");
    EXPECT_EQ(run.letters("udp"), std::string("\0", 1));
    EXPECT_FALSE(search.signInEnabled());

    state.gatewayIp.clear();
    search.clickRow(0, state.gatewayIp);
    EXPECT_EQ(state.gatewayIp, "127.0.0.1");
    test::ScriptedPrompt prompt;
    EXPECT_FALSE(search.signIn(state.model, prompt));
    EXPECT_EQ(prompt.shown,
              std::vector<std::string>{
                  "The selected device is inconsistent with the software protocol, please re select!"});
    state.model = GatewayModel::Vela3hTcp;
    EXPECT_TRUE(search.signIn(state.model, prompt));
}

// The timer-driven search, run on loopback: the local address and the destination are both
// 127.0.0.1, so nothing leaves the computer.
TEST(Discovery, TimerSearchStopsAtTheFirstAnswerOrAfterFiveTicksPerAddress) {
    test::SimulatorRun run(searchSim(GatewayModel::Vela1hTcp));
    for (const bool listening : {true, false}) {
        SCOPED_TRACE(listening);
        SearchSettings settings;
        settings.port = listening ? run.simulator().searchPort() : run.simulator().configurationPort();
        settings.broadcastAddress = "127.0.0.1";
        settings.localAddresses = [] { return std::vector<std::string>{"127.0.0.1"}; };
        GatewaySearch search(settings);
        AppState state;
        search.open(state.directAddress, state.gatewayIp);
        ASSERT_TRUE(search.timerRunning(0));
        EXPECT_FALSE(search.refreshEnabled());
        // The first request went out with open(); its answer is in before the first tick,
        // as it is when the dialog's timer ticks 300 ms later.
        if (listening) {
            ASSERT_TRUE(run.waitForSearchAnswers(1));
        }
        int ticks = 0;
        while (search.tick(0) && ticks < 20)
            ++ticks;
        EXPECT_EQ(search.statusText(), "Search completed");
        EXPECT_EQ(search.progress(), 100);
        EXPECT_TRUE(search.refreshEnabled());
        EXPECT_EQ(search.shownRecords().size(), listening ? 1u : 0u);
        EXPECT_EQ(ticks, listening ? 0 : 5);
    }
}

TEST(EthernetConfiguration, FixedAddressOrSearch) {
    struct Case {
        bool tick;
        std::string entry;
        bool confirm;
        std::string ip;
        bool direct;
        LinkKind linkKind;
    };
    const std::vector<Case> cases{
        {false, "127.0.0.20", true, "127.0.0.20", true, LinkKind::Ethernet},
        {false, "0.0.0.0", true, "0.0.0.0", false, LinkKind::Ethernet},
        {false, "127.0.0.20", false, "127.0.0.1", false, LinkKind::Serial},
        {true, "127.0.0.20", true, "", false, LinkKind::Serial},
    };
    for (const Case& c : cases) {
        AppState state;
        state.gatewayIp = "127.0.0.1";
        EthernetConfiguration dialog({state.gatewayIp, state.directAddress, state.linkKind});
        EXPECT_TRUE(dialog.searchTicked());
        EXPECT_EQ(dialog.entryText(), "127.0.0.1");
        dialog.setSearchTicked(c.tick);
        EXPECT_EQ(dialog.entryEnabled(), !c.tick);
        dialog.setEntryText(c.entry);
        if (c.confirm)
            dialog.ok();
        else
            dialog.cancel();
        EXPECT_EQ(state.gatewayIp, c.ip) << c.entry;
        EXPECT_EQ(state.directAddress, c.direct) << c.entry;
        EXPECT_EQ(state.linkKind, c.linkKind) << c.entry;
    }
}

} // namespace
} // namespace korvan

namespace korvan {
namespace {

TEST(Discovery, RepeatedAddressShowsOneRow) {
    sim::SimOptions options = searchSim(GatewayModel::Vela3hTcp);
    options.searchAnswers = 2;
    test::SimulatorRun run(options);
    SearchSettings settings;
    settings.port = run.simulator().searchPort();
    settings.broadcastAddress = "127.0.0.1";
    settings.localAddresses = [] { return std::vector<std::string>{"127.0.0.1"}; };
    GatewaySearch search(settings);
    AppState state;
    search.open(state.directAddress, state.gatewayIp);
    ASSERT_TRUE(run.waitForSearchAnswers(1));
    EXPECT_FALSE(search.tick(0));
    ASSERT_EQ(search.records().size(), 2u);
    EXPECT_EQ(search.records()[1].number, " 2");
    ASSERT_EQ(search.shownRecords().size(), 1u);
    search.clickRow(1, state.gatewayIp); // outside the rows shown
    EXPECT_TRUE(state.gatewayIp.empty());
    EXPECT_FALSE(search.signInEnabled());
    search.clickRow(0, state.gatewayIp);
    EXPECT_EQ(state.gatewayIp, "127.0.0.1");
    EXPECT_TRUE(search.signInEnabled());
}

} // namespace
} // namespace korvan

namespace korvan {
namespace {

// A gateway that never answers, at a fixed loopback address: nothing ever arrives.
sim::SimOptions silentSearchSim() {
    sim::SimOptions options = searchSim(GatewayModel::Vela1hTcp);
    options.faults.silentFrom = 1;
    return options;
}

SearchSettings loopbackSearch(test::SimulatorRun& run) {
    SearchSettings settings;
    settings.port = run.simulator().searchPort();
    settings.broadcastAddress = "127.0.0.1";
    settings.localAddresses = [] { return std::vector<std::string>{"127.0.0.1"}; };
    return settings;
}

// The dialog ticks on the window's thread every 300 ms: a tick with nothing to read must
// come back at once, not after a receive time-out.
TEST(Discovery, TickWithNothingArrivedReturnsAtOnce) {
    test::SimulatorRun run(silentSearchSim());
    GatewaySearch search(loopbackSearch(run));
    search.open(false, "");
    ASSERT_TRUE(run.waitForFrames(1));
    for (int tick = 1; tick <= 5; ++tick) {
        SCOPED_TRACE(tick);
        const auto began = std::chrono::steady_clock::now();
        EXPECT_TRUE(search.tick(0));
        EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::milliseconds(100));
    }
    EXPECT_FALSE(search.tick(0));
    EXPECT_EQ(search.statusText(), "Search completed");
    EXPECT_EQ(search.result(), ResultCode::Success);
}

// Each tick is taken once the simulator has its request, as a 300 ms timer would; the stop
// comes from another thread while the second tick reports its progress, after its request.
TEST(Discovery, SearchStoppedFromAnotherThreadSendsNothingMoreAndClosesItsSockets) {
    test::SimulatorRun run(silentSearchSim());
    test::StopFromAnotherThread stop(40);
    GatewaySearch search(loopbackSearch(run), stop.context());
    search.open(false, "");
    ASSERT_TRUE(run.waitForFrames(1));
    ASSERT_TRUE(search.tick(0));
    ASSERT_TRUE(run.waitForFrames(2));
    ASSERT_TRUE(search.tick(0));
    ASSERT_TRUE(run.waitForFrames(3));
    EXPECT_TRUE(stop.requested());
    EXPECT_FALSE(search.tick(0));
    EXPECT_FALSE(search.tick(0));
    EXPECT_FALSE(search.anyTimerRunning());
    EXPECT_FALSE(search.anySocketOpen());
    EXPECT_EQ(search.result(), ResultCode::Stopped);
    EXPECT_EQ(search.statusText(), "The operation was stopped.");
    EXPECT_TRUE(search.refreshEnabled());
    EXPECT_EQ(run.simulator().frames().size(), 3u);
}

} // namespace
} // namespace korvan
