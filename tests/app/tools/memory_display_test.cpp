// The memory display against vela-sim over TCP and over a pseudo-terminal (Vela-3H-RTU): the
// rows on screen are read, an output byte is edited in place and sent, the grids are saved to
// and loaded from ".data" files, the faults give their messages while the program stays
// responsive, and closing mid-exchange leaves nothing behind.
#include "MemoryToolsFixture.h"
#include "app/EnableFlags.h"
#include "support/TempDir.h"
#include "tools/CDlgMemoryDisplay.h"
#include "tools/MemoryExchange.h"
#include "tools/MemoryGridModel.h"

#include <QAction>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

using namespace korvan;
using korvan::gui::CDlgMemoryDisplay;
using korvan::gui::MemoryGridModel;

Q_DECLARE_METATYPE(korvan::GatewayModel)
Q_DECLARE_METATYPE(korvan::sim::FaultPlan)

namespace {

using Strings = std::vector<std::string>;

const QColor grey(200, 200, 200);

// A memory display over the simulator, started as the Tool menu would start it.
struct MemoryWindow {
    MemoryWindow(GatewayModel model, test::SimulatorRun& simulator)
        : run(simulator), session(model, simulator) {
        session.session.state.mode = WorkMode::Debug;
        session.session.state.canShowMemory = true;
        window = std::make_unique<CDlgMemoryDisplay>(session.session);
    }
    bool start() { return window->start(test::choosersFor(run)); }
    [[nodiscard]] QString cell(MemoryGridModel* model, int row, int column) const {
        return model->index(row, column).data().toString();
    }
    [[nodiscard]] test::ScriptedPrompt& prompt() { return session.prompt; }

    test::SimulatorRun& run;
    test::TransferSession session;
    std::unique_ptr<CDlgMemoryDisplay> window;
};

// Writes bytes into the simulator's memory the way the window's Send does, before the window
// opens.
void preload(GatewayModel model, test::SimulatorRun& run, std::uint16_t address, std::uint8_t first) {
    auto link = test::coreLink(model, run);
    QCOMPARE(link->open(), ResultCode::Success);
    test::ScriptedPrompt prompt;
    Bytes data;
    for (int i = 0; i < 64; ++i)
        data.push_back(static_cast<std::uint8_t>(first + i));
    QVERIFY(writeMemory(*link, address, data, prompt).ok);
    link->close();
}

void addModels() {
    QTest::addColumn<GatewayModel>("model");
    QTest::newRow("tcp") << GatewayModel::Vela3hTcp;
    QTest::newRow("pty") << GatewayModel::Vela3hRtu;
}

void clickCell(QTableView* view, int row, int column) {
    const QRect rect = view->visualRect(view->model()->index(row, column));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
}

} // namespace

class MemoryDisplayTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readsTheRowsOnScreen_data() { addModels(); }
    void readsTheRowsOnScreen();
    void editsAnOutputByteInPlace_data();
    void editsAnOutputByteInPlace();
    void sendWritesTheFourRowsOnScreen_data() { addModels(); }
    void sendWritesTheFourRowsOnScreen();
    void stopAndGoOnPauseAnArea();
    void savesAndLoadsDataFiles();
    void aBadFileChangesNothing();
    void faultsGiveTheirMessages_data();
    void faultsGiveTheirMessages();
    void closingMidExchangeLeavesNothingOpen_data() { addModels(); }
    void closingMidExchangeLeavesNothingOpen();
    void cancellingTheChoiceOffersTheToolsAgain();
};

