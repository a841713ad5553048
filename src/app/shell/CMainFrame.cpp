#include "shell/CMainFrame.h"

#include "app/AppState.h"
#include "app/EnableFlags.h"
#include "app/ProjectDocument.h"
#include "export/SpreadsheetExport.h"
#include "gateway/CDlgSetSrialPort.h"
#include "help/HelpAndAbout.h"
#include "help/NewsPane.h"
#include "mapping/AutoMapping.h"
#include "mapping/CommandSelectionDialog.h"
#include "mapping/ConflictDialog.h"
#include "network/CEthernetConfig.h"
#include "network/CSearch.h"
#include "project/ParameterGridView.h"
#include "project/ProjectTreePane.h"
#include "shell/ActionController.h"
#include "shell/CDlgSelectMode.h"
#include "shell/ProjectController.h"
#include "shell/Session.h"
#include "support/PictureView.h"
#include "tools/CDlgCommandIOData.h"
#include "tools/CDlgDiagnose.h"
#include "tools/CDlgIEEE754FloatTrans.h"
#include "tools/CDlgMemoryDisplay.h"
#include "tools/CDlgPacketASCIITranslate.h"
#include "tools/CDlgSerialDebug2.h"
#include "tools/dlgSet.h"

#include <QAction>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileInfo>
#include <QFontMetrics>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

namespace korvan::gui {
namespace {

// Both docking panes carry this caption, seen when a pane floats.
constexpr const char* paneCaption = "MY Control";
// Each button is as wide as its label needs, so that all sixteen fit on a window of the
// smallest width at once.
constexpr int toolButtonMinimumWidth = 56;
constexpr int toolButtonHeight = 60;
constexpr int toolButtonLabelGap = 12;
constexpr int treePaneWidth = 250;
constexpr int bottomPaneHeight = 240;

QFont timesNewRoman(double points) {
    QFont font(QStringLiteral("Times New Roman"));
    font.setStyleHint(QFont::Serif);
    font.setPointSizeF(points);
    return font;
}

QDockWidget* makeDock(const QString& name, QWidget* content, QWidget* parent) {
    auto* dock = new QDockWidget(QString::fromUtf8(paneCaption), parent);
    dock->setObjectName(name);
    dock->setWidget(content);
    return dock;
}

} // namespace

CMainFrame::CMainFrame(Session& session, QSettings& settings, QWidget* parent)
    : QMainWindow(parent), session_(session), actions_(createMainActions(this)) {
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowTitle(QString::fromUtf8(ProjectDocument::StartCaption));
    setWindowIcon(pictureIcon(QStringLiteral(":/icons/korvan.svg")));
    setMinimumSize(MinimumWidth, MinimumHeight);
    setStatusBar(nullptr);

    projects_ = new ProjectController(session, settings, this);
    controller_ =
        new ActionController(actions_.controlled(), session.state, session.tree.enableFlags(), this);

    buildPanes();
    buildToolBar();
    buildMenus();
    connectPanes();
    connectCommands();
    buildToolWindows();
    refreshRecentFiles();
    placeOnScreen();
    controller_->refresh();
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::buildPanes() {
    treePane_ = new ProjectTreePane(session_, this);
    treePane_->setAccessibleName(QStringLiteral("Project tree"));
    treePane_->setContextActions(actions_.treeContext());
    treePane_->setCommandChooser(commandChooser(this, session_.prompt()));
    treeDock_ = makeDock(QStringLiteral("treePane"), treePane_, this);
    addDockWidget(Qt::LeftDockWidgetArea, treeDock_);

    gridView_ = new ParameterGridView(session_, this);
    gridView_->setAccessibleName(QStringLiteral("Parameters"));
    setCentralWidget(gridView_);

    tabs_ = new QTabWidget(this);
    info_ = new QPlainTextEdit(tabs_);
    info_->setReadOnly(true);
    info_->setFont(timesNewRoman(12));
    info_->setAccessibleName(QStringLiteral("Info"));
    news_ = new NewsPane(session_.state, tabs_);
    news_->setAccessibleName(QStringLiteral("News"));
    tabs_->addTab(info_, QStringLiteral("Info"));
    tabs_->addTab(news_, QStringLiteral("News"));
    tabs_->setCurrentWidget(news_);
    bottomDock_ = makeDock(QStringLiteral("bottomPane"), tabs_, this);
    addDockWidget(Qt::BottomDockWidgetArea, bottomDock_);
    // The tree pane reaches down to the window's bottom; the bottom pane spans the grid.
    setCorner(Qt::BottomLeftCorner, Qt::LeftDockWidgetArea);
    resizeDocks({treeDock_}, {treePaneWidth}, Qt::Horizontal);
    resizeDocks({bottomDock_}, {bottomPaneHeight}, Qt::Vertical);
}

void CMainFrame::buildToolBar() {
    toolBar_ = new QToolBar(QStringLiteral("Tool Box"), this);
    toolBar_->setObjectName(QStringLiteral("toolBox"));
    toolBar_->setIconSize(QSize(32, 32));
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolBar_->setFont(timesNewRoman(9.2));
    addToolBar(Qt::TopToolBarArea, toolBar_);
    const QList<QAction*> buttons = actions_.toolBar();
    for (int i = 0; i < buttons.size(); ++i) {
        // Groups: file, tree, transfer, mapping and export, debug tools, mode.
        if (i == 3 || i == 7 || i == 9 || i == 12 || i == 15)
            toolBar_->addSeparator();
        QAction* action = buttons[i];
        toolBar_->addAction(action);
        if (auto* button = qobject_cast<QToolButton*>(toolBar_->widgetForAction(action))) {
            // Squeezed on a narrow window, labels would run into each other: keep a gap.
            const int labelWidth = QFontMetrics(toolBar_->font()).horizontalAdvance(action->iconText());
            button->setMinimumWidth(std::max(toolButtonMinimumWidth, labelWidth + toolButtonLabelGap));
            button->setFixedHeight(toolButtonHeight);
            button->setAccessibleName(action->iconText());
        }
    }
}

void CMainFrame::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("File(&F)"));
    file->addActions(actions_.fileMenu());
    file->addSeparator();
    recentMenu_ = file->addMenu(QStringLiteral("Recent Files"));
    file->addSeparator();
    file->addAction(actions_.exit);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("Edit(&E)"));
    edit->addActions(actions_.editMenu());

    QMenu* tool = menuBar()->addMenu(QStringLiteral("Tool(&T)"));
    tool->addActions(actions_.toolMenu());

    QMenu* view = menuBar()->addMenu(QStringLiteral("View(&V)"));
    QAction* toolBox = toolBar_->toggleViewAction();
    toolBox->setText(QStringLiteral("Tool Box(&T)"));
    QAction* tree = treeDock_->toggleViewAction();
    tree->setText(QStringLiteral("Tree(&L)"));
    QAction* annotation = bottomDock_->toggleViewAction();
    annotation->setText(QStringLiteral("Annotation(&I)"));
    view->addActions({toolBox, tree, annotation});

    QMenu* help = menuBar()->addMenu(QStringLiteral("Help(&H)"));
    help->addActions(actions_.helpMenu());

    menus_ = {file, edit, tool, view, help};
    // Every menu shows the flags as they are when it opens, whatever changed them.
    for (QMenu* menu : menus_)
        connect(menu, &QMenu::aboutToShow, controller_, &ActionController::refresh);
}

