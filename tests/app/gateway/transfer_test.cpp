// The download and upload dialog against vela-sim: over loopback TCP for the TCP models and
// over a pseudo-terminal for Vela-3H-RTU, each compared with the core's own transfer of the
// same project to a second simulator in the same test.
#include "TransferFixture.h"
#include "app/TransferRun.h"
#include "gateway/CDlgSetSrialPort.h"
#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"
#include "model/CommandItems.h"
#include "support/ProductDescription.h"
#include "support/SampleProjects.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace korvan;
using korvan::gui::CDlgupdown;
using korvan::gui::TransferDirection;
using Strings = std::vector<std::string>;

Q_DECLARE_METATYPE(korvan::GatewayModel)
Q_DECLARE_METATYPE(korvan::Answer)

namespace {

constexpr int transferLimitMs = 45000;

// Every frame the simulator received, with where it came from, one line each.
Strings framesOf(test::SimulatorRun& run) {
    Strings lines;
    for (const sim::LoggedFrame& frame : run.simulator().frames()) {
        std::string line = frame.port + " " + std::to_string(frame.transaction) + " " +
                           std::to_string(frame.frameType) + ":";
        for (const std::uint8_t byte : frame.bytes)
            line += " " + std::to_string(byte);
        lines.push_back(line);
    }
    return lines;
}

int resetsOf(test::SimulatorRun& run) {
    return run.simulator().withEngine([](const sim::GatewayEngine& engine) { return engine.resetCount(); });
}

// The dialog opened as the main window opens it, with the simulator as its link.
std::unique_ptr<CDlgupdown> openDialog(test::TransferSession& fixture, const test::SimulatorRun& run,
                                       TransferDirection direction) {
    auto dialog = std::make_unique<CDlgupdown>(fixture.session, direction);
    if (!dialog->prepare(test::choosersFor(run)))
        return nullptr;
    dialog->show();
    return dialog;
}

// Presses OK and waits for the transfer's end; false when it did not end in time.
bool pressOkAndWait(CDlgupdown& dialog) {
    QSignalSpy ended(&dialog, &CDlgupdown::transferEnded);
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    return ended.wait(transferLimitMs);
}

// What korvanctl does for the same project: the core's download to a second simulator.
struct CoreDownload {
    Strings frames;
    Strings shown;
    TransferEnd end = TransferEnd::Failed;
};

CoreDownload coreDownload(GatewayModel model, const std::function<void(CProductTarn&)>& fill,
                          std::vector<Answer> answers, sim::FaultPlan faults = {}) {
    test::SimulatorRun run(test::simulatorFor(model, faults));
    CProductTarn product;
    product.build(model);
    fill(product);
    test::ScriptedPrompt prompt;
    for (const Answer answer : answers)
        prompt.answerNext(answer);
    auto link = test::coreLink(model, run);
    CoreDownload result;
    result.end = runDownload(product, *link, prompt).end;
    (void)run.waitForFrames(run.simulator().frames().size());
    result.frames = framesOf(run);
    result.shown = prompt.shown;
    return result;
}

// The sample project's gateway takes its address from DHCP: the TCP models ask first.
std::vector<Answer> dhcpYes(GatewayModel model) {
    return isTcpModel(model) ? std::vector<Answer>{Answer::Yes} : std::vector<Answer>{};
}

void answer(test::ScriptedPrompt& prompt, const std::vector<Answer>& answers) {
    for (const Answer a : answers)
        prompt.answerNext(a);
}

void addModels() {
    QTest::addColumn<GatewayModel>("model");
    QTest::newRow("Vela-1H-TCP over TCP") << GatewayModel::Vela1hTcp;
    QTest::newRow("Vela-3H-TCP over TCP") << GatewayModel::Vela3hTcp;
    QTest::newRow("Vela-3H-RTU over a pseudo-terminal") << GatewayModel::Vela3hRtu;
}

// Counts the paint events a widget gets.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

class TransferTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void downloadSendsWhatTheCoreSends_data() { addModels(); }
    void downloadSendsWhatTheCoreSends();
    void uploadRebuildsWhatTheCoreRebuilds_data() { addModels(); }
    void uploadRebuildsWhatTheCoreRebuilds();
    void questionsAnsweredBothWays_data();
    void questionsAnsweredBothWays();
    void conflictKeepsTheDialogOpen();
    void faultsShowTheCoresMessagesWhileTheWindowLives_data();
    void faultsShowTheCoresMessagesWhileTheWindowLives();
    void closingMidTransferStopsBetweenExchanges();
    void destroyingMidTransferLeavesNothingBehind();
    void destroyedWhileItsQuestionWaits();
    void serialPortChosenInItsDialog();
    void cancelledChoiceDoesNotOpen();
};

