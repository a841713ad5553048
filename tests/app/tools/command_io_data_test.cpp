// The command I/O data window against vela-sim over TCP and the pseudo-terminal, opened as the
// engineer opens it: a double-click on a command row of a node in Diagnose. Reading a reply,
// editing a value and writing it, and the faults of the read and of the write.
#include "DiagnoseFixture.h"
#include "tools/ItemValueModel.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>

using namespace korvan;
using Strings = std::vector<std::string>;

namespace {

constexpr int waitMs = 10000;

Strings rowsOf(const gui::CDlgCommandIOData& window) {
    Strings rows;
    for (const auto& row : window.rows()->rows())
        rows.push_back(row.item + "=" + row.value);
    return rows;
}

Bytes hex(const QString& text) {
    Bytes bytes;
    for (const QString& part : text.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        bytes.push_back(static_cast<std::uint8_t>(part.toUInt(nullptr, 16)));
    return bytes;
}

// Opens Diagnose, selects the node and double-clicks the command's row; true once the command
// I/O data window has refreshed.
bool openCommand(test::DiagnoseFixture& fixture, int command) {
    if (!fixture.open() || !fixture.select(QStringLiteral("Node(0)")))
        return false;
    fixture.window->togglePeriodic(); // only the command window's exchanges from here on
    const std::string label = "Command ID" + std::to_string(command);
    const auto& rows = fixture.window->rows()->rows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].item != label)
            continue;
        QSignalSpy refreshed(fixture.io.get(), &gui::CDlgCommandIOData::refreshed);
        QTableView* list = fixture.window->list();
        const QModelIndex cell = list->model()->index(static_cast<int>(i), 0);
        const QPoint at = list->visualRect(cell).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        return !refreshed.isEmpty() || refreshed.wait(waitMs);
    }
    return false;
}

// Types into a row's value as the engineer does: click, type, Enter.
void typeInto(gui::CDlgCommandIOData& window, int row, const QString& text) {
    QTableView* list = window.list();
    const QPoint at = list->visualRect(list->model()->index(row, 1)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    auto* editor = list->findChild<QLineEdit*>(QStringLiteral("valueEditor"));
    QVERIFY(editor != nullptr);
    QCOMPARE(editor->selectedText(), editor->text());
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    // The text box commits and closes once the events of the key have run.
    const QPointer<QLineEdit> open(editor);
    QTRY_VERIFY_WITH_TIMEOUT(open.isNull() || !open->isVisible(), 5000);
}

using test::bothLinks;

} // namespace

class CommandIoDataTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void decodedRows_data();
    void decodedRows();
    void writesWhatWasTyped_data();
    void writesWhatWasTyped();
    void refusedEditsKeepTheCell();
    void readFaults_data();
    void readFaults();
    void writeFaultsAreTold_data() { bothLinks(); }
    void writeFaultsAreTold();
};

void CommandIoDataTest::decodedRows_data() {
    QTest::addColumn<GatewayModel>("model");
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("payload");
    QTest::addColumn<QStringList>("rows");
    for (const GatewayModel model : {GatewayModel::Vela3hTcp, GatewayModel::Vela3hRtu}) {
        const char* link = model == GatewayModel::Vela3hRtu ? "pty" : "tcp";
        QTest::addRow("%s command 1", link)
            << model << 1 << QStringLiteral("00 00 20 42 C8 00 00")
            << QStringList{"Communication_Status=NoErr", "Response Code=sSuccess",
                           "Primary Variable Units Code=Degrees Celsius", "Primary Variable=100.000000"};
        QTest::addRow("%s framing error", link)
            << model << 1 << QStringLiteral("90 20 42 C8 00 00")
            << QStringList{"Communication_Status=FramingErr", "Response Code=sSuccess",
                           "Primary Variable Units Code=(null)", "Primary Variable=0.000000"};
        QTest::addRow("%s command 6 busy", link)
            << model << 6 << QStringLiteral("00 20")
            << QStringList{"Communication_Status=NoErr", "Response Code=Busy",
                           "Short Addr=", "Current Mode="};
        QTest::addRow("%s command 11", link)
            << model << 11 << QStringLiteral("00 00 FE 20 07 05 05 01 01 01 00 12 34 56")
            << QStringList{"Communication_Status=NoErr",
                           "Response Code=sSuccess",
                           "Manufactory=Moore Industries",
                           "Device Type=7",
                           "Preamble Number=5",
                           "Hart Revision=5",
                           "Device Revision=1",
                           "Software Revision=1",
                           "Hardware Revision=1",
                           "Flags=0",
                           "Device ID=1193046",
                           "Tag="};
    }
}

