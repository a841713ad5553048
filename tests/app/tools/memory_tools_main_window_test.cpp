// Tool / Show Memory Data and Tool / Serial Debugging Assistant of the main window against
// vela-sim: the window opens non-modal and talks to the gateway, the other tools are held
// back while it is open and offered again once it has closed.
#include "../gateway/SearchDriving.h"
#include "../shell/ModalDriver.h"
#include "../shell/WindowFixture.h"
#include "MemoryToolsFixture.h"
#include "app/EnableFlags.h"
#include "gateway/CDlgSetSrialPort.h"
#include "tools/CDlgMemoryDisplay.h"
#include "tools/CDlgSerialDebug2.h"
#include "tools/MemoryGridModel.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace korvan;

class MemoryToolsMainWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void showMemoryDataOpensTheMemoryDisplay() {
        test::SimulatorRun run(test::simulatorFor(GatewayModel::Vela1hTcp));
        test::WindowFixture fixture(GatewayModel::Vela1hTcp);
        fixture.core().link = run.settings();
        // The display's search asks this address alone, on the management port.
        fixture.core().state.gatewayIp = "127.0.0.1";
        fixture.core().state.directAddress = true;
        enable_flags::debugModeChosen(fixture.core().state);
        fixture.window->actionController().refresh();
        QVERIFY(fixture.actions().showMemory->isEnabled());

        {
            const test::ModalDriver driver([](QWidget* opened) { test::signInAtFirstGateway(opened); },
                                           30000);
            fixture.actions().showMemory->trigger();
        }
        gui::CDlgMemoryDisplay* memory = fixture.window->memoryDisplay();
        QVERIFY(memory != nullptr);
        QVERIFY(memory->isVisible());
        QVERIFY(!memory->isModal());
        QCOMPARE(fixture.core().state.linkKind, LinkKind::Ethernet);
        QVERIFY(!fixture.actions().diagnose->isEnabled());
        QTRY_COMPARE_WITH_TIMEOUT(memory->inputModel()->index(0, 1).data().toString(), QStringLiteral("00"),
                                  test::exchangeWaitMs);
        // Again while it is open: the same window comes to the front.
        fixture.actions().showMemory->trigger();
        QCOMPARE(fixture.window->memoryDisplay(), memory);

        QSignalSpy destroyed(memory, &QObject::destroyed);
        memory->close();
        QVERIFY(destroyed.wait(test::exchangeWaitMs));
        QVERIFY(fixture.window->memoryDisplay() == nullptr);
        QVERIFY(fixture.actions().diagnose->isEnabled());
        QVERIFY(fixture.actions().showMemory->isEnabled());
        QVERIFY(run.waitForNoConnection());
        QVERIFY(fixture.prompt().shown.empty());
    }

    void serialDebuggingAssistantOpensAfterThePortIsChosen() {
        test::SimulatorRun run(test::simulatorFor(GatewayModel::Vela3hRtu));
        test::WindowFixture fixture(GatewayModel::Vela3hRtu);
        fixture.core().state.serialDebugAllowed = true;
        enable_flags::debugModeChosen(fixture.core().state);
        fixture.window->actionController().refresh();
        QVERIFY(fixture.actions().serialDebug->isEnabled());
        const std::string pty = run.ptyPath();
        const test::ModalDriver driver([pty](QWidget* opened) {
            auto* dialog = qobject_cast<gui::CDlgSetSrialPort*>(opened);
            QVERIFY(dialog != nullptr);
            dialog->portList()->setEditText(QString::fromStdString(pty));
            dialog->accept();
        });
        fixture.actions().serialDebug->trigger();
        gui::CDlgSerialDebug2* debug = fixture.window->serialDebugWindow();
        QVERIFY(debug != nullptr);
        QVERIFY(debug->isVisible());
        QVERIFY(!fixture.actions().showMemory->isEnabled());
        QVERIFY(!fixture.actions().diagnose->isEnabled());

        debug->dataEdit()->setText(QStringLiteral("0A"));
        QTest::mouseClick(debug->sendButton(), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(debug->receivedText(), QStringLiteral("0A \r\n"), test::exchangeWaitMs);

        QSignalSpy destroyed(debug, &QObject::destroyed);
        debug->close();
        QVERIFY(destroyed.wait(test::exchangeWaitMs));
        QVERIFY(fixture.actions().showMemory->isEnabled());
        QVERIFY(fixture.actions().diagnose->isEnabled());
        QVERIFY(fixture.actions().serialDebug->isEnabled());
    }
};

QTEST_MAIN(MemoryToolsMainWindowTest)
#include "memory_tools_main_window_test.moc"