void TransferTest::downloadSendsWhatTheCoreSends() {
    QFETCH(GatewayModel, model);
    const CoreDownload core = coreDownload(model, test::fillSampleProject, dhcpYes(model));
    QCOMPARE(core.end, TransferEnd::Done);

    test::SimulatorRun run(test::simulatorFor(model));
    test::TransferSession fixture(model, run);
    test::fillSampleProject(fixture.session.product);
    answer(fixture.prompt, dhcpYes(fixture.session.state.model));
    auto dialog = openDialog(fixture, run, TransferDirection::Download);
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Download"));
    QCOMPARE(dialog->linkList()->currentText(), model == GatewayModel::Vela3hRtu
                                                    ? QString::fromStdString(run.ptyPath())
                                                    : QStringLiteral("TCP/IP"));
    const test::TickWatch ticks;
    QSignalSpy ended(dialog.get(), &CDlgupdown::transferEnded);
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    QVERIFY(!dialog->okButton()->isEnabled());
    QVERIFY(!dialog->cancelButton()->isEnabled());
    QVERIFY(ended.wait(transferLimitMs));
    QCOMPARE(dialog->outcome()->end, TransferEnd::Done);
    QVERIFY(dialog->progressBar()->maximum() > 1);
    QCOMPARE(dialog->progressBar()->value(), dialog->progressBar()->maximum());
    QVERIFY(!dialog->isVisible());
    QVERIFY(run.waitForFrames(core.frames.size()));
    QCOMPARE(framesOf(run), core.frames);
    QCOMPARE(fixture.prompt.shown, core.shown);
    QVERIFY2(ticks.longestGapMs() < 500, qPrintable(QString::number(ticks.longestGapMs())));
    if (model != GatewayModel::Vela3hRtu)
        QCOMPARE(dialog->hint()->text(), QStringLiteral("Configuration information downloading ..."));
}

void TransferTest::uploadRebuildsWhatTheCoreRebuilds() {
    QFETCH(GatewayModel, model);
    test::SimulatorRun run(test::simulatorFor(model));
    {
        // The gateway holds the sample project.
        CProductTarn product;
        product.build(model);
        test::fillSampleProject(product);
        test::ScriptedPrompt prompt;
        answer(prompt, dhcpYes(model));
        auto link = test::coreLink(model, run);
        QCOMPARE(runDownload(product, *link, prompt).end, TransferEnd::Done);
    }
    CProductTarn core;
    core.build(model);
    {
        AppState state;
        test::ScriptedPrompt prompt;
        auto link = test::coreLink(model, run);
        QCOMPARE(runUpload(core, state, *link, prompt).end, TransferEnd::Done);
    }

    test::TransferSession fixture(model, run);
    auto dialog = openDialog(fixture, run, TransferDirection::Upload);
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Upload"));
    QVERIFY(pressOkAndWait(*dialog));
    QCOMPARE(dialog->outcome()->end, TransferEnd::Done);
    QCOMPARE(dialog->progressBar()->value(), dialog->progressBar()->maximum());
    QCOMPARE(fixture.prompt.shown, Strings{"Upload successfully"});
    QVERIFY(fixture.session.state.projectDirty);
    QCOMPARE(test::describeProduct(fixture.session.product), test::describeProduct(core));
}

