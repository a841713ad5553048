#pragma once

#include <QObject>

class QAction;

namespace korvan {
struct AppState;
struct TreeEnableFlags;
} // namespace korvan

namespace korvan::gui {

// The actions whose enabled state the core's rules decide. Each QAction is shared by the
// menu, the toolbar and the tree's context menu, so the three never disagree. An action
// left null is skipped.
struct ControlledActions {
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
    QAction* selectMode = nullptr;
    QAction* showMemory = nullptr;
    QAction* diagnose = nullptr;
    QAction* serialDebug = nullptr;
};

// Applies the application state's flags, the model's rules and the tree's enable flags
// (commandAvailability) to the actions, whenever refresh() is called after they may have
// changed.
class ActionController : public QObject {
    Q_OBJECT
public:
    ActionController(const ControlledActions& actions, const AppState& state, const TreeEnableFlags& tree,
                     QObject* parent = nullptr);

public Q_SLOTS:
    void refresh();

private:
    ControlledActions actions_;
    const AppState& state_;
    const TreeEnableFlags& tree_;
};

} // namespace korvan::gui
