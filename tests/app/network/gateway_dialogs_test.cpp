#include "ModalDriver.h"
#include "SessionFixture.h"
#include "VelaSimulator.h"
#include "WindowFixture.h"
#include "network/CEthernetConfig.h"
#include "network/CSearch.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <thread>

using namespace korvan;

namespace {

// vela-sim on loopback for one test, on its own thread; it stops with the test or by itself.
class Simulator {
public:
    explicit Simulator(GatewayModel model, int answers = 1) : simulator_(options(model, answers)) {
        std::string reason;
        started_ = simulator_.start(reason);
        if (started_)
            thread_ = std::thread([this] { simulator_.run(); });
    }
    ~Simulator() {
        simulator_.stop();
        if (thread_.joinable())
            thread_.join();
    }
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    [[nodiscard]] bool started() const { return started_; }
    // The search asks the simulator's port, from loopback only: never a broadcast.
    [[nodiscard]] SearchSettings searchSettings() const {
        SearchSettings settings;
        settings.port = simulator_.searchPort();
        settings.broadcastAddress = "127.0.0.1";
        settings.localAddresses = [] { return std::vector<std::string>{"127.0.0.1"}; };
        return settings;
    }
    [[nodiscard]] int searchesAnswered() const { return simulator_.searchesAnswered(); }

private:
    static sim::SimOptions options(GatewayModel model, int answers) {
        sim::SimOptions options;
        options.model = model;
        options.lifetimeMs = 20000;
        options.searchAnswers = answers;
        return options;
    }

    sim::VelaSimulator simulator_;
    std::thread thread_;
    bool started_ = false;
};

QString cell(const QTableView* list, int row, int column) {
    return list->model()->index(row, column).data().toString();
}

void clickRow(QTableView* list, int row) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(row, 1)).center());
}

} // namespace

class GatewayDialogsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void ethernetConfigurationOpensFromTheState_data() {
        QTest::addColumn<bool>("direct");
        QTest::newRow("search") << false;
        QTest::newRow("fixed address") << true;
    }
    void ethernetConfigurationOpensFromTheState() {
        QFETCH(bool, direct);
        test::SessionFixture fixture(GatewayModel::Vela3hTcp);
        AppState& state = fixture.session.state;
        state.gatewayIp = "127.0.1.20";
        state.directAddress = direct;
        gui::CEthernetConfig dialog(state);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Ethernet configuration"));
        QCOMPARE(dialog.searchBox()->text(), QStringLiteral("Use the search function"));
        QCOMPARE(dialog.searchBox()->isChecked(), !direct);
        QCOMPARE(dialog.addressPart(0)->isEnabled(), direct);
        QCOMPARE(dialog.addressText(), QStringLiteral("127.0.1.20"));
        QVERIFY(dialog.findChild<QLabel*>() != nullptr);
        if (qEnvironmentVariableIsSet("KORVAN_SHOTS")) {
            dialog.show();
            dialog.grab().save(QStringLiteral("/tmp/gwd-ethernet-%1.png").arg(direct));
        }
    }

    void ethernetConfigurationWritesTheState_data() {
        QTest::addColumn<QStringList>("parts");
        QTest::addColumn<bool>("untick");
        QTest::addColumn<QString>("gatewayIp");
        QTest::addColumn<bool>("direct");
        QTest::addColumn<bool>("ethernet");
        QTest::newRow("fixed address")
            << QStringList{"127", "0", "1", "20"} << true << "127.0.1.20" << true << true;
        QTest::newRow("0.0.0.0 searches")
            << QStringList{"0", "0", "0", "0"} << true << "0.0.0.0" << false << true;
        QTest::newRow("empty parts read 0")
            << QStringList{"", "", "", ""} << true << "0.0.0.0" << false << true;
        QTest::newRow("ticked empties") << QStringList{"127", "0", "0", "1"} << false << "" << false << false;
    }
    void ethernetConfigurationWritesTheState() {
        QFETCH(QStringList, parts);
        QFETCH(bool, untick);
        QFETCH(QString, gatewayIp);
        QFETCH(bool, direct);
        QFETCH(bool, ethernet);
        test::SessionFixture fixture(GatewayModel::Vela3hTcp);
        AppState& state = fixture.session.state;
        state.gatewayIp = "127.1.1.1";
        gui::CEthernetConfig dialog(state);
        dialog.show();
        if (untick)
            QTest::mouseClick(dialog.searchBox(), Qt::LeftButton);
        QCOMPARE(state.directAddress, untick); // follows the box at once
        for (int i = 0; i < 4; ++i) {
            dialog.addressPart(i)->clear();
            QTest::keyClicks(dialog.addressPart(i), parts[i]);
        }
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(QString::fromStdString(state.gatewayIp), gatewayIp);
        QCOMPARE(state.directAddress, direct);
        QCOMPARE(state.linkKind == LinkKind::Ethernet, ethernet);
    }

    void ethernetConfigurationPartsTakeOnly0To255() {
        test::SessionFixture fixture(GatewayModel::Vela1hTcp);
        fixture.session.state.directAddress = true;
        gui::CEthernetConfig dialog(fixture.session.state);
        dialog.show();
        QLineEdit* part = dialog.addressPart(0);
        part->clear();
        QTest::keyClicks(part, QStringLiteral("256"));
        QCOMPARE(part->text(), QStringLiteral("25"));
        part->clear();
        QTest::keyClicks(part, QStringLiteral("1a9"));
        QCOMPARE(part->text(), QStringLiteral("19"));
    }

    void ethernetConfigurationCancelRestoresTheFlag() {
        test::SessionFixture fixture(GatewayModel::Vela3hTcp);
        AppState& state = fixture.session.state;
        state.gatewayIp = "127.0.0.5";
        gui::CEthernetConfig dialog(state);
        dialog.show();
        QTest::mouseClick(dialog.searchBox(), Qt::LeftButton);
        QVERIFY(state.directAddress);
        QTest::keyClicks(dialog.addressPart(3), QStringLiteral("9"));
        QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
        QVERIFY(!state.directAddress);
        QCOMPARE(state.gatewayIp, std::string("127.0.0.5"));
        QVERIFY(state.linkKind == LinkKind::Serial);
    }

    void mainWindowOffersEthernetConfigForTheTcpModels_data() {
        QTest::addColumn<int>("model");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("Vela-3H-TCP") << int(GatewayModel::Vela3hTcp) << true;
        QTest::newRow("Vela-1H-TCP") << int(GatewayModel::Vela1hTcp) << true;
        QTest::newRow("Vela-3H-RTU") << int(GatewayModel::Vela3hRtu) << false;
    }
    void mainWindowOffersEthernetConfigForTheTcpModels() {
        QFETCH(int, model);
        QFETCH(bool, enabled);
        test::WindowFixture fixture(static_cast<GatewayModel>(model));
        QAction* action = fixture.actions().ethernetConfig;
        QCOMPARE(action->isEnabled(), enabled);
        if (!enabled)
            return;
        fixture.window->show();
        bool opened = false;
        test::ModalDriver driver([&](QWidget* modal) {
            auto* dialog = qobject_cast<gui::CEthernetConfig*>(modal);
            QVERIFY(dialog != nullptr);
            opened = true;
            QTest::mouseClick(dialog->searchBox(), Qt::LeftButton);
            for (int i = 0; i < 4; ++i)
                QTest::keyClicks(dialog->addressPart(i), QStringList{"127", "0", "0", "1"}[i]);
            QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
        });
        action->trigger();
        QVERIFY(opened);
        QCOMPARE(fixture.core().state.gatewayIp, std::string("127.0.0.1"));
        QVERIFY(fixture.core().state.directAddress);
    }

    void fixedAddressListsTheSimulator() {
        Simulator simulator(GatewayModel::Vela1hTcp);
        QVERIFY(simulator.started());
        test::SessionFixture fixture(GatewayModel::Vela1hTcp);
        AppState& state = fixture.session.state;
        state.gatewayIp = "127.0.0.1";
        state.directAddress = true;
        gui::CSearch dialog(fixture.session, simulator.searchSettings());
        QSignalSpy completed(&dialog, &gui::CSearch::searchCompleted);
        dialog.show();
        // The query runs on a worker: the window is free meanwhile, and shows it searches.
        QCOMPARE(dialog.statusLabel()->text(), QStringLiteral("Searching"));
        QVERIFY(!dialog.signInButton()->isEnabled());
        QVERIFY(completed.wait(3000));
        QCOMPARE(dialog.statusLabel()->text(), QStringLiteral("Search completed"));
        QCOMPARE(dialog.progressBar()->value(), 100);
        QTableView* list = dialog.list();
        QCOMPARE(list->model()->rowCount(), 1);
        const QStringList headings{"No.", "Model", "IP Address", "MAC Address", "Firmware Version", "State"};
        for (int c = 0; c < 6; ++c)
            QCOMPARE(list->model()->headerData(c, Qt::Horizontal).toString(), headings[c]);
        QCOMPARE(cell(list, 0, 0), QStringLiteral("1"));
        QCOMPARE(cell(list, 0, 1), QStringLiteral("Vela-1H-TCP"));
        QVERIFY(!cell(list, 0, 2).isEmpty());
        QVERIFY(!dialog.signInButton()->isEnabled());
        QVERIFY(dialog.refreshButton()->isEnabled());
        QCOMPARE(simulator.searchesAnswered(), 1);

        state.gatewayIp = "127.0.0.1";
        clickRow(list, 0);
        QCOMPARE(QString::fromStdString(state.gatewayIp), cell(list, 0, 2));
        QVERIFY(dialog.signInButton()->isEnabled());
        if (qEnvironmentVariableIsSet("KORVAN_SHOTS"))
            dialog.grab().save(QStringLiteral("/tmp/gwd-search.png"));
        QTest::mouseClick(dialog.signInButton(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(fixture.prompt.shown.empty());
    }

    void refreshAsksTheSameAddressByTimer() {
        Simulator simulator(GatewayModel::Vela3hTcp, 2);
        QVERIFY(simulator.started());
        test::SessionFixture fixture(GatewayModel::Vela3hTcp);
        fixture.session.state.gatewayIp = "127.0.0.1";
        fixture.session.state.directAddress = true;
        gui::CSearch dialog(fixture.session, simulator.searchSettings());
        QSignalSpy completed(&dialog, &gui::CSearch::searchCompleted);
        dialog.show();
        QVERIFY(completed.wait(3000));
        QTest::mouseClick(dialog.refreshButton(), Qt::LeftButton);
        QCOMPARE(dialog.statusLabel()->text(), QStringLiteral("Searching"));
        QVERIFY(!dialog.refreshButton()->isEnabled());
        QCOMPARE(dialog.list()->model()->rowCount(), 0);
        QVERIFY(completed.wait(3000));
        QCOMPARE(dialog.statusLabel()->text(), QStringLiteral("Search completed"));
        QCOMPARE(dialog.progressBar()->value(), 100);
        // Two answers from one address show one row.
        QCOMPARE(dialog.list()->model()->rowCount(), 1);
        QCOMPARE(cell(dialog.list(), 0, 0), QStringLiteral(" 1"));
        QCOMPARE(cell(dialog.list(), 0, 1), QStringLiteral("Vela-3H-TCP"));
        QVERIFY(dialog.refreshButton()->isEnabled());
    }

    void signInRefusesAnotherModel() {
        Simulator simulator(GatewayModel::Vela1hTcp);
        QVERIFY(simulator.started());
        test::SessionFixture fixture(GatewayModel::Vela3hTcp);
        fixture.session.state.gatewayIp = "127.0.0.1";
        fixture.session.state.directAddress = true;
        gui::CSearch dialog(fixture.session, simulator.searchSettings());
        QSignalSpy completed(&dialog, &gui::CSearch::searchCompleted);
        dialog.show();
        QVERIFY(completed.wait(3000));
        clickRow(dialog.list(), 0);
        QTest::mouseClick(dialog.signInButton(), Qt::LeftButton);
        QCOMPARE(fixture.prompt.shown,
                 std::vector<std::string>{
                     "The selected device is inconsistent with the software protocol, please re select!"});
        QVERIFY(dialog.isVisible());
    }

    void silentAddressCompletesEmpty() {
        // Nobody listens on this port: the query times out and the list stays empty.
        Simulator simulator(GatewayModel::Vela3hTcp);
        QVERIFY(simulator.started());
        SearchSettings settings = simulator.searchSettings();
        settings.port = static_cast<std::uint16_t>(settings.port == 65535 ? 65534 : settings.port + 1);
        test::SessionFixture fixture(GatewayModel::Vela3hTcp);
        fixture.session.state.gatewayIp = "127.0.0.1";
        fixture.session.state.directAddress = true;
        gui::CSearch dialog(fixture.session, settings);
        QSignalSpy completed(&dialog, &gui::CSearch::searchCompleted);
        dialog.show();
        QVERIFY(dialog.querying());
        QVERIFY(completed.wait(3000));
        QCOMPARE(dialog.list()->model()->rowCount(), 0);
        QCOMPARE(dialog.statusLabel()->text(), QStringLiteral("Search completed"));
    }

    void closingDuringTheQueryWaitsForIt() {
        Simulator simulator(GatewayModel::Vela3hTcp);
        QVERIFY(simulator.started());
        SearchSettings settings = simulator.searchSettings();
        settings.port = static_cast<std::uint16_t>(settings.port == 65535 ? 65534 : settings.port + 1);
        test::SessionFixture fixture(GatewayModel::Vela3hTcp);
        fixture.session.state.gatewayIp = "127.0.0.1";
        fixture.session.state.directAddress = true;
        auto dialog = std::make_unique<gui::CSearch>(fixture.session, settings);
        dialog->show();
        QVERIFY(dialog->querying());
        QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
        QVERIFY(!dialog->querying());
        dialog.reset();
        QCoreApplication::processEvents(); // a late "finished" finds nothing to do
    }

    void runGatewaySearchAnswersTheChosenAddress() {
        Simulator simulator(GatewayModel::Vela1hTcp);
        QVERIFY(simulator.started());
        test::SessionFixture fixture(GatewayModel::Vela1hTcp);
        fixture.session.state.gatewayIp = "127.0.0.1";
        fixture.session.state.directAddress = true;
        test::ModalDriver driver([&](QWidget* modal) {
            auto* dialog = qobject_cast<gui::CSearch*>(modal);
            QVERIFY(dialog != nullptr);
            QTRY_COMPARE_WITH_TIMEOUT(dialog->list()->model()->rowCount(), 1, 3000);
            clickRow(dialog->list(), 0);
            QTest::mouseClick(dialog->signInButton(), Qt::LeftButton);
        });
        const auto chosen = gui::runGatewaySearch(fixture.session, nullptr, simulator.searchSettings());
        QVERIFY(chosen.has_value());
        QCOMPARE(*chosen, fixture.session.state.gatewayIp);

        test::ModalDriver cancel([&](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
        QVERIFY(!gui::runGatewaySearch(fixture.session, nullptr, simulator.searchSettings()).has_value());
    }
};

QTEST_MAIN(GatewayDialogsTest)
#include "gateway_dialogs_test.moc"