void TransferTest::questionsAnsweredBothWays_data() {
    QTest::addColumn<GatewayModel>("model");
    QTest::addColumn<bool>("dhcp");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("resets");
    const auto yes = static_cast<int>(Answer::Yes);
    const auto no = static_cast<int>(Answer::No);
    const auto cancel = static_cast<int>(Answer::Cancel);
    QTest::newRow("DHCP yes, reset no")
        << GatewayModel::Vela3hTcp << true << QList<int>{yes, no} << static_cast<int>(TransferEnd::Done) << 0;
    QTest::newRow("DHCP no") << GatewayModel::Vela3hTcp << true << QList<int>{no}
                             << static_cast<int>(TransferEnd::Refused) << 0;
    QTest::newRow("DHCP cancel") << GatewayModel::Vela1hTcp << true << QList<int>{cancel}
                                 << static_cast<int>(TransferEnd::Refused) << 0;
    QTest::newRow("reset yes over TCP")
        << GatewayModel::Vela1hTcp << false << QList<int>{yes} << static_cast<int>(TransferEnd::Done) << 1;
    QTest::newRow("reset no over TCP")
        << GatewayModel::Vela3hTcp << false << QList<int>{no} << static_cast<int>(TransferEnd::Done) << 0;
    QTest::newRow("reset yes over serial")
        << GatewayModel::Vela3hRtu << false << QList<int>{yes} << static_cast<int>(TransferEnd::Done) << 1;
    QTest::newRow("reset cancel over serial")
        << GatewayModel::Vela3hRtu << false << QList<int>{cancel} << static_cast<int>(TransferEnd::Done) << 0;
}

void TransferTest::questionsAnsweredBothWays() {
    QFETCH(GatewayModel, model);
    QFETCH(bool, dhcp);
    QFETCH(QList<int>, answers);
    QFETCH(int, end);
    QFETCH(int, resets);
    test::SimulatorRun run(test::simulatorFor(model));
    test::TransferSession fixture(model, run);
    if (dhcp)
        fixture.session.product.networkBus().ethernetItems().at(0)->setValue("DHCP");
    for (const int answer : answers)
        fixture.prompt.answerNext(static_cast<Answer>(answer));
    auto dialog = openDialog(fixture, run, TransferDirection::Download);
    QVERIFY(dialog);
    QVERIFY(pressOkAndWait(*dialog));
    QCOMPARE(static_cast<int>(dialog->outcome()->end), end);
    std::vector<QuestionId> expected;
    if (dhcp)
        expected.push_back(QuestionId::ContinueWithDhcp);
    if (end == static_cast<int>(TransferEnd::Done))
        expected.push_back(QuestionId::RemoteReset);
    QCOMPARE(fixture.prompt.asked, expected);
    if (end == static_cast<int>(TransferEnd::Refused)) {
        // Nothing went out and the dialog stays for another try.
        QVERIFY(run.simulator().frames().empty());
        QVERIFY(dialog->isVisible());
        QVERIFY(dialog->okButton()->isEnabled());
        QVERIFY(dialog->cancelButton()->isEnabled());
    }
    if (resets > 0)
        QTRY_COMPARE_WITH_TIMEOUT(resetsOf(run), resets, 2000);
    else
        QCOMPARE(resetsOf(run), 0);
}

void TransferTest::conflictKeepsTheDialogOpen() {
    test::SimulatorRun run(test::simulatorFor(GatewayModel::Vela3hRtu));
    test::TransferSession fixture(GatewayModel::Vela3hRtu, run);
    test::fillSampleProject(fixture.session.product);
    // A second channel's command sends the same four bytes from 3000 as another.
    for (std::size_t i = 1; i < 3; ++i)
        fixture.session.product.channel(i)
            ->addNode()
            ->addHartCommand(fixture.session.product.registries(), 35)
            ->setItemInt(command_item::SendLengthBytes, 4);
    auto dialog = openDialog(fixture, run, TransferDirection::Download);
    QVERIFY(dialog);
    QVERIFY(pressOkAndWait(*dialog));
    QCOMPARE(dialog->outcome()->end, TransferEnd::Refused);
    QCOMPARE(fixture.prompt.shown, Strings{"Memory mapping has conflicts!"});
    QVERIFY(dialog->isVisible());
    QVERIFY(dialog->okButton()->isEnabled());
}

