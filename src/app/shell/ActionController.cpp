#include "shell/ActionController.h"

#include "app/CommandAvailability.h"

#include <QAction>

namespace korvan::gui {
namespace {

void enable(QAction* action, bool enabled) {
    if (action != nullptr)
        action->setEnabled(enabled);
}

} // namespace

ActionController::ActionController(const ControlledActions& actions, const AppState& state,
                                   const TreeEnableFlags& tree, QObject* parent)
    : QObject(parent), actions_(actions), state_(state), tree_(tree) {
    refresh();
}

void ActionController::refresh() {
    const CommandAvailability offered = commandAvailability(state_, tree_);
    enable(actions_.addNode, offered.tree.addNode);
    enable(actions_.deleteNode, offered.tree.deleteNode);
    enable(actions_.copyNode, offered.tree.copyNode);
    enable(actions_.pasteNode, offered.tree.pasteNode);
    enable(actions_.addCommand, offered.tree.addCommand);
    enable(actions_.deleteCommand, offered.tree.deleteCommand);
    enable(actions_.serialSetting, offered.serialSetting);
    enable(actions_.ethernetConfig, offered.ethernetConfig);
    enable(actions_.upload, offered.upload);
    enable(actions_.download, offered.download);
    enable(actions_.selectMode, offered.selectMode);
    enable(actions_.showMemory, offered.showMemory);
    enable(actions_.diagnose, offered.diagnose);
    enable(actions_.serialDebug, offered.serialDebug);
}

} // namespace korvan::gui