void CMainFrame::connectPanes() {
    connect(treePane_, &ProjectTreePane::itemSelected, gridView_, &ParameterGridView::showItem);
    connect(treePane_, &ProjectTreePane::selectionCleared, gridView_, &ParameterGridView::clear);
    connect(treePane_, &ProjectTreePane::selectionCleared, info_, &QPlainTextEdit::clear);
    connect(treePane_, &ProjectTreePane::flagsChanged, controller_, &ActionController::refresh);

    connect(gridView_, &ParameterGridView::annotationChanged, info_, &QPlainTextEdit::setPlainText);
    connect(gridView_, &ParameterGridView::cellClicked, this, [this] { tabs_->setCurrentWidget(info_); });
    connect(gridView_, &ParameterGridView::treeRebuildRequested, this, [this] { treePane_->rebuild(true); });
    connect(gridView_, &ParameterGridView::selectedLabelChanged, treePane_,
            &ProjectTreePane::setSelectedLabel);
    connect(gridView_, &ParameterGridView::flagsChanged, controller_, &ActionController::refresh);

    connect(projects_, &ProjectController::projectReplaced, this, &CMainFrame::showProjectReplaced);
    connect(projects_, &ProjectController::captionChanged, this, &QWidget::setWindowTitle);
    connect(projects_, &ProjectController::recentFilesChanged, this, &CMainFrame::refreshRecentFiles);
    connect(projects_, &ProjectController::flagsChanged, controller_, &ActionController::refresh);
}