void TransferTest::faultsShowTheCoresMessagesWhileTheWindowLives_data() {
    QTest::addColumn<GatewayModel>("model");
    QTest::addColumn<int>("silentFrom");
    QTest::addColumn<int>("lateAt");
    QTest::addColumn<int>("badChecksumAt");
    QTest::addColumn<int>("garbageAt");
    QTest::addColumn<bool>("refused");
    QTest::newRow("silent over TCP") << GatewayModel::Vela3hTcp << 2 << 0 << 0 << 0 << false;
    QTest::newRow("late over TCP") << GatewayModel::Vela1hTcp << 0 << 3 << 0 << 0 << false;
    QTest::newRow("corrupted over TCP") << GatewayModel::Vela3hTcp << 0 << 0 << 2 << 0 << false;
    QTest::newRow("rubbish over TCP") << GatewayModel::Vela1hTcp << 0 << 0 << 0 << 3 << false;
    QTest::newRow("refused over TCP") << GatewayModel::Vela3hTcp << 0 << 0 << 0 << 0 << true;
    QTest::newRow("silent over serial") << GatewayModel::Vela3hRtu << 3 << 0 << 0 << 0 << false;
    QTest::newRow("corrupted over serial") << GatewayModel::Vela3hRtu << 0 << 0 << 4 << 0 << false;
}

void TransferTest::faultsShowTheCoresMessagesWhileTheWindowLives() {
    QFETCH(GatewayModel, model);
    QFETCH(int, silentFrom);
    QFETCH(int, lateAt);
    QFETCH(int, badChecksumAt);
    QFETCH(int, garbageAt);
    QFETCH(bool, refused);
    sim::FaultPlan faults;
    faults.silentFrom = silentFrom;
    faults.lateAt = lateAt;
    faults.lateMs = 3500;
    faults.badChecksumAt = badChecksumAt;
    faults.garbageAt = garbageAt;
    faults.refuseConnections = refused;
    const CoreDownload core = coreDownload(model, test::fillSampleProject, dhcpYes(model), faults);
    QVERIFY(core.end != TransferEnd::Done);
    QVERIFY(!core.shown.empty());

    test::SimulatorRun run(test::simulatorFor(model, faults));
    test::TransferSession fixture(model, run);
    test::fillSampleProject(fixture.session.product);
    answer(fixture.prompt, dhcpYes(fixture.session.state.model));
    auto dialog = openDialog(fixture, run, TransferDirection::Download);
    QVERIFY(dialog);
    const PaintCounter painted(dialog->progressBar());
    const test::TickWatch ticks;
    QSignalSpy ended(dialog.get(), &CDlgupdown::transferEnded);
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    // While the worker waits for the gateway, the window still paints.
    if (!refused) {
        QTest::qWait(0);
        const int before = painted.paints;
        dialog->progressBar()->update();
        QTRY_VERIFY_WITH_TIMEOUT(painted.paints > before || ended.count() > 0, 2000);
    }
    QVERIFY(ended.count() > 0 || ended.wait(transferLimitMs));
    QCOMPARE(dialog->outcome()->end, core.end);
    QCOMPARE(fixture.prompt.shown, core.shown);
    QVERIFY(!dialog->isVisible());
    QVERIFY2(ticks.longestGapMs() < 500, qPrintable(QString::number(ticks.longestGapMs())));
    QVERIFY(run.waitForNoConnection());
}

void TransferTest::closingMidTransferStopsBetweenExchanges() {
    sim::FaultPlan faults;
    faults.lateAt = 3; // the first command frame, answered within its 3000 ms
    faults.lateMs = 800;
    test::SimulatorRun run(test::simulatorFor(GatewayModel::Vela3hTcp, faults));
    test::TransferSession fixture(GatewayModel::Vela3hTcp, run);
    test::fillSampleProject(fixture.session.product);
    answer(fixture.prompt, dhcpYes(fixture.session.state.model));
    auto dialog = openDialog(fixture, run, TransferDirection::Download);
    QVERIFY(dialog);
    QSignalSpy ended(dialog.get(), &CDlgupdown::transferEnded);
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(run.simulator().frames().size() >= 3, 3000);
    dialog->close();
    // The window waits for the exchange on the line; it goes once the worker has stopped.
    QVERIFY(ended.count() > 0 || dialog->isVisible());
    QVERIFY(ended.count() > 0 || ended.wait(transferLimitMs));
    QCOMPARE(dialog->outcome()->end, TransferEnd::Stopped);
    QVERIFY(!fixture.prompt.shown.empty());
    QCOMPARE(fixture.prompt.shown.back(), std::string("The operation was stopped."));
    QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), 1000);
    QVERIFY(!dialog->running());
    QVERIFY(run.waitForNoConnection());
}

