// The Diagnose window against vela-sim over TCP and the pseudo-terminal: the channel and node
// rows, the periodic refresh, Reset, the faults with the window alive and repainting, closing
// mid-exchange, and the main window's Diagnose command.
#include "../gateway/SearchDriving.h"
#include "../shell/ModalDriver.h"
#include "../shell/WindowFixture.h"
#include "DiagnoseFixture.h"
#include "shell/ActionController.h"

#include <QAction>
#include <QPushButton>
#include <QTableView>

using namespace korvan;
using Strings = std::vector<std::string>;

Q_DECLARE_METATYPE(korvan::sim::FaultPlan)

namespace {

constexpr int waitMs = 10000;

using test::bothLinks;
using test::framesWithLetter;

} // namespace

class DiagnoseTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void channelAndNodeRows_data() { bothLinks(); }
    void channelAndNodeRows();
    void periodicRefreshAndItsButton_data() { bothLinks(); }
    void periodicRefreshAndItsButton();
    void resetClearsTheChannelError_data() { bothLinks(); }
    void resetClearsTheChannelError();
    void faultsGiveTheirMessage_data();
    void faultsGiveTheirMessage();
    void closingMidExchange_data() { bothLinks(); }
    void closingMidExchange();
    void aPortThatCannotOpenKeepsTheWindowClosed();
    void theMainWindowOpensDiagnoseAfterTheUpload();
};

