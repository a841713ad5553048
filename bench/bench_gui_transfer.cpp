// The desktop program's gateway work against vela-sim on loopback, on the offscreen platform.
//
// Transfer: the maximal project downloaded through the real download dialog while a
// zero-length timer on the user-interface thread records the longest gap between its ticks
// (goal below 50 ms), and the same project file downloaded by the built korvanctl to a second
// simulator in the same run. Both are divided by the protocol's floor for the dialog's frames
// (FloorCountingLink.h); the dialog's time over korvanctl's has the goal 1.02 at most.
//
// Live windows: a window polling a silent simulator for some seconds while the timer watches
// the user-interface thread. Each window is one case: a function that opens it over the
// session's link (pollSilentSimulator below).
//
// usage: bench_gui_transfer [tcp|serial|live|all]   (default tcp and live; the serial
//        download takes several minutes twice)
#include "FloorCountingLink.h"
#include "TransferFixture.h"
#include "VelaSimulator.h"
#include "gateway/CDlgupdown.h"
#include "gateway/ExchangeWorker.h"
#include "mapping/AutoMapping.h"
#include "model/CProductTarn.h"
#include "projectfile/ProjectFile.h"
#include "support/SampleProjects.h"
#include "support/TempDir.h"
#include "tools/CDlgDiagnose.h"
#include "tools/CDlgMemoryDisplay.h"
#include "tools/DiagnoseExchange.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace {

using namespace korvan;
using bench::FloorCountingLink;
using gui::CDlgupdown;

constexpr int gapGoalMs = 50;
constexpr double korvanctlGoal = 1.02;

// vela-sim in-process on loopback (and a pseudo-terminal for Vela-3H-RTU) for one
// measurement; it stops with it, or by itself after its lifetime.
class Simulator {
public:
    Simulator(GatewayModel model, sim::FaultPlan faults = {}) : simulator_(options(model, faults)) {
        std::string reason;
        started_ = simulator_.start(reason);
        if (started_)
            thread_ = std::thread([this] { simulator_.run(); });
        else
            std::fprintf(stderr, "vela-sim: %s\n", reason.c_str());
    }
    ~Simulator() {
        simulator_.stop();
        if (thread_.joinable())
            thread_.join();
    }
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    [[nodiscard]] bool started() const { return started_; }
    [[nodiscard]] sim::VelaSimulator& sim() { return simulator_; }
    [[nodiscard]] LinkSettings settings() const {
        LinkSettings settings;
        settings.host = "127.0.0.1";
        settings.configurationPort = simulator_.configurationPort();
        settings.managementPort = simulator_.managementPort();
        return settings;
    }

private:
    static sim::SimOptions options(GatewayModel model, sim::FaultPlan faults) {
        sim::SimOptions options;
        options.model = model;
        options.pseudoTerminal = model == GatewayModel::Vela3hRtu;
        options.faults = faults;
        options.lifetimeMs = 20 * 60 * 1000;
        return options;
    }

    sim::VelaSimulator simulator_;
    std::thread thread_;
    bool started_ = false;
};

// The largest project the gateway takes, laid out by automatic mapping so that the download's
// overlap check lets it through.
bool fillMaximal(CProductTarn& product, GatewayModel model) {
    product.build(model);
    test::fillMaximalProject(product);
    test::ScriptedPrompt prompt;
    prompt.answerNext(Answer::Yes); // "Whether auto mapping address?"
    return autoMapAddresses(product, prompt);
}

// The session the desktop program would have for the simulator: its ports, and the gateway
// the search or the serial port dialog would have chosen.
void pointAt(gui::Session& session, Simulator& simulator) {
    session.link = simulator.settings();
    if (session.state.model == GatewayModel::Vela3hRtu) {
        session.state.linkKind = LinkKind::Serial;
        session.state.serialPortName = simulator.sim().pseudoTerminalPath();
    } else {
        session.state.linkKind = LinkKind::Ethernet;
        session.state.gatewayIp = "127.0.0.1";
    }
}

struct DialogRun {
    bool ok = false;
    double ms = 0;
    double floorMs = 0;
    int exchanges = 0;
    qint64 longestGapMs = 0;
    std::size_t frames = 0;
};

