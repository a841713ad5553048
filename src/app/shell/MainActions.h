#pragma once

#include "shell/ActionController.h"

#include <QList>

class QAction;
class QObject;

namespace korvan::gui {

// Every command of the main window as one QAction, shared by the menu bar, the toolbar and
// the tree's context menu: its menu text, key, toolbar picture, toolbar label (the action's
// icon text) and tooltip.
struct MainActions {
    QAction* newProject = nullptr;
    QAction* open = nullptr;
    QAction* save = nullptr;
    QAction* saveAs = nullptr;
    QAction* exit = nullptr;

    QAction* addNode = nullptr;
    QAction* deleteNode = nullptr;
    QAction* copyNode = nullptr;
    QAction* pasteNode = nullptr;
    QAction* addCommand = nullptr;
    QAction* deleteCommand = nullptr;

    QAction* serialSetting = nullptr;
    QAction* ethernetConfig = nullptr;
    QAction* upload = nullptr;
    QAction* download = nullptr;
    QAction* autoMapping = nullptr;
    QAction* conflictDetect = nullptr;
    QAction* exportExcel = nullptr;
    QAction* selectMode = nullptr;
    QAction* showMemory = nullptr;
    QAction* diagnose = nullptr;
    QAction* serialDebug = nullptr;
    QAction* packedAscii = nullptr;
    QAction* ieee754 = nullptr;

    QAction* helpContent = nullptr;
    QAction* about = nullptr;

    [[nodiscard]] ControlledActions controlled() const;
    [[nodiscard]] QList<QAction*> fileMenu() const; // before "Recent Files"
    [[nodiscard]] QList<QAction*> editMenu() const;
    [[nodiscard]] QList<QAction*> toolMenu() const;
    [[nodiscard]] QList<QAction*> helpMenu() const;
    [[nodiscard]] QList<QAction*> toolBar() const;     // the 16 buttons, left to right
    [[nodiscard]] QList<QAction*> treeContext() const; // the six tree commands
};

[[nodiscard]] MainActions createMainActions(QObject* parent);

} // namespace korvan::gui
