// The serial port dialog: the listed ports with their descriptions, a device typed by hand,
// and what OK sets.
#include "app/AppState.h"
#include "gateway/CDlgSetSrialPort.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace korvan;
using korvan::gui::CDlgSetSrialPort;

namespace {

std::vector<os::SerialPortInfo> twoPorts() {
    return {{"/dev/ttyUSB0", "FT232R USB UART"}, {"/dev/ttyS0", ""}};
}

QPushButton* okOf(const CDlgSetSrialPort& dialog) {
    return dialog.buttons()->button(QDialogButtonBox::Ok);
}

} // namespace

class SerialPortTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void listsEachPortWithItsDescription() {
        AppState state;
        CDlgSetSrialPort dialog(state, twoPorts());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Select the serial port"));
        QCOMPARE(dialog.portList()->count(), 2);
        QCOMPARE(dialog.portList()->itemText(0), QStringLiteral("/dev/ttyUSB0 - FT232R USB UART"));
        QCOMPARE(dialog.portList()->itemText(1), QStringLiteral("/dev/ttyS0"));
        // The first time the last entry is chosen.
        QCOMPARE(dialog.portList()->currentIndex(), 1);
    }

    void okMakesTheChosenPortTheLink() {
        AppState state;
        state.linkKind = LinkKind::Ethernet;
        CDlgSetSrialPort dialog(state, twoPorts());
        dialog.portList()->setCurrentIndex(0);
        QTest::mouseClick(okOf(dialog), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(state.serialPortName, std::string("/dev/ttyUSB0"));
        QCOMPARE(state.linkKind, LinkKind::Serial);
        QVERIFY(state.canSelectMode);
        // Next time in this run the same port is chosen.
        CDlgSetSrialPort again(state, twoPorts());
        QCOMPARE(again.portList()->currentIndex(), 0);
    }

    void aDeviceTypedByHandIsAccepted() {
        AppState state;
        CDlgSetSrialPort dialog(state, twoPorts());
        dialog.portList()->lineEdit()->clear();
        QTest::keyClicks(dialog.portList()->lineEdit(), QStringLiteral("/dev/pts/7"));
        QVERIFY(okOf(dialog)->isEnabled());
        QTest::mouseClick(okOf(dialog), Qt::LeftButton);
        QCOMPARE(state.serialPortName, std::string("/dev/pts/7"));
        // A typed device is offered again next time.
        CDlgSetSrialPort again(state, twoPorts());
        QCOMPARE(again.portList()->currentText(), QStringLiteral("/dev/pts/7"));
    }

    void nothingChosenCannotBeConfirmed() {
        AppState state;
        CDlgSetSrialPort dialog(state, std::vector<os::SerialPortInfo>{});
        QVERIFY(!okOf(dialog)->isEnabled());
        dialog.accept();
        QVERIFY(state.serialPortName.empty());
        QVERIFY(!state.canSelectMode);
    }

    void cancelChangesNothing() {
        AppState state;
        state.serialPortName = "/dev/ttyS0";
        state.linkKind = LinkKind::Ethernet;
        CDlgSetSrialPort dialog(state, twoPorts());
        dialog.portList()->setCurrentIndex(0);
        QTest::mouseClick(dialog.buttons()->button(QDialogButtonBox::Cancel), Qt::LeftButton);
        QCOMPARE(state.serialPortName, std::string("/dev/ttyS0"));
        QCOMPARE(state.linkKind, LinkKind::Ethernet);
    }

    void theComputersPortsAreListed() {
        AppState state;
        CDlgSetSrialPort dialog(state);
        QCOMPARE(dialog.portList()->count(), static_cast<int>(os::listSerialPorts().size()));
    }
};

QTEST_MAIN(SerialPortTest)
#include "serial_port_test.moc"