DialogRun downloadThroughTheDialog(GatewayModel model, const std::string& projectFile) {
    DialogRun result;
    Simulator simulator(model);
    if (!simulator.started())
        return result;
    test::SessionFixture fixture(model);
    // The very file korvanctl downloads, opened as the program opens a project.
    if (!loadFromFile(fixture.session.product, fixture.prompt, projectFile).ok())
        return result;
    pointAt(fixture.session, simulator);

    CDlgupdown dialog(fixture.session, gui::TransferDirection::Download);
    FloorCountingLink* counted = nullptr;
    dialog.setLinkFactory([&counted](gui::Session& session) {
        auto link = std::make_unique<FloorCountingLink>(CDlgupdown::makeLink(session));
        counted = link.get();
        return link;
    });
    // The link is the one pointAt() chose, as the search or the serial port dialog would.
    CDlgupdown::Choosers chosen;
    chosen.serialPort = [](gui::Session&, QWidget*) { return true; };
    chosen.gateway = [](gui::Session&, QWidget*) { return true; };
    if (!dialog.prepare(chosen))
        return result;
    dialog.show();
    (void)QTest::qWaitForWindowExposed(&dialog);

    QSignalSpy ended(&dialog, &CDlgupdown::transferEnded);
    const test::TickWatch watch;
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    const bool finished = ended.count() > 0 || ended.wait(15 * 60 * 1000);
    result.ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    result.longestGapMs = watch.longestGapMs();
    result.ok = finished && dialog.outcome() && dialog.outcome()->end == TransferEnd::Done;
    if (counted != nullptr) {
        result.floorMs = counted->floorMs();
        result.exchanges = counted->exchanges();
    }
    result.frames = simulator.sim().frames().size();
    for (const std::string& shown : fixture.prompt.shown)
        std::printf("  the dialog said: %s\n", shown.c_str());
    return result;
}

struct ProgramRun {
    bool ok = false;
    double ms = 0;
    std::size_t frames = 0;
};

// korvanctl's download of the same project file to a second simulator: the whole run of the
// program, its start and the file's load included.
ProgramRun downloadWithKorvanctl(GatewayModel model, const std::string& projectFile) {
    ProgramRun result;
    Simulator simulator(model);
    if (!simulator.started())
        return result;
    QStringList arguments{QString::fromStdString(projectFile), QStringLiteral("--no-reset")};
    if (model == GatewayModel::Vela3hRtu) {
        arguments << QStringLiteral("--serial")
                  << QString::fromStdString(simulator.sim().pseudoTerminalPath());
    } else {
        const LinkSettings settings = simulator.settings();
        arguments << QStringLiteral("--gateway")
                  << QStringLiteral("127.0.0.1:%1").arg(settings.configurationPort)
                  << QStringLiteral("--mgmt-port") << QString::number(settings.managementPort);
    }
    QProcess korvanctl;
    korvanctl.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    korvanctl.start(QStringLiteral(KORVAN_BIN_DIR "/korvanctl"),
                    QStringList{QStringLiteral("download")} + arguments);
    const bool finished = korvanctl.waitForFinished(15 * 60 * 1000);
    result.ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    if (!finished)
        korvanctl.kill();
    result.ok = finished && korvanctl.exitStatus() == QProcess::NormalExit && korvanctl.exitCode() == 0;
    if (!result.ok)
        std::fprintf(stderr, "korvanctl: %s\n", korvanctl.readAllStandardOutput().constData());
    result.frames = simulator.sim().frames().size();
    return result;
}

bool transfer(GatewayModel model) {
    // The file korvanctl reads holds the very project the dialog downloads.
    test::TempDir folder;
    const std::string file = folder.file("maximal.xml");
    {
        CProductTarn product;
        if (!fillMaximal(product, model) || !saveToFile(product, file).ok) {
            std::fprintf(stderr, "cannot write %s\n", file.c_str());
            return false;
        }
    }
    const DialogRun dialog = downloadThroughTheDialog(model, file);
    const ProgramRun korvanctl = downloadWithKorvanctl(model, file);
    const char* name = model == GatewayModel::Vela3hRtu ? "Vela-3H-RTU pty" : "Vela-3H-TCP tcp";
    const double floor = std::max(dialog.floorMs, 1.0);
    std::printf("%s  %d exchanges, floor %.1f ms\n", name, dialog.exchanges, dialog.floorMs);
    std::printf(
        "  dialog     %9.1f ms  ratio to floor %.3f  longest gap of the window %lld ms (goal < %d)%s\n",
        dialog.ms, dialog.ms / floor, static_cast<long long>(dialog.longestGapMs), gapGoalMs,
        dialog.ok ? "" : "  DOWNLOAD FAILED");
    std::printf("  korvanctl  %9.1f ms  ratio to floor %.3f%s\n", korvanctl.ms, korvanctl.ms / floor,
                korvanctl.ok ? "" : "  DOWNLOAD FAILED");
    std::printf("  dialog / korvanctl %.3f (goal <= %.2f)%s\n", dialog.ms / std::max(korvanctl.ms, 1.0),
                korvanctlGoal,
                dialog.frames == korvanctl.frames ? "" : "  THE SIMULATORS GOT DIFFERENT FRAMES");
    return dialog.ok && korvanctl.ok && dialog.frames == korvanctl.frames;
}

// --- Live windows --------------------------------------------------------------------------

// Opens a live window over the session's link; the window polls until it is destroyed.
using OpenWindow = std::function<std::unique_ptr<QObject>(gui::Session&)>;

struct PollRun {
    bool ok = false;
    qint64 longestGapMs = 0;
    long ticks = 0;
    std::size_t frames = 0;
    std::size_t messages = 0;
    double closeMs = 0;
    std::string firstMessage;
};