void CMainFrame::connectCommands() {
    connect(actions_.newProject, &QAction::triggered, projects_, &ProjectController::newProject);
    connect(actions_.open, &QAction::triggered, projects_, &ProjectController::open);
    connect(actions_.save, &QAction::triggered, projects_, &ProjectController::save);
    connect(actions_.saveAs, &QAction::triggered, projects_, &ProjectController::saveAs);
    connect(actions_.exit, &QAction::triggered, this, &QWidget::close);

    connect(actions_.addNode, &QAction::triggered, treePane_, &ProjectTreePane::addNode);
    connect(actions_.deleteNode, &QAction::triggered, treePane_, &ProjectTreePane::deleteNode);
    connect(actions_.copyNode, &QAction::triggered, treePane_, &ProjectTreePane::copyNode);
    connect(actions_.pasteNode, &QAction::triggered, treePane_, &ProjectTreePane::pasteNode);
    connect(actions_.addCommand, &QAction::triggered, treePane_, &ProjectTreePane::addCommand);
    connect(actions_.deleteCommand, &QAction::triggered, treePane_, &ProjectTreePane::deleteCommand);

    connect(actions_.upload, &QAction::triggered, this, &CMainFrame::upload);
    connect(actions_.download, &QAction::triggered, this, &CMainFrame::download);
    connect(actions_.serialSetting, &QAction::triggered, this, &CMainFrame::serialSetting);
    connect(actions_.autoMapping, &QAction::triggered, this, &CMainFrame::autoMapping);
    connect(actions_.conflictDetect, &QAction::triggered, this, &CMainFrame::conflictDetect);
    connect(actions_.exportExcel, &QAction::triggered, this, &CMainFrame::exportExcel);
    connect(actions_.selectMode, &QAction::triggered, this, &CMainFrame::selectMode);
    connect(actions_.showMemory, &QAction::triggered, this, &CMainFrame::showMemory);
    connect(actions_.diagnose, &QAction::triggered, this, &CMainFrame::diagnose);
    connect(actions_.serialDebug, &QAction::triggered, this, &CMainFrame::serialDebug);
    // Ethernet Config and the two converters open the gateway and tool windows, which come
    // with the next step; until then they are offered and do nothing.

    connect(actions_.helpContent, &QAction::triggered, this, [] { openHelpContent(); });
    connect(actions_.about, &QAction::triggered, this, [this] { showAboutBox(this); });
}

void CMainFrame::buildToolWindows() {
    packedAscii_ = new CDlgPacketASCIITranslate(session_.prompt(), this);
    floatWindow_ = new CDlgIEEE754FloatTrans(session_.prompt(), this);
    connect(actions_.packedAscii, &QAction::triggered, packedAscii_, &ConverterWindow::present);
    connect(actions_.ieee754, &QAction::triggered, floatWindow_, &ConverterWindow::present);
    gridView_->setAdvancedDialog(advancedConfigurationDialog(this));
    // Diagnose and the command I/O data window it shows, created once and hidden.
    commandData_ = new CDlgCommandIOData(session_.prompt(), this);
    diagnose_ = new CDlgDiagnose(session_, commandData_, this);
    connect(diagnose_, &CDlgDiagnose::closed, controller_, &ActionController::refresh);
    connect(actions_.ethernetConfig, &QAction::triggered, this, &CMainFrame::ethernetConfig);
}

void CMainFrame::ethernetConfig() {
    CEthernetConfig dialog(session_.state, this);
    dialog.exec();
    controller_->refresh();
}

void CMainFrame::refreshRecentFiles() {
    recentMenu_->clear();
    const auto& entries = projects_->recentFiles().entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const QString path = QString::fromStdString(entries[i]);
        QAction* entry = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(path));
        entry->setToolTip(path);
        connect(entry, &QAction::triggered, projects_,
                [this, i] { projects_->openRecent(static_cast<int>(i)); });
    }
    recentMenu_->setEnabled(!entries.empty());
}

void CMainFrame::showProjectReplaced(bool reselect) {
    gridView_->clear();
    info_->clear();
    treePane_->resetSelection();
    treePane_->rebuild(reselect);
    controller_->refresh();
}

void CMainFrame::placeOnScreen() {
    const QScreen* shownOn = screen();
    if (shownOn == nullptr)
        return;
    const QRect available = shownOn->availableGeometry();
    const QSize size(std::max(MinimumWidth, available.width() * 4 / 5),
                     std::max(MinimumHeight, available.height() * 9 / 10));
    resize(size);
    move(available.center() - QPoint(size.width() / 2, size.height() / 2));
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!projects_->mayClose()) {
        event->ignore();
        return;
    }
    event->accept();
    Q_EMIT closed();
}

void CMainFrame::selectMode() {
    CDlgSelectMode dialog(session_.state, this);
    dialog.exec();
    controller_->refresh();
}

