#include "WindowFixture.h"
#include "support/ScriptedPrompt.h"
#include "tools/CDlgIEEE754FloatTrans.h"
#include "tools/CDlgPacketASCIITranslate.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace korvan;

namespace {

QStringList shown(const test::ScriptedPrompt& prompt) {
    QStringList texts;
    for (const std::string& text : prompt.shown)
        texts << QString::fromStdString(text);
    return texts;
}

} // namespace

class ConvertersTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void packing_data();
    void packing();
    void unpacking_data();
    void unpacking();
    void floatToBytes_data();
    void floatToBytes();
    void bytesToFloat_data();
    void bytesToFloat();
    void notANumberKeepsThePreviousValue();
    void enterAndEscapeKeepTheWindowsOpen();
    void mainWindowShowsEachConverterOnce();
    void accessibleNames();
};

void ConvertersTest::packing_data() {
    QTest::addColumn<QString>("ascii");
    QTest::addColumn<QString>("hex");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("four characters") << "ABCD"
                                     << "04 20 C4" << QStringList{};
    QTest::newRow("padded with spaces") << "AB"
                                        << "04 28 20" << QStringList{};
    QTest::newRow("lower case") << "abc"
                                << "04 20 E0" << QStringList{};
    QTest::newRow("illegal character") << "A~"
                                       << "" << QStringList{"Has Illegal char", "Illegal data"};
    QTest::newRow("empty") << ""
                           << "" << QStringList{"Illegal data"};
}

void ConvertersTest::packing() {
    QFETCH(QString, ascii);
    QFETCH(QString, hex);
    QFETCH(QStringList, messages);
    test::ScriptedPrompt prompt;
    gui::CDlgPacketASCIITranslate window(prompt);
    window.show();
    QTest::keyClicks(window.asciiText(), ascii);
    QTest::mouseClick(window.packButton(), Qt::LeftButton);
    QCOMPARE(window.hexText()->toPlainText(), hex);
    QCOMPARE(shown(prompt), messages);
}

void ConvertersTest::unpacking_data() {
    QTest::addColumn<QString>("hex");
    QTest::addColumn<QString>("ascii");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("with the added spaces") << "04 28 20"
                                           << "AB  " << QStringList{};
    QTest::newRow("lower case hex") << "04 20 c4"
                                    << "ABCD" << QStringList{};
    QTest::newRow("two bytes") << "04 20"
                               << "kept" << QStringList{"Incorrect data length"};
    QTest::newRow("not byte text") << "0420C4"
                                   << "kept" << QStringList{"Illegal data"};
    QTest::newRow("empty") << ""
                           << "kept" << QStringList{"Incorrect data length"};
}

void ConvertersTest::unpacking() {
    QFETCH(QString, hex);
    QFETCH(QString, ascii);
    QFETCH(QStringList, messages);
    test::ScriptedPrompt prompt;
    gui::CDlgPacketASCIITranslate window(prompt);
    window.show();
    window.asciiText()->setPlainText(QStringLiteral("kept"));
    QTest::keyClicks(window.hexText(), hex);
    QTest::mouseClick(window.unpackButton(), Qt::LeftButton);
    QCOMPARE(window.asciiText()->toPlainText(), ascii);
    QCOMPARE(shown(prompt), messages);
}

void ConvertersTest::floatToBytes_data() {
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("hex");
    QTest::newRow("one") << "1"
                         << "3F 80 00 00";
    QTest::newRow("pi") << "3.14159274"
                        << "40 49 0F DB";
    QTest::newRow("minus two") << "-2"
                               << "C0 00 00 00";
}

void ConvertersTest::floatToBytes() {
    QFETCH(QString, number);
    QFETCH(QString, hex);
    test::ScriptedPrompt prompt;
    gui::CDlgIEEE754FloatTrans window(prompt);
    window.show();
    window.floatField()->clear();
    QTest::keyClicks(window.floatField(), number);
    QTest::mouseClick(window.toBytesButton(), Qt::LeftButton);
    QCOMPARE(window.hexField()->text(), hex);
    QVERIFY(prompt.shown.empty());
}

void ConvertersTest::bytesToFloat_data() {
    QTest::addColumn<QString>("hex");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("minus two") << "C0 00 00 00"
                               << "-2" << QStringList{};
    QTest::newRow("lower case") << "3f 80 00 00"
                                << "1" << QStringList{};
    QTest::newRow("pi, six digits") << "40 49 0F DB"
                                    << "3.14159" << QStringList{};
    QTest::newRow("no spaces") << "3F800000"
                               << "7.5" << QStringList{"Illegal input data"};
    QTest::newRow("three bytes") << "3F 80 00"
                                 << "7.5" << QStringList{"Illegal input data"};
}

void ConvertersTest::bytesToFloat() {
    QFETCH(QString, hex);
    QFETCH(QString, number);
    QFETCH(QStringList, messages);
    test::ScriptedPrompt prompt;
    gui::CDlgIEEE754FloatTrans window(prompt);
    window.show();
    window.floatField()->setText(QStringLiteral("7.5"));
    QTest::keyClicks(window.hexField(), hex);
    QTest::mouseClick(window.toFloatButton(), Qt::LeftButton);
    QCOMPARE(window.floatField()->text(), number);
    QCOMPARE(shown(prompt), messages);
}

