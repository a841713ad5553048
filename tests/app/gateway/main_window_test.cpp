// Tool / Download, Upload and Serial setting of the main window against vela-sim: the dialog
// opens, runs its transfer on the worker, and the window's flags, tree and caption follow.
#include "../shell/ModalDriver.h"
#include "../shell/WindowFixture.h"
#include "TransferFixture.h"
#include "app/ProjectDocument.h"
#include "gateway/CDlgSetSrialPort.h"
#include "model/COrlaItem.h"
#include "project/ProjectTreeModel.h"
#include "project/ProjectTreePane.h"
#include "support/SampleProjects.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace korvan;
using korvan::gui::CDlgupdown;

namespace {

// Presses OK in the transfer dialog the main window opened.
void pressOk(QWidget* opened) {
    auto* dialog = qobject_cast<CDlgupdown*>(opened);
    QVERIFY(dialog != nullptr);
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
}

} // namespace

class MainWindowTransferTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void downloadFromTheToolMenu() {
        test::SimulatorRun run(test::simulatorFor(GatewayModel::Vela1hTcp));
        test::WindowFixture fixture(GatewayModel::Vela1hTcp);
        fixture.core().link = run.settings();
        fixture.core().state.gatewayIp = "127.0.0.1";
        fixture.core().state.canDiagnose = true;
        fixture.core().product.networkBus().ethernetItems().at(0)->setValue("DHCP");
        fixture.prompt().answerNext(Answer::Yes);
        const test::ModalDriver driver(pressOk, 30000);
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
        fixture.window->setWindowTitle(QStringLiteral("other"));
        const int rowsBefore = fixture.window->treePane()->model()->rowCount();
        const test::ModalDriver driver(pressOk, 30000);
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
