// Tool / Download, Upload and Serial setting of the main window against vela-sim: the dialog
// opens, runs its transfer on the worker, and the window's flags, tree and caption follow.
#include "../shell/ModalDriver.h"
#include "../shell/WindowFixture.h"
#include "SearchDriving.h"
#include "TransferFixture.h"
#include "app/ProjectDocument.h"
#include "gateway/CDlgSetSrialPort.h"
#include "model/COrlaItem.h"
#include "network/CSearch.h"
#include "project/ProjectTreeModel.h"
#include "project/ProjectTreePane.h"
#include "support/SampleProjects.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace korvan;
using korvan::gui::CDlgupdown;

using test::loopbackSearch;
using test::pressOk;
using test::signInThenPressOk;

class MainWindowTransferTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void downloadFromTheToolMenu() {
        test::SimulatorRun run(test::simulatorFor(GatewayModel::Vela1hTcp));
        test::WindowFixture fixture(GatewayModel::Vela1hTcp);
        fixture.core().link = run.settings();
        // The search asks this address alone, on the management port.
        fixture.core().state.gatewayIp = "127.0.0.1";
        fixture.core().state.directAddress = true;
        fixture.core().state.canDiagnose = true;
        fixture.core().product.networkBus().ethernetItems().at(0)->setValue("DHCP");
        fixture.prompt().answerNext(Answer::Yes);
        const test::ModalDriver driver([](QWidget* opened) { signInThenPressOk(opened); }, 30000);
        fixture.actions().download->trigger();
        // The dialog closed after its download; the flags are those of a closed download.
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QVERIFY(run.letters("tcp").find('C') != std::string::npos);
        QVERIFY(fixture.core().state.canDownload);
        QVERIFY(!fixture.core().state.canDiagnose);
        QVERIFY(fixture.actions().download->isEnabled());
    }

    void uploadFromTheToolMenuRebuildsTheTree() {
        test::SimulatorRun run(test::simulatorFor(GatewayModel::Vela3hTcp));
        {
            CProductTarn product;
            product.build(GatewayModel::Vela3hTcp);
            test::fillSampleProject(product);
            test::ScriptedPrompt prompt;
            prompt.answerNext(Answer::Yes); // its Assign IP Mode is DHCP
            auto link = test::coreLink(GatewayModel::Vela3hTcp, run);
            QCOMPARE(runDownload(product, *link, prompt).end, TransferEnd::Done);
        }
        test::WindowFixture fixture(GatewayModel::Vela3hTcp);
        fixture.core().link = run.settings();
        fixture.core().state.gatewayIp = "127.0.0.1";
        fixture.core().state.directAddress = true;
        fixture.window->setWindowTitle(QStringLiteral("other"));
        const int rowsBefore = fixture.window->treePane()->model()->rowCount();
        const test::ModalDriver driver([](QWidget* opened) { signInThenPressOk(opened); }, 30000);
        fixture.actions().upload->trigger();
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QCOMPARE(fixture.prompt().shown.back(), std::string("Upload successfully"));
        QVERIFY(fixture.core().state.projectDirty);
        QCOMPARE(fixture.window->windowTitle(), QString::fromUtf8(ProjectDocument::StartCaption));
        // The tree shows the uploaded nodes.
        QCOMPARE(fixture.window->treePane()->model()->rowCount(), rowsBefore);
        const std::vector<ProjectTreeItem> uploaded = buildProjectTree(fixture.core().product);
        QVERIFY(uploaded.size() > 1);
        const ProjectTreeItem& channel = uploaded.at(1);
        QVERIFY(!channel.children.empty());
        QVERIFY(fixture.window->treePane()
                    ->model()
                    ->findLabel(QString::fromStdString(channel.children.front().label))
                    .isValid());
    }

    // Nothing names the gateway: the download dialog's search finds the simulator, and the
    // download goes to the address signed in to.
    void downloadGoesToTheGatewayTheSearchFound() {
        test::SimulatorRun run(test::simulatorFor(GatewayModel::Vela3hTcp));
        test::WindowFixture fixture(GatewayModel::Vela3hTcp);
        LinkSettings ports = run.settings();
        ports.host.clear();
        fixture.core().link = ports;
        fixture.core().search = loopbackSearch(run);
        fixture.core().state.gatewayIp.clear();
        fixture.core().state.directAddress = false;
        std::vector<QString> listed;
        const test::ModalDriver driver(
            [&](QWidget* opened) {
                signInThenPressOk(opened, [&](const QTableView* list) {
                    for (int column = 0; column < list->model()->columnCount(); ++column)
                        listed.push_back(list->model()->index(0, column).data().toString());
                    if (qEnvironmentVariableIsSet("KORVAN_SHOTS"))
                        list->window()->grab().save(QStringLiteral("/tmp/mwt-search.png"));
                });
            },
            30000);
        fixture.actions().download->trigger();
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QCOMPARE(listed.at(1), QStringLiteral("Vela-3H-TCP"));
        QCOMPARE(listed.at(2), QStringLiteral("127.0.0.1"));
        QCOMPARE(fixture.core().state.gatewayIp, std::string("127.0.0.1"));
        QVERIFY(run.simulator().searchesAnswered() >= 1);
        // The template's configuration went in whole: every channel, and the reset question.
        QVERIFY(run.letters("tcp").find('C') != std::string::npos);
        QCOMPARE(fixture.prompt().asked.back(), QuestionId::RemoteReset);
    }

    // Cancel in the search: the transfer dialog never shows and nothing is sent.
    void cancellingTheSearchSendsNothing_data() {
        QTest::addColumn<bool>("upload");
        QTest::newRow("download") << false;
        QTest::newRow("upload") << true;
    }
    void cancellingTheSearchSendsNothing() {
        QFETCH(bool, upload);
        test::SimulatorRun run(test::simulatorFor(GatewayModel::Vela1hTcp));
        test::WindowFixture fixture(GatewayModel::Vela1hTcp);
        fixture.core().link = run.settings();
        fixture.core().search = loopbackSearch(run);
        bool sawSearch = false;
        const test::ModalDriver driver([&](QWidget* opened) {
            auto* search = qobject_cast<gui::CSearch*>(opened);
            QVERIFY(search != nullptr);
            sawSearch = true;
            QTest::mouseClick(search->cancelButton(), Qt::LeftButton);
        });
        (upload ? fixture.actions().upload : fixture.actions().download)->trigger();
        QVERIFY(sawSearch);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        // Only the search's requests came in.
        for (const sim::LoggedFrame& frame : run.simulator().frames())
            QCOMPARE(frame.port, std::string("udp"));
        QVERIFY(fixture.prompt().shown.empty());
    }

    void serialSettingChoosesThePort() {
        test::WindowFixture fixture(GatewayModel::Vela3hRtu);
        fixture.core().state.linkKind = LinkKind::Ethernet;
        const test::ModalDriver driver([](QWidget* opened) {
            auto* dialog = qobject_cast<gui::CDlgSetSrialPort*>(opened);
            QVERIFY(dialog != nullptr);
            dialog->portList()->setEditText(QStringLiteral("/dev/pts/42"));
            dialog->accept();
        });
        fixture.actions().serialSetting->trigger();
        QCOMPARE(fixture.core().state.serialPortName, std::string("/dev/pts/42"));
        QCOMPARE(fixture.core().state.linkKind, LinkKind::Serial);
    }
};

QTEST_MAIN(MainWindowTransferTest)
#include "main_window_test.moc"
