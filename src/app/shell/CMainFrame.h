#pragma once

#include "gateway/CDlgupdown.h"
#include "shell/MainActions.h"

#include <QMainWindow>
#include <QPointer>
#include <optional>
#include <string>

class QDockWidget;
class QMenu;
class QPlainTextEdit;
class QSettings;
class QTabWidget;
class QToolBar;

namespace korvan::gui {

class ActionController;
class CDlgCommandIOData;
class CDlgDiagnose;
class CDlgIEEE754FloatTrans;
class CDlgMemoryDisplay;
class CDlgSerialDebug2;
class CDlgPacketASCIITranslate;
class NewsPane;
class ParameterGridView;
class ProjectController;
class ProjectTreePane;
class Session;

// The main window: the menu bar and toolbar of every command, the project tree docked at the
// left, the parameter grid in the centre and the bottom pane with the "Info" and "News" tabs.
// It assembles the panes, the actions and their controllers; the commands run in the core.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int MinimumWidth = 1024;
    static constexpr int MinimumHeight = 700;

    CMainFrame(Session& session, QSettings& settings, QWidget* parent = nullptr);
    ~CMainFrame() override;

    [[nodiscard]] const MainActions& actions() const { return actions_; }
    [[nodiscard]] ProjectController& projects() const { return *projects_; }
    [[nodiscard]] ActionController& actionController() const { return *controller_; }
    [[nodiscard]] ProjectTreePane* treePane() const { return treePane_; }
    [[nodiscard]] ParameterGridView* gridView() const { return gridView_; }
    [[nodiscard]] QPlainTextEdit* infoPane() const { return info_; }
    [[nodiscard]] NewsPane* newsPane() const { return news_; }
    [[nodiscard]] QTabWidget* bottomTabs() const { return tabs_; }
    [[nodiscard]] QToolBar* toolBar() const { return toolBar_; }
    [[nodiscard]] QDockWidget* treeDock() const { return treeDock_; }
    [[nodiscard]] QDockWidget* bottomDock() const { return bottomDock_; }
    [[nodiscard]] QMenu* recentFilesMenu() const { return recentMenu_; }
    [[nodiscard]] CDlgPacketASCIITranslate* packedAsciiWindow() const { return packedAscii_; }
    [[nodiscard]] CDlgIEEE754FloatTrans* floatWindow() const { return floatWindow_; }
    [[nodiscard]] CDlgDiagnose* diagnoseWindow() const { return diagnose_; }
    [[nodiscard]] CDlgCommandIOData* commandDataWindow() const { return commandData_; }
    // The open memory display and serial debug assistant, if any.
    [[nodiscard]] CDlgMemoryDisplay* memoryDisplay() const;
    [[nodiscard]] CDlgSerialDebug2* serialDebugWindow() const;

Q_SIGNALS:
    // The window closed after the document agreed: the program ends.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildToolBar();
    void buildPanes();
    void connectPanes();
    void connectCommands();
    void refreshRecentFiles();
    void showProjectReplaced(bool reselect);
    void placeOnScreen();
    // The converter windows (created once, hidden, shown by their commands) and the grid's
    // Advanced Configuration dialog.
    void buildToolWindows();
    void ethernetConfig();

    void selectMode();
    void autoMapping();
    void conflictDetect();
    void exportExcel();
    void upload();
    void download();
    void serialSetting();
    // True when an upload or download was attempted (it ended done or failed, not cancelled).
    bool runTransfer(bool upload);
    [[nodiscard]] CDlgupdown::Choosers transferChoosers() const;
    void showMemory();
    void diagnose();
    void serialDebug();

    Session& session_;
    MainActions actions_;
    ProjectTreePane* treePane_ = nullptr;
    ParameterGridView* gridView_ = nullptr;
    QPlainTextEdit* info_ = nullptr;
    NewsPane* news_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QDockWidget* treeDock_ = nullptr;
    QDockWidget* bottomDock_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QList<QMenu*> menus_;
    ProjectController* projects_ = nullptr;
    ActionController* controller_ = nullptr;
    CDlgPacketASCIITranslate* packedAscii_ = nullptr;
    CDlgIEEE754FloatTrans* floatWindow_ = nullptr;
    CDlgCommandIOData* commandData_ = nullptr;
    CDlgDiagnose* diagnose_ = nullptr;
    QPointer<CDlgMemoryDisplay> memoryDisplay_;
    QPointer<CDlgSerialDebug2> serialDebug_;
};

} // namespace korvan::gui
