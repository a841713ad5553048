#pragma once

#include "app/ProjectTreeEditor.h"
#include "model/TreeTag.h"

#include <QWidget>

class QAction;
class QTreeView;

namespace korvan::gui {

class ProjectTreeModel;
class Session;

// The project tree pane: the product's tree with its icons, every item expanded, the
// selection kept visible, the context menu of the six tree commands, and the tree edits
// carried out through the core's ProjectTreeEditor.
class ProjectTreePane : public QWidget {
    Q_OBJECT
public:
    explicit ProjectTreePane(Session& session, QWidget* parent = nullptr);
    ~ProjectTreePane() override;

    // The six tree commands (Add Node, Delete Node, Copy Node, Paste Node, Add Command,
    // Delete Command, in this order), shown in the context menu.
    void setContextActions(const QList<QAction*>& actions);
    // Runs the command selection dialog for Add Command.
    void setCommandChooser(ProjectTreeEditor::CommandChooser chooser);

    // After new, the template load or an open: the tree is built again and the item with the
    // previously selected label selected again, when `reselect` is set.
    void rebuild(bool reselect);
    // Nothing selected; the transfer flags reset (the core's resetSelection).
    void resetSelection();
    // Selects the first item, "Fieldbus" (before automatic mapping).
    void selectFirstItem();

    [[nodiscard]] QTreeView* treeView() const;
    [[nodiscard]] ProjectTreeModel* model() const;

public Q_SLOTS:
    void addNode();
    void deleteNode();
    void copyNode();
    void pasteNode();
    void addCommand();
    void deleteCommand();

Q_SIGNALS:
    // An item was selected: the grid shows it.
    void itemSelected(const korvan::TreeTag& tag, const QString& label);
    // Nothing is selected any more: the grid is cleared.
    void selectionCleared();
    // The tree commands' enable flags or the application's flags may have changed.
    void flagsChanged();
};

} // namespace korvan::gui