void ConvertersTest::notANumberKeepsThePreviousValue() {
    test::ScriptedPrompt prompt;
    gui::CDlgIEEE754FloatTrans window(prompt);
    window.show();
    window.floatField()->setText(QStringLiteral("1"));
    QTest::mouseClick(window.toBytesButton(), Qt::LeftButton);
    window.floatField()->setText(QStringLiteral("one"));
    QTest::mouseClick(window.toBytesButton(), Qt::LeftButton);
    QCOMPARE(shown(prompt), QStringList{"Enter a number."});
    // The conversion worked on the value before; the typed text stays to be mended.
    QCOMPARE(window.hexField()->text(), QStringLiteral("3F 80 00 00"));
    QCOMPARE(window.floatField()->text(), QStringLiteral("one"));
    QCOMPARE(window.value(), 1.0F);

    window.hexField()->setText(QStringLiteral("C0 00 00 00"));
    QTest::mouseClick(window.toFloatButton(), Qt::LeftButton);
    QCOMPARE(shown(prompt), (QStringList{"Enter a number.", "Enter a number."}));
    QCOMPARE(window.floatField()->text(), QStringLiteral("-2"));
}

void ConvertersTest::enterAndEscapeKeepTheWindowsOpen() {
    test::ScriptedPrompt prompt;
    gui::CDlgPacketASCIITranslate ascii(prompt);
    gui::CDlgIEEE754FloatTrans ieee(prompt);
    for (gui::ConverterWindow* window :
         {static_cast<gui::ConverterWindow*>(&ascii), static_cast<gui::ConverterWindow*>(&ieee)}) {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
            QTest::keyClick(window, key);
            QVERIFY(window->isVisible());
        }
    }
    QTest::keyClick(ieee.floatField(), Qt::Key_Return);
    QVERIFY(ieee.isVisible());
    QVERIFY(prompt.shown.empty());
}

void ConvertersTest::mainWindowShowsEachConverterOnce() {
    test::WindowFixture fixture(GatewayModel::Vela3hTcp);
    fixture.window->show();
    gui::CDlgPacketASCIITranslate* ascii = fixture.window->packedAsciiWindow();
    gui::CDlgIEEE754FloatTrans* ieee = fixture.window->floatWindow();
    QVERIFY(ascii != nullptr && ieee != nullptr);
    QVERIFY(!ascii->isVisible() && !ieee->isVisible());
    QCOMPARE(fixture.actions().packedAscii->shortcut(), QKeySequence(QStringLiteral("Ctrl+I")));
    QCOMPARE(fixture.actions().ieee754->shortcut(), QKeySequence(QStringLiteral("Ctrl+F")));

    fixture.actions().packedAscii->trigger();
    QVERIFY(ascii->isVisible());
    QVERIFY(!ascii->isModal());
    ascii->asciiText()->setPlainText(QStringLiteral("ABCD"));
    ascii->close();
    fixture.actions().packedAscii->trigger();
    // The same window comes back, with what it held.
    QCOMPARE(fixture.window->packedAsciiWindow(), ascii);
    QCOMPARE(ascii->asciiText()->toPlainText(), QStringLiteral("ABCD"));

    fixture.actions().ieee754->trigger();
    QVERIFY(ieee->isVisible());
    QVERIFY(!ieee->isModal());
}

void ConvertersTest::accessibleNames() {
    test::ScriptedPrompt prompt;
    gui::CDlgPacketASCIITranslate ascii(prompt);
    gui::CDlgIEEE754FloatTrans ieee(prompt);
    QCOMPARE(ascii.windowTitle(), QStringLiteral("Packed ASCII Translate"));
    QCOMPARE(ieee.windowTitle(), QStringLiteral("IEEE754 floating point conversion"));
    QCOMPARE(ascii.asciiText()->accessibleName(), QStringLiteral("ASCII"));
    QCOMPARE(ascii.hexText()->accessibleName(), QStringLiteral("Hex"));
    QCOMPARE(ascii.packButton()->accessibleName(), QStringLiteral("=>"));
    QCOMPARE(ascii.unpackButton()->accessibleName(), QStringLiteral("<="));
    QCOMPARE(ieee.floatField()->accessibleName(), QStringLiteral("Single precision floating point"));
    QCOMPARE(ieee.hexField()->accessibleName(), QStringLiteral("4 bytes hex data"));
    QCOMPARE(ieee.floatField()->text(), QStringLiteral("0"));
    if (qEnvironmentVariableIsSet("KORVAN_SHOTS")) {
        ascii.asciiText()->setPlainText(QStringLiteral("ABCD"));
        ascii.hexText()->setPlainText(QStringLiteral("04 20 C4"));
        ieee.hexField()->setText(QStringLiteral("40 49 0F DB"));
        ascii.show();
        ieee.show();
        ascii.grab().save(QStringLiteral("/tmp/gwd-ascii.png"));
        ieee.grab().save(QStringLiteral("/tmp/gwd-ieee.png"));
    }
}

QTEST_MAIN(ConvertersTest)
#include "converters_test.moc"
