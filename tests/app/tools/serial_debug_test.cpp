// The serial debug assistant against vela-sim on a pseudo-terminal (Vela-3H-RTU), whose
// channel devices echo what they are sent: Checknum, Send, the 280 ms poll, Auto-send, Pause,
// Clear, the field checks, the faults, and the leave request on closing.
#include "MemoryToolsFixture.h"
#include "tools/CDlgSerialDebug2.h"
#include "tools/PassThroughExchange.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace korvan;
using korvan::gui::CDlgSerialDebug2;

Q_DECLARE_METATYPE(korvan::sim::FaultPlan)

namespace {

using Strings = std::vector<std::string>;

struct DebugWindow {
    explicit DebugWindow(test::SimulatorRun& simulator, std::string device = {})
        : run(simulator), session(GatewayModel::Vela3hRtu, simulator),
          window(std::make_unique<CDlgSerialDebug2>(session.session)) {
        session.session.state.mode = WorkMode::Debug;
        const std::string port = device.empty() ? simulator.ptyPath() : device;
        started = window->start([port](gui::Session& s, QWidget*) {
            s.state.serialPortName = port;
            return true;
        });
    }
    [[nodiscard]] test::ScriptedPrompt& prompt() { return session.prompt; }
    void type(QLineEdit* edit, const QString& text) {
        edit->clear();
        QTest::keyClicks(edit, text);
    }
    void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    test::SimulatorRun& run;
    test::TransferSession session;
    std::unique_ptr<CDlgSerialDebug2> window;
    bool started = false;
};

} // namespace

class SerialDebugTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opensWithItsFieldsEmpty();
    void checknum_data();
    void checknum();
    void sendPassesTheFrameThroughAndPollsAfter();
    void invalidFieldsAreRefused_data();
    void invalidFieldsAreRefused();
    void autoSendChecksItsPeriod_data();
    void autoSendChecksItsPeriod();
    void autoSendSendsEveryPeriodAndSkipsBadData();
    void pauseHidesRepliesAndClearEmpties();
    void faultsLeaveTheWindowResponsive_data();
    void faultsLeaveTheWindowResponsive();
    void aPortThatCannotOpenClosesTheWindow();
    void closingSendsTheLeaveRequestAndClosesThePort();
};

void SerialDebugTest::opensWithItsFieldsEmpty() {
    test::SimulatorRun run(test::simulatorFor(GatewayModel::Vela3hRtu));
    DebugWindow debug(run);
    QVERIFY(debug.started);
    CDlgSerialDebug2& w = *debug.window;
    QVERIFY(w.isVisible());
    QCOMPARE(w.windowTitle(), QStringLiteral("Serial Debug"));
    QCOMPARE(w.channelList()->count(), 3);
    QCOMPARE(w.channelList()->currentText(), QStringLiteral("Channel1"));
    QCOMPARE(debug.session.session.product.currentChannel(), debug.session.session.product.channel(0));
    QCOMPARE(w.periodEdit()->text(), QStringLiteral("500"));
    QCOMPARE(w.pauseButton()->text(), QStringLiteral("Pause show"));
    QVERIFY(!w.autoSendBox()->isChecked() && w.autoSendBox()->isEnabled());
    QVERIFY(w.headEdit()->text().isEmpty() && w.dataEdit()->text().isEmpty() &&
            w.checkEdit()->text().isEmpty());
    QVERIFY(w.receivedBox()->toPlainText().isEmpty());
    QVERIFY(!w.pollTimer()->isActive());
    w.channelList()->setCurrentIndex(2);
    QCOMPARE(debug.session.session.product.currentChannel(), debug.session.session.product.channel(2));
    // Nothing goes to the gateway before the first send.
    QVERIFY(run.simulator().frames().empty());
}

void SerialDebugTest::checknum_data() {
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("check");
    QTest::addColumn<QString>("message");
    QTest::newRow("01 02 03") << "01 02 03"
                              << "00"
                              << "";
    QTest::newRow("lower case") << "0a 0b"
                                << "01"
                                << "";
    QTest::newRow("single digit") << "0a 0"
                                  << ""
                                  << "Wrong data format";
    QTest::newRow("trailing space") << "01 "
                                    << ""
                                    << "Wrong data format";
}