void MemoryDisplayTest::readsTheRowsOnScreen() {
    QFETCH(GatewayModel, model);
    test::SimulatorRun run(test::simulatorFor(model));
    preload(model, run, 0, 0x10);
    preload(model, run, 2944, 0x80);
    MemoryWindow memory(model, run);
    QVERIFY(memory.start());
    QTRY_VERIFY_WITH_TIMEOUT(memory.window->isVisible(), test::exchangeWaitMs);
    MemoryGridModel* input = memory.window->inputModel();
    QCOMPARE(memory.cell(input, 0, 0), QStringLiteral("0000"));
    QCOMPARE(memory.cell(input, 3, 0), QStringLiteral("0048"));
    QCOMPARE(memory.cell(memory.window->outputModel(), 0, 0), QStringLiteral("3000"));

    // Scrolled to the top, a tick reads 08 04 00 00 00 40 4C and fills rows 0000-0048.
    QTRY_COMPARE_WITH_TIMEOUT(memory.cell(input, 3, 16), QStringLiteral("4F"), test::exchangeWaitMs);
    QCOMPARE(memory.cell(input, 0, 1), QStringLiteral("10"));
    QVERIFY(test::received(run, Bytes{0x08, 0x04, 0x00, 0x00, 0x00, 0x40, 0x4C}));

    // At the bottom the read starts at 2944; only the 56 bytes up to 2999 show, and the last
    // row's second half stays grey and empty.
    memory.window->inputView()->scrollToBottom();
    QTRY_COMPARE_WITH_TIMEOUT(memory.cell(input, 184, 1), QStringLiteral("80"), test::exchangeWaitMs);
    QVERIFY(test::received(run, closeFrame({0x08, 0x04, 0x00, 0x0B, 0x80, 0x40})));
    QCOMPARE(memory.cell(input, 187, 8), QStringLiteral("B7"));
    for (int column = 9; column <= 16; ++column) {
        QCOMPARE(memory.cell(input, 187, column), QString());
        QCOMPARE(input->index(187, column).data(Qt::BackgroundRole).value<QBrush>().color(), grey);
    }
    QCOMPARE(input->index(0, 0).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(49, 106, 197));
    // The output area is read too, in turn.
    QVERIFY(!test::framesStartingWith(run, Bytes{0x08, 0x04, 0x00, 0x0B, 0xB8}).empty());
    QVERIFY(memory.prompt().shown.empty());
    if (qEnvironmentVariableIsSet("KORVAN_SHOTS"))
        memory.window->grab().save(QStringLiteral("/tmp/gwd-memory-%1.png").arg(QTest::currentDataTag()));
}

void MemoryDisplayTest::editsAnOutputByteInPlace_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("lower case") << "7f"
                                << "7F";
    QTest::newRow("not hexadecimal") << "7G"
                                     << "3C";
    QTest::newRow("three digits") << "123"
                                  << "3C";
    QTest::newRow("one digit") << "7"
                               << "3C";
}

void MemoryDisplayTest::editsAnOutputByteInPlace() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    test::SimulatorRun run(test::simulatorFor(GatewayModel::Vela3hTcp));
    preload(GatewayModel::Vela3hTcp, run, 3000, 0x3C);
    MemoryWindow memory(GatewayModel::Vela3hTcp, run);
    memory.window->show();
    QVERIFY(memory.start());
    MemoryGridModel* output = memory.window->outputModel();
    QTRY_COMPARE_WITH_TIMEOUT(memory.cell(output, 0, 1), QStringLiteral("3C"), test::exchangeWaitMs);
    QTest::mouseClick(memory.window->outputStopButton(), Qt::LeftButton);

    QTableView* view = memory.window->outputView();
    clickCell(view, 0, 1);
    QPointer<QLineEdit> editor;
    QTRY_VERIFY((editor = view->findChild<QLineEdit*>()) != nullptr && editor->isVisible());
    QCOMPARE(editor->text(), QStringLiteral("3C"));
    QCOMPARE(editor->selectedText(), QStringLiteral("3C"));
    QTest::keyClicks(editor, typed);
    QTest::keyClick(editor, Qt::Key_Escape); // does nothing: neither the edit nor the window ends
    QVERIFY(editor->isVisible());
    QVERIFY(memory.window->isVisible());
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(editor.isNull() || !editor->isVisible());
    QCOMPARE(memory.cell(output, 0, 1), shown);
    QVERIFY(memory.window->isVisible());
}