void CommandIoDataTest::decodedRows() {
    QFETCH(GatewayModel, model);
    QFETCH(int, command);
    QFETCH(QString, payload);
    QFETCH(QStringList, rows);
    sim::SimOptions options = test::simulatorFor(model);
    options.deviceReplies[command] = hex(payload);
    test::SimulatorRun run(options);
    test::DiagnoseFixture fixture(model, run, {3, static_cast<unsigned>(command)});
    QVERIFY(openCommand(fixture, command));
    QVERIFY(fixture.io->isVisible());
    QCOMPARE(fixture.io->windowTitle(), QStringLiteral("Command IO data"));
    QStringList shown;
    for (const std::string& row : rowsOf(*fixture.io))
        shown << QString::fromStdString(row);
    test::shoot(*fixture.io,
                QStringLiteral("command-io-") +
                    QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('-')));
    QCOMPARE(shown, rows);
    // The reads follow the command: Edit for 6 and 11, Refresh for all but 6.
    QCOMPARE(fixture.io->editButton()->isEnabled(), command == 6 || command == 11);
    QCOMPARE(fixture.io->refreshButton()->isEnabled(), command != 6);
    QVERIFY(fixture.prompt.shown.empty());
    // The read went as 07 02, channel, the command's key in the gateway, checksum.
    const auto frames = run.simulator().frames();
    QCOMPARE(frames.back().bytes, (Bytes{0x07, 0x02, 0x00, 0x01, 0x0A}));
}

void CommandIoDataTest::writesWhatWasTyped_data() {
    QTest::addColumn<GatewayModel>("model");
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("frameStart");
    QTest::addColumn<int>("frameLength");
    for (const GatewayModel model : {GatewayModel::Vela3hTcp, GatewayModel::Vela3hRtu}) {
        const char* link = model == GatewayModel::Vela3hRtu ? "pty" : "tcp";
        // Lower case is sent as its upper-case packed code, blanks up to 32 characters.
        QTest::addRow("%s message", link) << model << 17 << 2 << QStringLiteral("hello")
                                          << QStringLiteral("HELLO                           ")
                                          << QStringLiteral("47 1A 00 01 20 53 0C 3E 08 20") << 29;
        QTest::addRow("%s tag", link)
            << model << 18 << 2 << QStringLiteral("ab") << QStringLiteral("AB      ")
            << QStringLiteral("47 17 00 01 04 28 20") << 26;
        QTest::addRow("%s final assembly number", link)
            << model << 19 << 2 << QStringLiteral("1193046") << QStringLiteral("1193046")
            << QStringLiteral("47 05 00 01 12 34 56 E9") << 8;
    }
}

void CommandIoDataTest::writesWhatWasTyped() {
    QFETCH(GatewayModel, model);
    QFETCH(int, command);
    QFETCH(int, row);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(QString, frameStart);
    QFETCH(int, frameLength);
    test::SimulatorRun run(test::simulatorFor(model));
    test::DiagnoseFixture fixture(model, run, {3, static_cast<unsigned>(command)});
    QVERIFY(openCommand(fixture, command));
    // The write-only commands list an empty form without asking the gateway.
    QCOMPARE(test::framesWithLetter(run, 0x07), std::size_t{0});
    QVERIFY(!fixture.io->refreshButton()->isEnabled());
    QVERIFY(fixture.io->editButton()->isEnabled());
    QCOMPARE(fixture.io->rows()->rows().at(0).value, std::string("NoErr"));
    typeInto(*fixture.io, row, typed);
    QCOMPARE(QString::fromStdString(fixture.io->rows()->rows().at(static_cast<std::size_t>(row)).value),
             stored);

    QSignalSpy written(fixture.io.get(), &gui::CDlgCommandIOData::written);
    QTest::mouseClick(fixture.io->editButton(), Qt::LeftButton);
    QVERIFY(written.wait(waitMs));
    QCOMPARE(written.front().front().value<ResultCode>(), ResultCode::Success);
    const Bytes frame = run.simulator().frames().back().bytes;
    QCOMPARE(static_cast<int>(frame.size()), frameLength);
    const Bytes start = hex(frameStart);
    QCOMPARE(Bytes(frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(start.size())), start);
    QVERIFY(fixture.prompt.shown.empty());
}