void SerialDebugTest::checknum() {
    QFETCH(QString, data);
    QFETCH(QString, check);
    QFETCH(QString, message);
    test::SimulatorRun run(test::simulatorFor(GatewayModel::Vela3hRtu));
    DebugWindow debug(run);
    debug.type(debug.window->dataEdit(), data);
    debug.click(debug.window->checknumButton());
    QCOMPARE(debug.window->checkEdit()->text(), check);
    QCOMPARE(debug.prompt().shown, message.isEmpty() ? Strings{} : Strings{message.toStdString()});
}

void SerialDebugTest::sendPassesTheFrameThroughAndPollsAfter() {
    test::SimulatorRun run(test::simulatorFor(GatewayModel::Vela3hRtu));
    DebugWindow debug(run);
    debug.window->channelList()->setCurrentIndex(1);
    debug.type(debug.window->dataEdit(), QStringLiteral("01 02 03"));
    debug.type(debug.window->checkEdit(), QStringLiteral("00"));
    const test::TickWatch watch;
    debug.click(debug.window->sendButton());
    QVERIFY(debug.window->pollTimer()->isActive());
    QCOMPARE(debug.window->pollTimer()->interval(), CDlgSerialDebug2::PollMs);
    // The channel's device echoes the bytes: one line, each byte followed by a space.
    QTRY_COMPARE_WITH_TIMEOUT(debug.window->receivedText(), QStringLiteral("01 02 03 00 \r\n"),
                              test::exchangeWaitMs);
    QVERIFY(test::received(run, Bytes{0x4B, 0x05, 0x01, 0x01, 0x02, 0x03, 0x00, 0x57}));
    QCOMPARE(debug.window->receivedBox()->toPlainText(), QStringLiteral("01 02 03 00 \n"));
    // From now on the gateway is polled; an empty reply (4B 00) adds nothing.
    QTRY_VERIFY_WITH_TIMEOUT(test::framesStartingWith(run, pollRequest(1)).size() >= 2, test::exchangeWaitMs);
    QCOMPARE(debug.window->receivedText(), QStringLiteral("01 02 03 00 \r\n"));
    QVERIFY(debug.prompt().shown.empty());
    QVERIFY(watch.longestGapMs() < 1000);
}

void SerialDebugTest::invalidFieldsAreRefused_data() {
    QTest::addColumn<QString>("head");
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("check");
    QTest::addColumn<QString>("message");
    QTest::newRow("data trailing space") << ""
                                         << "01 02 "
                                         << ""
                                         << "Part of the data is wrong";
    QTest::newRow("data single digit") << ""
                                       << "01 2"
                                       << ""
                                       << "Part of the data is wrong";
    QTest::newRow("head") << "F"
                          << "01"
                          << ""
                          << "The head data format is wrong";
    QTest::newRow("check") << ""
                           << "01"
                           << "0x"
                           << "The end data format is wrong";
    QString longData = QStringLiteral("00");
    while (longData.size() < 1000)
        longData += QStringLiteral(" 00");
    QTest::newRow("too long") << "" << longData << ""
                              << "Data length is too large";
}

void SerialDebugTest::invalidFieldsAreRefused() {
    QFETCH(QString, head);
    QFETCH(QString, data);
    QFETCH(QString, check);
    QFETCH(QString, message);
    test::SimulatorRun run(test::simulatorFor(GatewayModel::Vela3hRtu));
    DebugWindow debug(run);
    debug.window->headEdit()->setText(head);
    debug.window->dataEdit()->setText(data);
    debug.window->checkEdit()->setText(check);
    debug.click(debug.window->sendButton());
    QTRY_COMPARE_WITH_TIMEOUT(debug.prompt().shown, Strings{message.toStdString()}, test::exchangeWaitMs);
    // The send is dropped; the poll that follows sends no pass-through bytes.
    QTRY_VERIFY_WITH_TIMEOUT(!run.simulator().frames().empty(), test::exchangeWaitMs);
    QCOMPARE(run.simulator().frames().front().bytes, pollRequest(0));
}