// A window polls a silent simulator for `seconds` while TickWatch watches the user-interface
// thread; then it is closed, which waits for the exchange in flight.
PollRun pollSilentSimulator(GatewayModel model, int seconds, const OpenWindow& open) {
    PollRun result;
    sim::FaultPlan silent;
    silent.silentFrom = 1;
    Simulator simulator(model, silent);
    if (!simulator.started())
        return result;
    test::SessionFixture fixture(model);
    pointAt(fixture.session, simulator);
    std::unique_ptr<QObject> window = open(fixture.session);
    if (!window)
        return result;
    {
        const test::TickWatch watch;
        QEventLoop loop;
        QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
        loop.exec();
        result.longestGapMs = watch.longestGapMs();
        result.ticks = watch.ticks();
    }
    QElapsedTimer clock;
    clock.start();
    window.reset();
    result.closeMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    result.frames = simulator.sim().frames().size();
    result.messages = fixture.prompt.shown.size();
    if (!fixture.prompt.shown.empty())
        result.firstMessage = fixture.prompt.shown.front();
    result.ok = true;
    return result;
}

void printPoll(const char* name, GatewayModel model, int seconds, const PollRun& run) {
    std::printf("%-34s %-12s %d s: longest gap %lld ms (goal < %d), %ld ticks, %zu requests, %zu messages, "
                "closing %.1f ms%s\n",
                name, std::string(modelName(model)).c_str(), seconds,
                static_cast<long long>(run.longestGapMs), gapGoalMs, run.ticks, run.frames, run.messages,
                run.closeMs, run.ok ? "" : "  FAILED");
    if (run.messages > 0)
        std::printf("  first message: \"%s\"\n", run.firstMessage.c_str());
}

// The live windows' worker on its own: channel 1's status read every 500 ms, a tick skipped
// while the read before it still waits for its answer.
class PollingWorker : public QObject {
public:
    explicit PollingWorker(gui::Session& session) : worker_(session.prompt(), this) {
        std::unique_ptr<GatewayLink> owned = CDlgupdown::makeLink(session);
        // The serial port stays open while the window lives; each TCP exchange connects anew.
        if (!owned->isEthernet())
            (void)owned->open();
        worker_.setLink(std::move(owned));
        connect(&timer_, &QTimer::timeout, this, [this] {
            (void)worker_.run([this](GatewayLink& link, Prompt& prompt, const OperationContext& context) {
                const DiagnoseReading reading = readChannelStatus(link, 0, prompt, context);
                return [this, ok = reading.ok] { readings_ += ok ? 1 : 0; };
            });
        });
        timer_.start(500);
    }

private:
    gui::ExchangeWorker worker_;
    QTimer timer_;
    int readings_ = 0;
};

// The session is already pointed at the simulator: the link choices take it as it is.
CDlgupdown::Choosers asPointed() {
    CDlgupdown::Choosers choosers;
    choosers.serialPort = [](gui::Session&, QWidget*) { return true; };
    choosers.gateway = [](gui::Session&, QWidget*) { return true; };
    return choosers;
}

// Diagnose with channel 1 selected and its periodic refresh on.
std::unique_ptr<QObject> openDiagnose(gui::Session& session) {
    auto window = std::make_unique<gui::CDlgDiagnose>(session, nullptr);
    QSignalSpy opened(window.get(), &gui::CDlgDiagnose::opened);
    window->start();
    // A serial port opens on the worker first.
    if (opened.isEmpty() && !opened.wait(5000))
        return nullptr;
    window->tree()->setCurrentIndex(window->indexOf(QStringLiteral("Channel1")));
    window->togglePeriodic();
    return window;
}

// The memory display reading both areas in turn.
std::unique_ptr<QObject> openMemoryDisplay(gui::Session& session) {
    auto window = std::make_unique<gui::CDlgMemoryDisplay>(session);
    if (!window->start(asPointed()))
        return nullptr;
    return window;
}

bool live() {
    bool ok = true;
    const int seconds = 5;
    // The cases of the live windows: one line each.
    const struct {
        const char* name;
        OpenWindow open;
    } cases[] = {
        {"ExchangeWorker, channel status 500 ms",
         [](gui::Session& session) { return std::make_unique<PollingWorker>(session); }},
        {"Diagnose, periodic refresh", openDiagnose},
        {"Memory display", openMemoryDisplay},
    };
    for (const auto& each : cases)
        for (const GatewayModel model : {GatewayModel::Vela3hTcp, GatewayModel::Vela3hRtu}) {
            const PollRun run = pollSilentSimulator(model, seconds, each.open);
            printPoll(each.name, model, seconds, run);
            ok = run.ok && ok;
        }
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::string which = argc > 1 ? argv[1] : "default";
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    bool ok = true;
    std::printf("maximal project: 3 channels x 15 nodes, 256 Advanced commands of 26 segments per channel\n");
    if (which == "tcp" || which == "default" || which == "all")
        ok = transfer(GatewayModel::Vela3hTcp) && ok;
    if (which == "serial" || which == "all")
        ok = transfer(GatewayModel::Vela3hRtu) && ok;
    if (which == "live" || which == "default" || which == "all")
        ok = live() && ok;
    return ok ? 0 : 1;
}