void CommandIoDataTest::refusedEditsKeepTheCell() {
    test::SimulatorRun run(test::simulatorFor(GatewayModel::Vela3hTcp));
    test::DiagnoseFixture fixture(GatewayModel::Vela3hTcp, run, {18});
    QVERIFY(openCommand(fixture, 18));
    typeInto(*fixture.io, 4, QStringLiteral("31-13-2100"));
    QCOMPARE(fixture.io->rows()->rows().at(4).value, std::string("31-12-2100"));
    typeInto(*fixture.io, 4, QStringLiteral("1-1-2000"));
    QCOMPARE(fixture.prompt.shown, Strings{"Date format error!"});
    QCOMPARE(fixture.io->rows()->rows().at(4).value, std::string("31-12-2100"));
    // A character outside blank to underscore cannot be packed: nothing is sent.
    typeInto(*fixture.io, 2, QStringLiteral("a~b"));
    const std::size_t frames = run.simulator().frames().size();
    QTest::mouseClick(fixture.io->editButton(), Qt::LeftButton);
    QCOMPARE(fixture.prompt.shown.back(), std::string("Has Illegal char"));
    QVERIFY(!fixture.window->worker().busy());
    QCOMPARE(run.simulator().frames().size(), frames);
}

void CommandIoDataTest::readFaults_data() {
    QTest::addColumn<GatewayModel>("model");
    QTest::addColumn<int>("silentFrom");
    QTest::addColumn<int>("badChecksumAt");
    QTest::addColumn<QString>("message");
    // Exchange 1 is the node status read; exchange 2 the command's read.
    QTest::newRow("tcp silent") << GatewayModel::Vela3hTcp << 2 << 0
                                << QStringLiteral(
                                       "Reads the configuration fails, verify the IP address and port "
                                       "number are correct!");
    QTest::newRow("pty silent") << GatewayModel::Vela3hRtu << 2 << 0 << QString();
    // The reply's checksum is not examined: the rows are shown as they came.
    QTest::newRow("tcp corrupted") << GatewayModel::Vela3hTcp << 0 << 2 << QString();
}

void CommandIoDataTest::readFaults() {
    QFETCH(GatewayModel, model);
    QFETCH(int, silentFrom);
    QFETCH(int, badChecksumAt);
    QFETCH(QString, message);
    sim::FaultPlan faults;
    faults.silentFrom = silentFrom;
    faults.badChecksumAt = badChecksumAt;
    // The command is the session's own, with the key an upload would have given it.
    test::SimulatorRun run(test::simulatorFor(model, faults));
    test::DiagnoseFixture fixture(model, run);
    COrlaNode* node = fixture.session.product.channel(0)->pointToPointNodeAt(0);
    node->commandAt(0)->setLookupKey(0);
    const test::TickWatch watch;
    QVERIFY(openCommand(fixture, 1));
    QVERIFY(fixture.io->isVisible());
    if (message.isEmpty()) {
        QVERIFY(fixture.prompt.shown.empty());
    } else {
        QCOMPARE(fixture.prompt.shown, Strings{message.toStdString()});
    }
    QCOMPARE(fixture.io->rows()->rowCount() > 0, badChecksumAt != 0);
    QVERIFY2(watch.longestGapMs() < 1000, qPrintable(QString::number(watch.longestGapMs())));
}

void CommandIoDataTest::writeFaultsAreTold() {
    QFETCH(GatewayModel, model);
    sim::FaultPlan faults;
    faults.silentFrom = 2;
    test::SimulatorRun run(test::simulatorFor(model, faults));
    test::DiagnoseFixture fixture(model, run);
    COrlaNode* node = fixture.session.product.channel(0)->pointToPointNodeAt(0);
    node->commandAt(0)->setLookupKey(0);
    node->addHartCommand(fixture.session.product.registries(), 19)->setLookupKey(1);
    QVERIFY(openCommand(fixture, 19));
    typeInto(*fixture.io, 2, QStringLiteral("7"));
    QSignalSpy written(fixture.io.get(), &gui::CDlgCommandIOData::written);
    const test::TickWatch watch;
    QTest::mouseClick(fixture.io->editButton(), Qt::LeftButton);
    QVERIFY(written.wait(waitMs));
    QVERIFY(written.front().front().value<ResultCode>() != ResultCode::Success);
    const std::string expected =
        model == GatewayModel::Vela3hRtu
            ? "Failed reading serial port"
            : "Reads the configuration fails, verify the IP address and port number are "
              "correct!";
    QCOMPARE(fixture.prompt.shown, Strings{expected});
    QVERIFY(fixture.io->isVisible());
    QVERIFY2(watch.longestGapMs() < 1000, qPrintable(QString::number(watch.longestGapMs())));
}

QTEST_MAIN(CommandIoDataTest)
#include "command_io_data_test.moc"