void SerialDebugTest::autoSendChecksItsPeriod_data() {
    QTest::addColumn<QString>("period");
    QTest::addColumn<QString>("message");
    QTest::newRow("not a number") << "abc"
                                  << "Enter a positive integer.";
    QTest::newRow("empty") << ""
                           << "Enter a positive integer.";
    QTest::newRow("too short") << "499"
                               << "Enter an integer between 500 and 65536.";
    QTest::newRow("too long") << "65537"
                              << "Enter an integer between 500 and 65536.";
}

void SerialDebugTest::autoSendChecksItsPeriod() {
    QFETCH(QString, period);
    QFETCH(QString, message);
    test::SimulatorRun run(test::simulatorFor(GatewayModel::Vela3hRtu));
    DebugWindow debug(run);
    debug.type(debug.window->periodEdit(), period);
    debug.click(debug.window->autoSendBox());
    QCOMPARE(debug.prompt().shown, Strings{message.toStdString()});
    QVERIFY(!debug.window->autoSendBox()->isChecked());
    QVERIFY(debug.window->sendButton()->isEnabled());
    QVERIFY(debug.window->periodEdit()->isEnabled());
    QVERIFY(!debug.window->autoSendTimer()->isActive());
}

void SerialDebugTest::autoSendSendsEveryPeriodAndSkipsBadData() {
    test::SimulatorRun run(test::simulatorFor(GatewayModel::Vela3hRtu));
    DebugWindow debug(run);
    debug.type(debug.window->dataEdit(), QStringLiteral("aa bb"));
    debug.click(debug.window->autoSendBox());
    QVERIFY(debug.window->autoSendBox()->isChecked());
    QVERIFY(!debug.window->sendButton()->isEnabled());
    QVERIFY(!debug.window->periodEdit()->isEnabled());
    QCOMPARE(debug.window->autoSendTimer()->interval(), 500);
    QTRY_COMPARE_WITH_TIMEOUT(debug.window->receivedText(), QStringLiteral("AA BB \r\nAA BB \r\n"),
                              test::exchangeWaitMs);

    // Bad data is skipped without a message; nothing more is sent.
    debug.type(debug.window->dataEdit(), QStringLiteral("aa b"));
    const std::size_t sent = test::framesStartingWith(run, Bytes{0x4B}).size();
    QSignalSpy ticks(debug.window->autoSendTimer(), &QTimer::timeout);
    QTRY_VERIFY_WITH_TIMEOUT(ticks.size() >= 2, test::exchangeWaitMs); // two periods without a send
    QCOMPARE(test::framesStartingWith(run, Bytes{0x4B}).size(), sent);
    QVERIFY(debug.prompt().shown.empty());

    debug.click(debug.window->autoSendBox());
    QVERIFY(debug.window->sendButton()->isEnabled());
    QVERIFY(debug.window->periodEdit()->isEnabled());
    QVERIFY(!debug.window->autoSendTimer()->isActive());
}

