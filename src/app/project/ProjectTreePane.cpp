#include "project/ProjectTreePane.h"

#include "project/ProjectTreeModel.h"
#include "shell/Session.h"

#include <QTreeView>
#include <QVBoxLayout>

namespace korvan::gui {

// A placeholder until the pane is built: the interface the main window needs.
ProjectTreePane::ProjectTreePane(Session&, QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    auto* view = new QTreeView(this);
    view->setModel(new ProjectTreeModel(view));
    layout->addWidget(view);
}

ProjectTreePane::~ProjectTreePane() = default;

void ProjectTreePane::setContextActions(const QList<QAction*>&) {}
void ProjectTreePane::setCommandChooser(ProjectTreeEditor::CommandChooser) {}
void ProjectTreePane::rebuild(bool) {}
void ProjectTreePane::resetSelection() {}
void ProjectTreePane::selectFirstItem() {}
QTreeView* ProjectTreePane::treeView() const {
    return findChild<QTreeView*>();
}
ProjectTreeModel* ProjectTreePane::model() const {
    return static_cast<ProjectTreeModel*>(treeView()->model());
}
void ProjectTreePane::addNode() {}
void ProjectTreePane::deleteNode() {}
void ProjectTreePane::copyNode() {}
void ProjectTreePane::pasteNode() {}
void ProjectTreePane::addCommand() {}
void ProjectTreePane::deleteCommand() {}

} // namespace korvan::gui