void TransferTest::destroyingMidTransferLeavesNothingBehind() {
    sim::FaultPlan faults;
    faults.silentFrom = 3;
    test::SimulatorRun run(test::simulatorFor(GatewayModel::Vela3hRtu, faults));
    test::TransferSession fixture(GatewayModel::Vela3hRtu, run);
    test::fillSampleProject(fixture.session.product);
    answer(fixture.prompt, dhcpYes(fixture.session.state.model));
    auto dialog = openDialog(fixture, run, TransferDirection::Download);
    QVERIFY(dialog);
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(run.simulator().frames().size() >= 3, 5000);
    QVERIFY(dialog->running());
    dialog.reset();
    // The port is closed: another link opens it at once and the gateway answers.
    SerialGatewayLink again(run.ptyPath());
    QCOMPARE(again.open(), ResultCode::Success);
    again.close();
}

void TransferTest::destroyedWhileItsQuestionWaits() {
    test::SimulatorRun run(test::simulatorFor(GatewayModel::Vela3hTcp));
    test::TransferSession fixture(GatewayModel::Vela3hTcp, run);
    fixture.session.product.networkBus().ethernetItems().at(0)->setValue("DHCP");
    fixture.prompt.answerNext(Answer::Yes);
    auto dialog = openDialog(fixture, run, TransferDirection::Download);
    QVERIFY(dialog);
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    // No event is processed: the question is still on its way when the dialog goes.
    dialog.reset();
    QVERIFY(fixture.prompt.asked.empty());
    QVERIFY(run.simulator().frames().empty());
}

void TransferTest::serialPortChosenInItsDialog() {
    test::SimulatorRun run(test::simulatorFor(GatewayModel::Vela3hRtu));
    test::TransferSession fixture(GatewayModel::Vela3hRtu, run);
    test::fillSampleProject(fixture.session.product);
    CDlgupdown dialog(fixture.session, TransferDirection::Download);
    bool typed = false;
    QTimer::singleShot(0, &dialog, [&] {
        auto* ports = qobject_cast<gui::CDlgSetSrialPort*>(QApplication::activeModalWidget());
        if (ports == nullptr)
            return;
        ports->portList()->setEditText(QString::fromStdString(run.ptyPath()));
        typed = true;
        ports->accept();
    });
    QTimer::singleShot(5000, &dialog, [] {
        if (QWidget* stuck = QApplication::activeModalWidget())
            stuck->close();
    });
    QVERIFY(dialog.prepare());
    QVERIFY(typed);
    QCOMPARE(fixture.session.state.serialPortName, run.ptyPath());
    QCOMPARE(dialog.linkList()->currentText(), QString::fromStdString(run.ptyPath()));
    dialog.show();
    QVERIFY(pressOkAndWait(dialog));
    QCOMPARE(dialog.outcome()->end, TransferEnd::Done);
}

void TransferTest::cancelledChoiceDoesNotOpen() {
    test::SimulatorRun run(test::simulatorFor(GatewayModel::Vela1hTcp));
    test::TransferSession fixture(GatewayModel::Vela1hTcp, run);
    fixture.session.state.canDiagnose = true;
    CDlgupdown dialog(fixture.session, TransferDirection::Upload);
    CDlgupdown::Choosers choosers = test::choosersFor(run);
    choosers.gateway = [](gui::Session&, QWidget*) { return false; };
    QVERIFY(!dialog.prepare(choosers));
    // The link became Ethernet before the search, as it opens.
    QCOMPARE(fixture.session.state.linkKind, LinkKind::Ethernet);
    QVERIFY(!fixture.session.state.canDiagnose);
    QCOMPARE(dialog.hint()->text(), QStringLiteral("Click \"Upload\" to upload the configuration."));
}

QTEST_MAIN(TransferTest)
#include "transfer_test.moc"