void SerialDebugTest::pauseHidesRepliesAndClearEmpties() {
    test::SimulatorRun run(test::simulatorFor(GatewayModel::Vela3hRtu));
    DebugWindow debug(run);
    debug.type(debug.window->dataEdit(), QStringLiteral("11 22 33"));
    debug.click(debug.window->sendButton());
    QTRY_COMPARE_WITH_TIMEOUT(debug.window->receivedText(), QStringLiteral("11 22 33 \r\n"),
                              test::exchangeWaitMs);

    debug.click(debug.window->pauseButton());
    QCOMPARE(debug.window->pauseButton()->text(), QStringLiteral("Go on"));
    const std::size_t before = test::framesStartingWith(run, Bytes{0x4B, 0x04}).size();
    debug.click(debug.window->sendButton());
    // The reply is read but not shown.
    QTRY_VERIFY_WITH_TIMEOUT(test::framesStartingWith(run, Bytes{0x4B, 0x04}).size() > before,
                             test::exchangeWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(test::framesStartingWith(run, pollRequest(0)).size() >= 2, test::exchangeWaitMs);
    QCOMPARE(debug.window->receivedText(), QStringLiteral("11 22 33 \r\n"));

    debug.click(debug.window->pauseButton());
    QCOMPARE(debug.window->pauseButton()->text(), QStringLiteral("Pause"));
    debug.click(debug.window->clearButton());
    QVERIFY(debug.window->receivedText().isEmpty());
    QVERIFY(debug.window->receivedBox()->toPlainText().isEmpty());
}

void SerialDebugTest::faultsLeaveTheWindowResponsive_data() {
    QTest::addColumn<sim::FaultPlan>("faults");
    QTest::addColumn<QString>("shown");
    sim::FaultPlan silent;
    silent.silentFrom = 1;
    sim::FaultPlan late;
    late.lateAt = 1;
    late.lateMs = 400;
    sim::FaultPlan corrupted;
    corrupted.garbageAt = 1;
    QTest::newRow("silent") << silent << "";
    // A late reply is read by a later poll.
    QTest::newRow("late") << late << "5A \r\n";
    // Rubbish that is no pass-through reply is ignored.
    QTest::newRow("corrupted") << corrupted << "";
}

void SerialDebugTest::faultsLeaveTheWindowResponsive() {
    QFETCH(sim::FaultPlan, faults);
    QFETCH(QString, shown);
    test::SimulatorRun run(test::simulatorFor(GatewayModel::Vela3hRtu, faults));
    DebugWindow debug(run);
    const test::TickWatch watch;
    debug.type(debug.window->dataEdit(), QStringLiteral("5A"));
    debug.click(debug.window->sendButton());
    QTRY_VERIFY_WITH_TIMEOUT(test::framesStartingWith(run, pollRequest(0)).size() >= 3, test::exchangeWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(debug.window->receivedText(), shown, test::exchangeWaitMs);
    QVERIFY(debug.prompt().shown.empty());
    QVERIFY(debug.window->isVisible());
    QVERIFY2(watch.longestGapMs() < 1000, qPrintable(QString::number(watch.longestGapMs())));
}

void SerialDebugTest::aPortThatCannotOpenClosesTheWindow() {
    test::SimulatorRun run(test::simulatorFor(GatewayModel::Vela3hRtu));
    DebugWindow debug(run, "/dev/korvan-no-such-port");
    QSignalSpy closed(debug.window.get(), &CDlgSerialDebug2::closed);
    debug.type(debug.window->dataEdit(), QStringLiteral("01"));
    debug.click(debug.window->sendButton());
    QTRY_COMPARE_WITH_TIMEOUT(debug.prompt().shown, Strings{"Failed openning serial port"},
                              test::exchangeWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(!debug.window->isVisible(), test::exchangeWaitMs);
    QCOMPARE(closed.size(), 1);
    QVERIFY(!debug.window->pollTimer()->isActive());
    QVERIFY(debug.session.session.state.canShowMemory && debug.session.session.state.canDiagnose);
}

void SerialDebugTest::closingSendsTheLeaveRequestAndClosesThePort() {
    sim::FaultPlan faults;
    faults.lateAt = 2;
    faults.lateMs = 600;
    test::SimulatorRun run(test::simulatorFor(GatewayModel::Vela3hRtu, faults));
    DebugWindow debug(run);
    debug.window->channelList()->setCurrentIndex(2);
    debug.type(debug.window->dataEdit(), QStringLiteral("01"));
    debug.click(debug.window->sendButton());
    QTRY_VERIFY_WITH_TIMEOUT(debug.window->receivedText() == QStringLiteral("01 \r\n"), test::exchangeWaitMs);
    // Closed while the poll's late reply is still on its way.
    QTRY_VERIFY_WITH_TIMEOUT(run.simulator().frames().size() >= 2, test::exchangeWaitMs);
    const test::TickWatch watch;
    QSignalSpy destroyed(debug.window.get(), &QObject::destroyed);
    debug.window->close();
    QVERIFY(!debug.window->pollTimer()->isActive());
    QVERIFY(debug.window->receivedText().isEmpty());
    debug.window.release()->deleteWhenIdle();
    QVERIFY(destroyed.wait(test::exchangeWaitMs));
    QTRY_VERIFY_WITH_TIMEOUT(test::received(run, leaveRequest(2)), test::exchangeWaitMs);
    QVERIFY(debug.prompt().shown.empty());
    QVERIFY(watch.longestGapMs() < 1000);
}

QTEST_MAIN(SerialDebugTest)
#include "serial_debug_test.moc"