void MemoryDisplayTest::sendWritesTheFourRowsOnScreen() {
    QFETCH(GatewayModel, model);
    test::SimulatorRun run(test::simulatorFor(model));
    preload(model, run, 3000, 0x01);
    MemoryWindow memory(model, run);
    memory.window->show();
    QVERIFY(memory.start());
    MemoryGridModel* output = memory.window->outputModel();
    QTRY_COMPARE_WITH_TIMEOUT(memory.cell(output, 3, 16), QStringLiteral("40"), test::exchangeWaitMs);
    QTest::mouseClick(memory.window->outputStopButton(), Qt::LeftButton);
    QTest::mouseClick(memory.window->inputStopButton(), Qt::LeftButton);
    QVERIFY(output->setData(output->index(0, 1), QStringLiteral("ee")));
    // A cell emptied by a loaded file goes as 00.
    auto rows = output->grid().rows();
    rows[1][0].clear();
    output->grid().setRows(rows);

    QTest::mouseClick(memory.window->sendButton(), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(memory.prompt().shown, Strings{"Success to write the memory:3000~3063"},
                              test::exchangeWaitMs);
    Bytes expected{0x48, 0x43, 0x00, 0x0B, 0xB8};
    for (int i = 0; i < 64; ++i)
        expected.push_back(i == 0 ? 0xEE : i == 16 ? 0 : static_cast<std::uint8_t>(1 + i));
    QVERIFY(test::received(run, closeFrame(expected)));

    // Scrolled down, Send follows the rows on screen.
    memory.window->outputView()->scrollTo(output->index(10, 0), QAbstractItemView::PositionAtTop);
    QCOMPARE(CDlgMemoryDisplay::topVisibleRow(memory.window->outputView()), std::size_t{10});
    QTest::mouseClick(memory.window->sendButton(), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(memory.prompt().shown.size(), std::size_t{2}, test::exchangeWaitMs);
    QCOMPARE(memory.prompt().shown.back(), std::string("Success to write the memory:3160~3223"));
    QVERIFY(memory.window->isVisible());
}

void MemoryDisplayTest::stopAndGoOnPauseAnArea() {
    test::SimulatorRun run(test::simulatorFor(GatewayModel::Vela1hTcp));
    MemoryWindow memory(GatewayModel::Vela1hTcp, run);
    QVERIFY(memory.start());
    QPushButton* stop = memory.window->inputStopButton();
    QCOMPARE(stop->text(), QStringLiteral("Stop"));
    QTest::mouseClick(stop, Qt::LeftButton);
    QCOMPARE(stop->text(), QStringLiteral("Go on"));
    QCOMPARE(stop->accessibleName(), QStringLiteral("Go on"));
    const std::size_t before = test::framesStartingWith(run, Bytes{0x08, 0x04, 0x00, 0x00, 0x00}).size();
    // Only the output area is read while the input area is stopped.
    const std::size_t frames = run.simulator().frames().size();
    QTRY_VERIFY_WITH_TIMEOUT(run.simulator().frames().size() >= frames + 3, test::exchangeWaitMs);
    QCOMPARE(test::framesStartingWith(run, Bytes{0x08, 0x04, 0x00, 0x00, 0x00}).size(), before);
    QTest::mouseClick(stop, Qt::LeftButton);
    QCOMPARE(stop->text(), QStringLiteral("Stop"));
    QTRY_VERIFY_WITH_TIMEOUT(test::framesStartingWith(run, Bytes{0x08, 0x04, 0x00, 0x00, 0x00}).size() >
                                 before,
                             test::exchangeWaitMs);
}

void MemoryDisplayTest::savesAndLoadsDataFiles() {
    test::SimulatorRun run(test::simulatorFor(GatewayModel::Vela3hTcp));
    test::TempDir dir;
    MemoryWindow memory(GatewayModel::Vela3hTcp, run);
    QString nextPath;
    memory.window->setFileChooser([&nextPath](QWidget*, bool) { return std::optional<QString>(nextPath); });
    QVERIFY(memory.start());
    QTest::mouseClick(memory.window->outputStopButton(), Qt::LeftButton);
    QTest::mouseClick(memory.window->inputStopButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!memory.window->worker()->busy(), test::exchangeWaitMs);

    // All 125 × 16 output cells: bytes, and an empty cell now and then.
    MemoryGridModel* output = memory.window->outputModel();
    for (int row = 0; row < 125; ++row)
        for (int column = 1; column <= 16; ++column)
            if ((row + column) % 7 != 0)
                QVERIFY(output->setData(
                    output->index(row, column),
                    QStringLiteral("%1").arg((row * 16 + column) % 256, 2, 16, QLatin1Char('0'))));
    const auto saved = output->grid().rows();
    nextPath = QString::fromStdString(dir.file("output"));
    QTest::mouseClick(memory.window->outputSaveButton(), Qt::LeftButton);
    const std::string text = test::readFile(dir.file("output"));
    QCOMPARE(std::count(text.begin(), text.end(), '\n'), 125);
    QCOMPARE(text.substr(0, 51), std::string("01 02 03 04 05 06 NO 08 09 0A 0B 0C 0D NO 0F 10 \r\r\n"));

    output->clear();
    QTest::mouseClick(memory.window->outputLoadButton(), Qt::LeftButton);
    QVERIFY(output->grid().rows() == saved);
    QCOMPARE(memory.cell(output, 124, 16), QString::fromStdString(saved[124][15]));

    // The input grid saves its 188 rows; an existing file is replaced without asking.
    nextPath = QString::fromStdString(dir.file("output"));
    QTest::mouseClick(memory.window->inputSaveButton(), Qt::LeftButton);
    const std::string input = test::readFile(dir.file("output"));
    QCOMPARE(std::count(input.begin(), input.end(), '\n'), 188);
    QVERIFY(memory.prompt().shown.empty());
    // Loading does not send anything.
    QVERIFY(test::framesStartingWith(run, Bytes{0x48}).empty());
}

void MemoryDisplayTest::aBadFileChangesNothing() {
    test::SimulatorRun run(test::simulatorFor(GatewayModel::Vela3hTcp));
    test::TempDir dir;
    test::writeFile(dir.file("bad.data"), "00 11 \r\r\nZZ \r\r\n");
    MemoryWindow memory(GatewayModel::Vela3hTcp, run);
    std::optional<QString> nextPath = QString::fromStdString(dir.file("bad.data"));
    memory.window->setFileChooser([&nextPath](QWidget*, bool) { return nextPath; });
    QVERIFY(memory.start());
    QTest::mouseClick(memory.window->outputStopButton(), Qt::LeftButton);
    MemoryGridModel* output = memory.window->outputModel();
    QVERIFY(output->setData(output->index(0, 1), QStringLiteral("5A")));
    QTest::mouseClick(memory.window->outputLoadButton(), Qt::LeftButton);
    QCOMPARE(memory.cell(output, 0, 1), QStringLiteral("5A"));
    QCOMPARE(memory.cell(output, 0, 2), QString());
    QCOMPARE(memory.prompt().shown.size(), std::size_t{1});
    QVERIFY(memory.prompt().shown[0].find("Line 2 holds \"ZZ\"") != std::string::npos);

    nextPath = QString::fromStdString(dir.file("missing.data"));
    QTest::mouseClick(memory.window->outputLoadButton(), Qt::LeftButton);
    QCOMPARE(memory.prompt().shown.size(), std::size_t{2});
    QVERIFY(memory.prompt().shown[1].find("could not be read") != std::string::npos);
    // A cancelled dialog does nothing.
    nextPath.reset();
    QTest::mouseClick(memory.window->outputLoadButton(), Qt::LeftButton);
    QTest::mouseClick(memory.window->outputSaveButton(), Qt::LeftButton);
    QCOMPARE(memory.prompt().shown.size(), std::size_t{2});
    QCOMPARE(memory.cell(output, 0, 1), QStringLiteral("5A"));
}

void MemoryDisplayTest::faultsGiveTheirMessages_data() {
    QTest::addColumn<GatewayModel>("model");
    QTest::addColumn<sim::FaultPlan>("faults");
    QTest::addColumn<bool>("send");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("closes");
    sim::FaultPlan silent;
    silent.silentFrom = 1;
    sim::FaultPlan late;
    late.lateAt = 1;
    late.lateMs = 1500;
    sim::FaultPlan corrupted;
    corrupted.badChecksumAt = 1;
    sim::FaultPlan refused;
    refused.refuseConnections = true;
    const QString readFails =
        QStringLiteral("Reads the configuration fails, verify the IP address and port number are correct!");
    const QString connectFails =
        QStringLiteral("Connection fails, make sure the IP address and port number are correct!");
    const auto tcp = GatewayModel::Vela3hTcp;
    const auto pty = GatewayModel::Vela3hRtu;
    QTest::newRow("tcp silent") << tcp << silent << false << readFails << false;
    QTest::newRow("tcp late") << tcp << late << false << readFails << false;
    QTest::newRow("tcp corrupted") << tcp << corrupted << false << "Read and check data error" << true;
    QTest::newRow("tcp refused") << tcp << refused << false << connectFails << false;
    QTest::newRow("tcp send silent") << tcp << silent << true << readFails << false;
    QTest::newRow("tcp send refused") << tcp << refused << true << connectFails << false;
    QTest::newRow("tcp send corrupted") << tcp << corrupted << true << "Download failed" << true;
    QTest::newRow("pty silent") << pty << silent << false << "Failed reading serial port" << true;
    QTest::newRow("pty late") << pty << late << false << "Failed reading serial port" << true;
    QTest::newRow("pty corrupted") << pty << corrupted << false << "Read and check data error" << true;
    QTest::newRow("pty send silent") << pty << silent << true << "Download failed" << true;
}

void MemoryDisplayTest::faultsGiveTheirMessages() {
    QFETCH(GatewayModel, model);
    QFETCH(sim::FaultPlan, faults);
    QFETCH(bool, send);
    QFETCH(QString, message);
    QFETCH(bool, closes);
    test::SimulatorRun run(test::simulatorFor(model, faults));
    MemoryWindow memory(model, run);
    QSignalSpy closed(memory.window.get(), &CDlgMemoryDisplay::closed);
    const test::TickWatch watch;
    QVERIFY(memory.start());
    QTRY_VERIFY_WITH_TIMEOUT(memory.window->isVisible(), test::exchangeWaitMs);
    if (send) {
        QTest::mouseClick(memory.window->outputStopButton(), Qt::LeftButton);
        QTest::mouseClick(memory.window->inputStopButton(), Qt::LeftButton);
        QTest::mouseClick(memory.window->sendButton(), Qt::LeftButton);
    }
    QTRY_VERIFY_WITH_TIMEOUT(!memory.prompt().shown.empty(), test::exchangeWaitMs);
    QCOMPARE(QString::fromStdString(memory.prompt().shown.front()), message);
    if (closes) {
        QTRY_VERIFY_WITH_TIMEOUT(!memory.window->isVisible(), test::exchangeWaitMs);
        QCOMPARE(closed.size(), 1);
        QVERIFY(!memory.window->timer()->isActive());
        QTRY_VERIFY_WITH_TIMEOUT(!memory.window->worker()->busy(), test::exchangeWaitMs);
        QCOMPARE(memory.prompt().shown.size(), std::size_t{1});
        QVERIFY(memory.session.session.state.canDiagnose);
    } else {
        // The window stays and reads on at the next tick.
        QVERIFY(memory.window->isVisible());
        QVERIFY(memory.window->timer()->isActive());
        QCOMPARE(closed.size(), 0);
    }
    QVERIFY2(watch.longestGapMs() < 1000, qPrintable(QString::number(watch.longestGapMs())));
    QTRY_VERIFY(watch.ticks() > 10);
}

void MemoryDisplayTest::closingMidExchangeLeavesNothingOpen() {
    QFETCH(GatewayModel, model);
    sim::FaultPlan faults;
    faults.lateAt = 1;
    faults.lateMs = 700;
    test::SimulatorRun run(test::simulatorFor(model, faults));
    MemoryWindow memory(model, run);
    QVERIFY(memory.start());
    QTRY_VERIFY_WITH_TIMEOUT(!run.simulator().frames().empty(), test::exchangeWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(memory.window->worker()->busy(), test::exchangeWaitMs);
    const test::TickWatch watch;
    QSignalSpy destroyed(memory.window.get(), &QObject::destroyed);
    memory.window->close();
    QVERIFY(!memory.window->timer()->isActive());
    memory.window.release()->deleteWhenIdle();
    QVERIFY(destroyed.wait(test::exchangeWaitMs));
    QVERIFY(memory.prompt().shown.empty());
    QVERIFY(run.waitForNoConnection());
    QVERIFY(watch.longestGapMs() < 1000);
}

void MemoryDisplayTest::cancellingTheChoiceOffersTheToolsAgain() {
    test::SimulatorRun run(test::simulatorFor(GatewayModel::Vela3hTcp));
    MemoryWindow memory(GatewayModel::Vela3hTcp, run);
    AppState& state = memory.session.session.state;
    QVERIFY(enable_flags::openMemoryDisplay(state));
    state.canSelectMode = false;
    gui::CDlgupdown::Choosers cancelled = test::choosersFor(run);
    cancelled.gateway = [](gui::Session&, QWidget*) { return false; };
    QVERIFY(!memory.window->start(cancelled));
    QVERIFY(!memory.window->isVisible());
    QCOMPARE(state.linkKind, LinkKind::Ethernet);
    QVERIFY(state.canSelectMode && state.canDiagnose && state.canShowMemory && state.canSerialDebug);
    QVERIFY(run.simulator().frames().empty());
}

QTEST_MAIN(MemoryDisplayTest)
#include "memory_display_test.moc"