void CMainFrame::autoMapping() {
    // No edit may be pending while the addresses are rewritten: the view returns to
    // "Fieldbus" first.
    treePane_->selectFirstItem();
    autoMapAddresses(session_.product, session_.prompt());
    controller_->refresh();
}

void CMainFrame::conflictDetect() {
    ConflictDialog dialog(session_.product, this);
    dialog.exec();
}

void CMainFrame::exportExcel() {
    (void)exportSpreadsheet(session_.product, session_.prompt());
}

void CMainFrame::upload() {
    enable_flags::uploadStarted(session_.state);
    controller_->refresh();
    runTransfer(true);
}

void CMainFrame::download() {
    runTransfer(false);
    enable_flags::downloadDialogClosed(session_.state);
    controller_->refresh();
}

void CMainFrame::serialSetting() {
    CDlgSetSrialPort dialog(session_.state, this);
    dialog.exec();
    controller_->refresh();
}

CDlgupdown::Choosers CMainFrame::transferChoosers() const {
    CDlgupdown::Choosers choosers = CDlgupdown::defaultChoosers();
    // The TCP models' gateway is the one signed in to in the search window; its Cancel
    // closes the transfer dialog before it shows.
    choosers.gateway = [](Session& session, QWidget* parent) {
        return runGatewaySearch(session, parent).has_value();
    };
    return choosers;
}

bool CMainFrame::runTransfer(bool upload) {
    CDlgupdown dialog(session_, upload ? TransferDirection::Upload : TransferDirection::Download, this);
    if (upload) {
        // The worker rebuilds the product: the grid shows none of it meanwhile.
        connect(&dialog, &CDlgupdown::transferStarting, this, [this] {
            gridView_->clear();
            info_->clear();
        });
    }
    if (dialog.prepare(transferChoosers()))
        dialog.exec();
    controller_->refresh();
    if (!dialog.outcome())
        return false;
    const TransferEnd end = dialog.outcome()->end;
    const bool attempted = end == TransferEnd::Done || end == TransferEnd::Failed;
    if (!upload)
        return attempted;
    // An upload that got as far as the channels has replaced their contents, even when it
    // failed later: the tree shows what the product now holds.
    if (end == TransferEnd::Done || end == TransferEnd::Failed || end == TransferEnd::Stopped)
        showProjectReplaced(true);
    if (end == TransferEnd::Done)
        setWindowTitle(QString::fromUtf8(ProjectDocument::StartCaption));
    return attempted;
}

CDlgMemoryDisplay* CMainFrame::memoryDisplay() const {
    return memoryDisplay_;
}

CDlgSerialDebug2* CMainFrame::serialDebugWindow() const {
    return serialDebug_;
}

void CMainFrame::showMemory() {
    if (!enable_flags::openMemoryDisplay(session_.state)) {
        controller_->refresh();
        return;
    }
    controller_->refresh();
    if (memoryDisplay_ && memoryDisplay_->isVisible()) {
        memoryDisplay_->present();
        return;
    }
    // Each opening gets a fresh window; a closed one goes once its last exchange has ended.
    auto* window = new CDlgMemoryDisplay(session_, this);
    memoryDisplay_ = window;
    connect(window, &CDlgMemoryDisplay::closed, this, [this, window] {
        controller_->refresh();
        window->deleteWhenIdle();
    });
    if (!window->start(transferChoosers()))
        window->deleteLater();
    controller_->refresh();
}

void CMainFrame::diagnose() {
    // An open Diagnose holds the link: it is brought to the front, not opened twice.
    if (diagnose_->isVisible()) {
        diagnose_->raise();
        diagnose_->activateWindow();
        return;
    }
    const bool open = enable_flags::openDiagnose(session_.state);
    controller_->refresh();
    // The upload gives the commands the keys the gateway knows them by; Diagnose opens
    // after every attempt, successful or not, and not when it was cancelled.
    if (!open || !runTransfer(true))
        return;
    enable_flags::diagnoseUploadEnded(session_.state);
    controller_->refresh();
    diagnose_->start();
}

void CMainFrame::serialDebug() {
    if (!enable_flags::openSerialDebug(session_.state)) {
        controller_->refresh();
        return;
    }
    controller_->refresh();
    if (serialDebug_ && serialDebug_->isVisible()) {
        serialDebug_->present();
        return;
    }
    auto* window = new CDlgSerialDebug2(session_, this);
    serialDebug_ = window;
    connect(window, &CDlgSerialDebug2::closed, this, [this, window] {
        controller_->refresh();
        window->deleteWhenIdle();
    });
    if (!window->start(transferChoosers().serialPort))
        window->deleteLater();
    controller_->refresh();
}

} // namespace korvan::gui
