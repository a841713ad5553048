#pragma once

#include "app/ProjectTreeEditor.h"
#include "model/TreeTag.h"

#include <QWidget>

class QAction;
class QMenu;
class QModelIndex;
class QPoint;
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

    // The pane's initial size in the main window.
    [[nodiscard]] QSize sizeHint() const override;

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
    // The context menu over the tree (open while it is visible).
    [[nodiscard]] QMenu* contextMenu() const { return menu_; }

public Q_SLOTS:
    void addNode();
    void deleteNode();
    void copyNode();
    void pasteNode();
    void addCommand();
    void deleteCommand();
    // The selected item's label becomes this (a node's address changed in the grid).
    void setSelectedLabel(const QString& label);

Q_SIGNALS:
    // An item was selected: the grid shows it.
    void itemSelected(const korvan::TreeTag& tag, const QString& label);
    // Nothing is selected any more: the grid is cleared.
    void selectionCleared();
    // The tree commands' enable flags or the application's flags may have changed.
    void flagsChanged();

private:
    void onSelectionChanged();
    void showContextMenu(const QPoint& position);
    // Builds the model from the product again and expands every item; nothing is selected.
    void rebuildModel();
    // Selects the item in the view; the selection change then runs as for a click.
    void selectIndex(const QModelIndex& index);
    void clearViewSelection();
    // After an edit the view follows the selection the core's editor moved to.
    void followEditorSelection();
    // Delete Node and Delete Command: the core removes the selected item of that kind, then
    // the tree drops it.
    void removeSelected(TreeItemKind kind, bool (ProjectTreeEditor::*remove)());

    Session& session_;
    QTreeView* view_ = nullptr;
    ProjectTreeModel* model_ = nullptr;
    QMenu* menu_ = nullptr;
    ProjectTreeEditor::CommandChooser chooser_;
    // The label of the item selected last, kept through a selection reset for the rebuild
    // that re-selects it.
    QString label_;
    // Set while the pane changes the view's selection itself.
    bool quiet_ = false;
};

} // namespace korvan::gui
