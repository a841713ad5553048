#include "ModalDriver.h"
#include "WindowFixture.h"
#include "app/EnableFlags.h"
#include "gateway/CDlgSetSrialPort.h"
#include "help/NewsPane.h"
#include "mapping/ConflictDialog.h"
#include "project/ParameterGridView.h"
#include "project/ProjectTreePane.h"
#include "shell/CDlgSelectMode.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <filesystem>

using namespace korvan;
using namespace korvan::gui;

Q_DECLARE_METATYPE(korvan::GatewayModel)
Q_DECLARE_METATYPE(korvan::WorkMode)

namespace {

QMenu* menuTitled(QMainWindow& window, const QString& title) {
    for (QAction* action : window.menuBar()->actions())
        if (action->text() == title)
            return action->menu();
    return nullptr;
}

// A menu's entries as the engineer reads them: the text, "\t" and the key when it has one;
// "-" for a separator.
QStringList entries(const QMenu* menu) {
    QStringList list;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator())
            list << QStringLiteral("-");
        else if (action->shortcut().isEmpty())
            list << action->text();
        else
            list << action->text() + QLatin1Char('\t') + action->shortcut().toString();
    }
    return list;
}

// Chooses a work mode through Tool / Select Mode as the engineer does.
void chooseMode(CMainFrame& window, WorkMode mode) {
    test::ModalDriver driver([mode](QWidget* modal) {
        auto* dialog = qobject_cast<CDlgSelectMode*>(modal);
        QVERIFY(dialog != nullptr);
        QTest::mouseClick(mode == WorkMode::Debug ? dialog->debugButton() : dialog->configButton(),
                          Qt::LeftButton);
        QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
    });
    window.actions().selectMode->trigger();
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void theMenusCarryEveryEntryWithItsKey() {
        test::WindowFixture fixture(GatewayModel::Vela3hTcp);
        CMainFrame& window = *fixture.window;
        QCOMPARE(entries(menuTitled(window, QStringLiteral("File(&F)"))),
                 (QStringList{"New(&N)\tCtrl+N", "Open(&O)\tCtrl+O", "Save(&S)\tCtrl+S", "Save As(&A)", "-",
                              "Recent Files", "-", "Exit(&X)"}));
        QCOMPARE(entries(menuTitled(window, QStringLiteral("Edit(&E)"))),
                 (QStringList{"Add Node(&I)", "Delete Node(&S)", "Add Command(&A)", "Delete Command(&L)"}));
        // The Tool entries run straight through, without separators.
        QCOMPARE(
            entries(menuTitled(window, QStringLiteral("Tool(&T)"))),
            (QStringList{"Serial setting(&P)", "Ethernet Config(&C)", "Upload(&U)\tCtrl+U",
                         "Download(&D)\tCtrl+D", "Auto Mapping(&M)\tCtrl+M", "Conflict Detect(&T)\tCtrl+T",
                         "Export Excel(&E)\tCtrl+E", "Select Mode(&S)", "Show Memory Data(&G)\tCtrl+G",
                         "Diagnose(&H)\tCtrl+H", "Serial Debugging Assistant(&J)\tCtrl+J",
                         "Packed ASCII Conversion(&I)\tCtrl+I", "IEEE 754 Conversion(&F)\tCtrl+F"}));
        QCOMPARE(entries(menuTitled(window, QStringLiteral("View(&V)"))),
                 (QStringList{"Tool Box(&T)", "Tree(&L)", "Annotation(&I)"}));
        QCOMPARE(entries(menuTitled(window, QStringLiteral("Help(&H)"))),
                 (QStringList{"Content(&C)", "About(&A)"}));
    }

    void theToolBarHasSixteenButtonsWithLabelsAndTooltips() {
        test::WindowFixture fixture(GatewayModel::Vela3hTcp);
        fixture.window->show();
        QToolBar* bar = fixture.window->toolBar();
        QCOMPARE(bar->iconSize(), QSize(32, 32));
        QCOMPARE(bar->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        const QStringList labels{"New",     "Save",     "Open",     "Add Node",   "Del Node", "Add Cmd",
                                 "Del Cmd", "Upload",   "Download", "AutoMap",    "Conflict", "Export",
                                 "Memory",  "Diagnose", "Debug",    "Mode Switch"};
        const QStringList tips{"New",
                               "Save",
                               "Open",
                               "Add Node",
                               "Delete Node",
                               "Add Command",
                               "Delete Command",
                               "Upload Configuration",
                               "Download Configuration",
                               "Calculate Mapping Address",
                               "Mapping Address Conflict Detection",
                               "Export Excel",
                               "Show Memory Data",
                               "Diagnose",
                               "Debug",
                               "Mode Switch"};
        QList<QAction*> buttons;
        for (QAction* action : bar->actions())
            if (!action->isSeparator())
                buttons << action;
        QCOMPARE(buttons.size(), 16);
        for (int i = 0; i < buttons.size(); ++i) {
            auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(buttons[i]));
            QVERIFY(button != nullptr);
            QCOMPARE(button->text(), labels[i]);
            QCOMPARE(button->accessibleName(), labels[i]);
            QCOMPARE(buttons[i]->toolTip(), tips[i]);
            QCOMPARE(button->height(), 60);
            // The label is never cut.
            QVERIFY2(button->width() >= button->fontMetrics().horizontalAdvance(labels[i]),
                     qPrintable(labels[i]));
        }
        // The toolbar and the menus share their actions, so their states never differ.
        QCOMPARE(buttons[15], fixture.actions().selectMode);
        QCOMPARE(buttons[14], fixture.actions().serialDebug);
        QVERIFY(menuTitled(*fixture.window, QStringLiteral("Tool(&T)"))->actions().contains(buttons[7]));
    }

    void thePanesSitWhereTheEngineerExpectsThem() {
        test::WindowFixture fixture(GatewayModel::Vela1hTcp);
        CMainFrame& window = *fixture.window;
        window.show();
        QCOMPARE(window.windowTitle(), QStringLiteral("Gateway Configuration Software Korvan"));
        QCOMPARE(window.minimumSize(), QSize(1024, 700));
        QVERIFY(window.findChild<QStatusBar*>() == nullptr);
        QCOMPARE(window.dockWidgetArea(window.treeDock()), Qt::LeftDockWidgetArea);
        QCOMPARE(window.dockWidgetArea(window.bottomDock()), Qt::BottomDockWidgetArea);
        QCOMPARE(window.treeDock()->windowTitle(), QStringLiteral("MY Control"));
        QCOMPARE(window.bottomDock()->windowTitle(), QStringLiteral("MY Control"));
        QCOMPARE(window.treeDock()->widget(), window.treePane());
        QCOMPARE(window.centralWidget(), window.gridView());
        QTabWidget* tabs = window.bottomTabs();
        QCOMPARE(tabs->count(), 2);
        QCOMPARE(tabs->tabText(0), QStringLiteral("Info"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("News"));
        QCOMPARE(tabs->currentWidget(), static_cast<QWidget*>(window.newsPane()));
        QVERIFY(window.infoPane()->isReadOnly());
        QCOMPARE(window.infoPane()->accessibleName(), QStringLiteral("Info"));
    }

    void theGridDrivesTheInfoPane() {
        test::WindowFixture fixture(GatewayModel::Vela3hRtu);
        CMainFrame& window = *fixture.window;
        window.show();
        Q_EMIT window.gridView()->annotationChanged(QStringLiteral("Delay between two polls, in ms"));
        QCOMPARE(window.infoPane()->toPlainText(), QStringLiteral("Delay between two polls, in ms"));
        Q_EMIT window.gridView()->cellClicked();
        QCOMPARE(window.bottomTabs()->currentWidget(), static_cast<QWidget*>(window.infoPane()));
        // A new project clears the annotation with the grid.
        window.actions().newProject->trigger();
        QVERIFY(window.infoPane()->toPlainText().isEmpty());
    }

    void theViewMenuShowsAndHidesThePanesWithCheckMarks() {
        test::WindowFixture fixture(GatewayModel::Vela3hTcp);
        CMainFrame& window = *fixture.window;
        window.show();
        QMenu* view = menuTitled(window, QStringLiteral("View(&V)"));
        const QList<QWidget*> panes{window.toolBar(), window.treeDock(), window.bottomDock()};
        for (int i = 0; i < 3; ++i) {
            QAction* toggle = view->actions()[i];
            QVERIFY(toggle->isCheckable());
            QVERIFY(toggle->isChecked());
            toggle->trigger();
            QVERIFY(!panes[i]->isVisible());
            QVERIFY(!toggle->isChecked());
            toggle->trigger();
            QVERIFY(panes[i]->isVisible());
            QVERIFY(toggle->isChecked());
        }
    }

    void theEnableRulesFollowTheModelAndTheMode_data() {
        QTest::addColumn<GatewayModel>("model");
        QTest::addColumn<WorkMode>("mode");
        // Serial setting, Ethernet Config, Upload, Download, Select Mode, Show Memory Data,
        // Diagnose, Serial Debugging Assistant
        QTest::addColumn<QString>("enabled");
        QTest::newRow("Vela-3H-RTU Config") << GatewayModel::Vela3hRtu << WorkMode::Config << "10111000";
        QTest::newRow("Vela-3H-RTU Debug") << GatewayModel::Vela3hRtu << WorkMode::Debug << "10001111";
        QTest::newRow("Vela-3H-TCP Config") << GatewayModel::Vela3hTcp << WorkMode::Config << "01111000";
        QTest::newRow("Vela-3H-TCP Debug") << GatewayModel::Vela3hTcp << WorkMode::Debug << "01001110";
        QTest::newRow("Vela-1H-TCP Config") << GatewayModel::Vela1hTcp << WorkMode::Config << "01111000";
        QTest::newRow("Vela-1H-TCP Debug") << GatewayModel::Vela1hTcp << WorkMode::Debug << "01001110";
    }
    void theEnableRulesFollowTheModelAndTheMode() {
        QFETCH(GatewayModel, model);
        QFETCH(WorkMode, mode);
        QFETCH(QString, enabled);
        test::WindowFixture fixture(model);
        CMainFrame& window = *fixture.window;
        window.show();
        chooseMode(window, mode);
        QCOMPARE(fixture.core().state.mode, mode);

        const MainActions& a = fixture.actions();
        const QList<QAction*> ruled{a.serialSetting, a.ethernetConfig, a.upload,   a.download,
                                    a.selectMode,    a.showMemory,     a.diagnose, a.serialDebug};
        QString actual;
        for (QAction* action : ruled)
            actual += action->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        QCOMPARE(actual, enabled);
        // The toolbar's buttons follow the same actions.
        for (QAction* action : ruled)
            if (QWidget* button = window.toolBar()->widgetForAction(action))
                QCOMPARE(button->isEnabled(), action->isEnabled());
        // Nothing is selected in the tree: its commands are off; the others are always on.
        for (QAction* action : a.treeContext())
            QVERIFY(!action->isEnabled());
        for (QAction* action :
             {a.newProject, a.open, a.save, a.saveAs, a.exit, a.autoMapping, a.conflictDetect, a.exportExcel,
              a.packedAscii, a.ieee754, a.helpContent, a.about})
            QVERIFY2(action->isEnabled(), qPrintable(action->text()));
    }

    void theDebugToolsCloseTheOtherCommandsWhenTheyOpen() {
        test::WindowFixture fixture(GatewayModel::Vela3hRtu);
        CMainFrame& window = *fixture.window;
        window.show();
        chooseMode(window, WorkMode::Debug);
        const MainActions& a = fixture.actions();
        {
            // Diagnose first runs the upload, whose serial port choice is cancelled here.
            const test::ModalDriver driver([](QWidget* opened) {
                if (auto* dialog = qobject_cast<QDialog*>(opened))
                    dialog->reject();
            });
            a.diagnose->trigger();
        }
        QVERIFY(a.diagnose->isEnabled());
        QVERIFY(!a.showMemory->isEnabled());
        QVERIFY(!a.serialDebug->isEnabled());

        chooseMode(window, WorkMode::Debug);
        {
            // The assistant asks for its serial port first; the port opens only at a send.
            const test::ModalDriver driver([](QWidget* opened) {
                auto* dialog = qobject_cast<gui::CDlgSetSrialPort*>(opened);
                QVERIFY(dialog != nullptr);
                dialog->portList()->setEditText(QStringLiteral("/dev/pts/42"));
                dialog->accept();
            });
            a.serialDebug->trigger();
        }
        QVERIFY(!a.showMemory->isEnabled());
        QVERIFY(!a.diagnose->isEnabled());
        QVERIFY(a.serialDebug->isEnabled());

        chooseMode(window, WorkMode::Config);
        // An upload over Ethernet takes Select Mode away until the transfer is done.
        fixture.core().state.linkKind = LinkKind::Ethernet;
        {
            // The upload's link dialog opens; it is cancelled.
            const test::ModalDriver driver([](QWidget* opened) {
                if (auto* dialog = qobject_cast<QDialog*>(opened))
                    dialog->reject();
            });
            a.upload->trigger();
        }
        QVERIFY(!a.selectMode->isEnabled());
    }

    void theKeysRunTheirCommands() {
        test::WindowFixture fixture(GatewayModel::Vela3hTcp);
        CMainFrame& window = *fixture.window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_M, Qt::ControlModifier);
        QCOMPARE(fixture.prompt().asked, std::vector{QuestionId::AutoMapAddresses});
    }

    void autoMappingAsksAndReports() {
        test::WindowFixture fixture(GatewayModel::Vela3hTcp);
        fixture.prompt().answerNext(Answer::No);
        fixture.actions().autoMapping->trigger();
        QCOMPARE(fixture.prompt().shown, std::vector<std::string>{"Whether auto mapping address?"});

        fixture.prompt().answerNext(Answer::Yes);
        fixture.actions().autoMapping->trigger();
        QCOMPARE(fixture.prompt().shown.back(), std::string("Automatic mapping is done!"));
        QVERIFY(!fixture.core().state.projectDirty); // mapping does not set the dirty flag
    }

    void conflictDetectOpensItsDialogModally() {
        test::WindowFixture fixture(GatewayModel::Vela3hTcp);
        fixture.window->show();
        bool opened = false;
        {
            test::ModalDriver driver([&opened](QWidget* modal) {
                opened = qobject_cast<ConflictDialog*>(modal) != nullptr;
                modal->close();
            });
            fixture.actions().conflictDetect->trigger();
        }
        QVERIFY(opened);
    }

    void exportExcelAsksForTheWorkbooksName() {
        test::WindowFixture fixture(GatewayModel::Vela1hTcp);
        fixture.prompt().chooseNext(std::nullopt);
        fixture.actions().exportExcel->trigger();
        QCOMPARE(fixture.prompt().fileRequests.size(), std::size_t(1));
        QVERIFY(fixture.prompt().shown.empty()); // a cancelled export says nothing

        const std::string workbook = fixture.folder.file("project.xlsx");
        fixture.prompt().chooseNext(workbook);
        fixture.actions().exportExcel->trigger();
        QVERIFY(std::filesystem::exists(workbook));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