void DiagnoseTest::channelAndNodeRows() {
    QFETCH(GatewayModel, model);
    sim::SimOptions options = test::simulatorFor(model);
    options.commandStatuses[1] = 3; // the second command: "No response"
    test::SimulatorRun run(options);
    test::DiagnoseFixture fixture(model, run, {1, 48, 3});
    QVERIFY(fixture.open());
    QVERIFY(fixture.window->isVisible());
    QCOMPARE(fixture.window->windowTitle(), QStringLiteral("Diagnose "));
    QVERIFY(!fixture.window->refreshButton()->isEnabled());
    QVERIFY(!fixture.window->resetButton()->isEnabled());
    QCOMPARE(fixture.window->treeModel()->rowCount(), 4);
    QVERIFY(fixture.window->tree()->isExpanded(fixture.window->indexOf(QStringLiteral("Channel1"))));

    QVERIFY(fixture.select(QStringLiteral("Channel1")));
    const Strings channel = fixture.shownRows();
    QCOMPARE(channel.size(), std::size_t{4});
    QVERIFY(channel[0].starts_with("System State machine="));
    QCOMPARE(QString::fromStdString(channel[1]), QStringLiteral("Request times=1"));
    QVERIFY(channel[3].starts_with("Error times="));
    test::shoot(*fixture.window,
                QStringLiteral("diagnose-channel-") + QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(fixture.window->refreshButton()->isEnabled());
    QVERIFY(fixture.window->resetButton()->isEnabled());

    const QModelIndex node = fixture.window->indexOf(QStringLiteral("Node(0)"));
    QVERIFY(!fixture.window->showsError(node));
    QVERIFY(fixture.select(QStringLiteral("Node(0)")));
    QCOMPARE(fixture.shownRows(), (Strings{"Command ID1=Response correct", "Command ID48=No response",
                                           "Command ID3=Response correct"}));
    QVERIFY(fixture.window->refreshButton()->isEnabled());
    QVERIFY(!fixture.window->resetButton()->isEnabled());
    QVERIFY(fixture.window->showsError(node));
    test::shoot(*fixture.window,
                QStringLiteral("diagnose-node-") + QString::fromLatin1(QTest::currentDataTag()));

    // "Fieldbus" keeps the list and the buttons, and sends nothing, not even for the buttons.
    const QTableView* list = fixture.window->list();
    const std::size_t frames = run.simulator().frames().size();
    fixture.window->tree()->setCurrentIndex(fixture.window->indexOf(QStringLiteral("Fieldbus")));
    QTest::mouseClick(fixture.window->refreshButton(), Qt::LeftButton);
    QTest::mouseClick(fixture.window->resetButton(), Qt::LeftButton);
    QVERIFY(!fixture.window->worker().busy());
    QCOMPARE(run.simulator().frames().size(), frames);
    QCOMPARE(list->model()->rowCount(), 3);
    QVERIFY(fixture.prompt.shown.empty());
}

void DiagnoseTest::periodicRefreshAndItsButton() {
    QFETCH(GatewayModel, model);
    test::SimulatorRun run(test::simulatorFor(model));
    test::DiagnoseFixture fixture(model, run);
    fixture.window->timer().setInterval(100);
    QVERIFY(fixture.open());
    QVERIFY(fixture.select(QStringLiteral("Channel1")));
    QSignalSpy shown(fixture.window.get(), &gui::CDlgDiagnose::readingShown);
    QTRY_VERIFY_WITH_TIMEOUT(shown.size() >= 2, waitMs);
    QTRY_VERIFY_WITH_TIMEOUT(framesWithLetter(run, 0x05) >= 3, waitMs);
    QCOMPARE(fixture.shownRows().at(1).substr(0, 14), std::string("Request times="));

    QPushButton* periodic = fixture.window->periodicButton();
    QCOMPARE(periodic->text(), QStringLiteral("Periodically refresh"));
    QTest::mouseClick(periodic, Qt::LeftButton);
    QCOMPARE(periodic->text(), QStringLiteral("Keep on updating"));
    QCOMPARE(periodic->accessibleName(), periodic->text());
    QVERIFY(!fixture.window->state().tickReads());
    QTest::mouseClick(periodic, Qt::LeftButton);
    QCOMPARE(periodic->text(), QStringLiteral("Stop updating"));
    QVERIFY(fixture.window->state().tickReads());
    QVERIFY(fixture.prompt.shown.empty());
}

void DiagnoseTest::resetClearsTheChannelError() {
    QFETCH(GatewayModel, model);
    test::SimulatorRun run(test::simulatorFor(model));
    test::DiagnoseFixture fixture(model, run);
    QVERIFY(fixture.open());
    QVERIFY(fixture.select(QStringLiteral("Channel1")));
    fixture.window->togglePeriodic(); // only the button's exchanges from here on
    QSignalSpy shown(fixture.window.get(), &gui::CDlgDiagnose::readingShown);
    QTest::mouseClick(fixture.window->resetButton(), Qt::LeftButton);
    QVERIFY(shown.wait(waitMs));
    QCOMPARE(framesWithLetter(run, 0x45), std::size_t{1});
    // The echo matched: the channel status was read again.
    QCOMPARE(framesWithLetter(run, 0x05), std::size_t{2});
    QCOMPARE(QString::fromStdString(fixture.shownRows().at(1)), QStringLiteral("Request times=2"));
    QVERIFY(fixture.prompt.shown.empty());
}

void DiagnoseTest::faultsGiveTheirMessage_data() {
    QTest::addColumn<GatewayModel>("model");
    QTest::addColumn<sim::FaultPlan>("faults");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("stopsRefresh");
    const QString readFails =
        QStringLiteral("Reads the configuration fails, verify the IP address and port number are correct!");
    sim::FaultPlan silent;
    silent.silentFrom = 1;
    sim::FaultPlan late;
    late.lateAt = 1;
    late.lateMs = 3600;
    // The channel status reply ends in a byte after its checksum: rubbish corrupts it, a wrong
    // last byte would not.
    sim::FaultPlan corrupted;
    corrupted.garbageAt = 1;
    sim::FaultPlan badSum;
    badSum.badChecksumAt = 1;
    sim::FaultPlan refused;
    refused.refuseConnections = true;
    const GatewayModel tcp = GatewayModel::Vela3hTcp;
    const GatewayModel pty = GatewayModel::Vela3hRtu;
    const QString channel = QStringLiteral("Channel1");
    const QString node = QStringLiteral("Node(0)");
    QTest::newRow("tcp silent") << tcp << silent << channel << readFails << true;
    QTest::newRow("tcp late") << tcp << late << channel << readFails << true;
    QTest::newRow("tcp corrupted") << tcp << corrupted << channel
                                   << QStringLiteral("Read and check HART Channel failed") << true;
    QTest::newRow("tcp refused")
        << tcp << refused << channel
        << QStringLiteral("Connection fails, make sure the IP address and port number are correct!") << true;
    QTest::newRow("tcp node silent") << tcp << silent << node << readFails << true;
    QTest::newRow("tcp node corrupted")
        << tcp << badSum << node << QStringLiteral("Read and check the HART informattion error") << false;
    QTest::newRow("pty silent") << pty << silent << channel << QStringLiteral("Failed reading HART Channel")
                                << true;
    late.lateMs = 1500;
    QTest::newRow("pty late") << pty << late << channel << QStringLiteral("Failed reading HART Channel")
                              << true;
    QTest::newRow("pty corrupted") << pty << corrupted << channel
                                   << QStringLiteral("Read and check HART Channel failed") << true;
    QTest::newRow("pty node silent") << pty << silent << node
                                     << QStringLiteral("Failed reading the information of HART bus") << false;
    QTest::newRow("pty node corrupted")
        << pty << badSum << node << QStringLiteral("Read and check the HART informattion error") << false;
}

void DiagnoseTest::faultsGiveTheirMessage() {
    QFETCH(GatewayModel, model);
    QFETCH(sim::FaultPlan, faults);
    QFETCH(QString, item);
    QFETCH(QString, message);
    QFETCH(bool, stopsRefresh);
    test::SimulatorRun run(test::simulatorFor(model, faults));
    test::DiagnoseFixture fixture(model, run);
    QVERIFY(fixture.open());
    const test::TickWatch watch;
    QVERIFY(fixture.select(item));
    QVERIFY(!fixture.prompt.shown.empty());
    QCOMPARE(QString::fromStdString(fixture.prompt.shown.front()), message);
    QCOMPARE(fixture.window->state().periodic(), !stopsRefresh);
    QCOMPARE(fixture.window->periodicButton()->text(),
             stopsRefresh ? QStringLiteral("Keep on updating") : QStringLiteral("Periodically refresh"));
    QCOMPARE(fixture.window->rows()->rowCount(), 0);
    QVERIFY(fixture.window->isVisible());
    QVERIFY(watch.ticks() > 1);
    QVERIFY2(watch.longestGapMs() < 1000, qPrintable(QString::number(watch.longestGapMs())));
}

void DiagnoseTest::closingMidExchange() {
    QFETCH(GatewayModel, model);
    sim::FaultPlan faults;
    faults.silentFrom = 1;
    test::SimulatorRun run(test::simulatorFor(model, faults));
    test::DiagnoseFixture fixture(model, run);
    QVERIFY(fixture.open());
    QSignalSpy closed(fixture.window.get(), &gui::CDlgDiagnose::closed);
    fixture.window->tree()->setCurrentIndex(fixture.window->indexOf(QStringLiteral("Channel1")));
    QVERIFY(run.waitForFrames(1));
    QVERIFY(fixture.window->worker().busy());
    fixture.window->close();
    QCOMPARE(closed.size(), 1);
    QVERIFY(!fixture.window->isVisible());
    QVERIFY(!fixture.window->timer().isActive());
    QTRY_VERIFY_WITH_TIMEOUT(!fixture.window->worker().busy(), waitMs);
    // The exchange's message and result were dropped with the window's close.
    QVERIFY(fixture.prompt.shown.empty());
    QVERIFY(run.waitForNoConnection());
    fixture.window.reset();
}

void DiagnoseTest::aPortThatCannotOpenKeepsTheWindowClosed() {
    test::SimulatorRun run(test::simulatorFor(GatewayModel::Vela3hRtu));
    test::DiagnoseFixture fixture(GatewayModel::Vela3hRtu, run);
    fixture.session.state.serialPortName = "/nonexistent/tty";
    QSignalSpy closed(fixture.window.get(), &gui::CDlgDiagnose::closed);
    fixture.window->start();
    QVERIFY(closed.wait(waitMs));
    QVERIFY(!fixture.window->isVisible());
    QCOMPARE(fixture.prompt.shown, Strings{"Failed openning serial port"});
}

void DiagnoseTest::theMainWindowOpensDiagnoseAfterTheUpload() {
    test::SimulatorRun run(test::simulatorFor(GatewayModel::Vela3hTcp));
    {
        CProductTarn product;
        product.build(GatewayModel::Vela3hTcp);
        test::fillDiagnoseProject(product, {3});
        test::ScriptedPrompt quiet;
        auto link = test::coreLink(GatewayModel::Vela3hTcp, run);
        QCOMPARE(runDownload(product, *link, quiet).end, TransferEnd::Done);
    }
    test::WindowFixture fixture(GatewayModel::Vela3hTcp);
    fixture.core().link = run.settings();
    // The upload's search asks this address alone, on the management port.
    fixture.core().state.gatewayIp = "127.0.0.1";
    fixture.core().state.directAddress = true;
    fixture.core().state.canDiagnose = true;
    fixture.core().state.canDownload = true;
    fixture.window->actionController().refresh();
    gui::CDlgDiagnose* diagnose = fixture.window->diagnoseWindow();
    QVERIFY(diagnose != nullptr);
    QVERIFY(!diagnose->isVisible());
    QSignalSpy opened(diagnose, &gui::CDlgDiagnose::opened);
    {
        const test::ModalDriver driver(
            [](QWidget* modal) {
                test::signInThenPressOk(modal, {}, [](QWidget* dialog) {
                    auto* transfer = qobject_cast<gui::CDlgupdown*>(dialog);
                    QVERIFY(transfer != nullptr);
                    QCOMPARE(transfer->windowTitle(), QStringLiteral("Upload"));
                    QTest::mouseClick(transfer->okButton(), Qt::LeftButton);
                });
            },
            30000);
        fixture.actions().diagnose->trigger();
    }
    QVERIFY(!opened.isEmpty() || opened.wait(waitMs));
    QVERIFY(diagnose->isVisible());
    QVERIFY(!fixture.actions().download->isEnabled());
    QVERIFY(diagnose->indexOf(QStringLiteral("Node(0)")).isValid());
    QVERIFY(fixture.window->commandDataWindow() != nullptr);
    diagnose->close();
    QVERIFY(!diagnose->isVisible());
}

QTEST_MAIN(DiagnoseTest)
#include "diagnose_test.moc"
