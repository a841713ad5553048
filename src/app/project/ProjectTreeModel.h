#pragma once

#include "model/ProjectTreeItem.h"

#include <QAbstractItemModel>
#include <QIcon>
#include <functional>
#include <unordered_map>
#include <vector>

namespace korvan::gui {

// The project tree as an item model over the core's tree of labels and tags, for the tree
// pane and the conflict dialog alike. Each index points at its ProjectTreeItem. The model
// owns the tree it shows; setTree() replaces it (a rebuild).
class ProjectTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    // Whether an item's check box is ticked, for a tree with check boxes.
    using CheckState = std::function<bool(const ProjectTreeItem&)>;

    explicit ProjectTreeModel(QObject* parent = nullptr);

    // Shows this tree; every index taken before is invalid afterwards.
    void setTree(std::vector<ProjectTreeItem> tree);
    // Shows a tree owned elsewhere (the conflict dialog's), which must outlive the model.
    void showTree(const std::vector<ProjectTreeItem>* tree);
    // Gives every item a check box whose state this answers; a click emits checkClicked.
    void setCheckState(CheckState state);
    // Tells the views the check states changed.
    void refreshCheckStates();

    [[nodiscard]] const std::vector<ProjectTreeItem>& tree() const { return *shown_; }
    [[nodiscard]] const ProjectTreeItem* itemAt(const QModelIndex& index) const;
    [[nodiscard]] QModelIndex indexOf(const ProjectTreeItem* item) const;
    // The first item, depth first, whose label equals the text; invalid when none has it.
    [[nodiscard]] QModelIndex findLabel(const QString& label) const;

    [[nodiscard]] static QIcon iconFor(TreeItemKind kind);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

Q_SIGNALS:
    // The check box of an item was clicked; the owner decides what that changes.
    void checkClicked(const ProjectTreeItem& item);

private:
    void indexParents();
    [[nodiscard]] const std::vector<ProjectTreeItem>& siblingsOf(const ProjectTreeItem* parent) const;

    std::vector<ProjectTreeItem> owned_;
    const std::vector<ProjectTreeItem>* shown_ = &owned_;
    // Each item's parent (nothing for the top level) and its row among its siblings.
    std::unordered_map<const ProjectTreeItem*, std::pair<const ProjectTreeItem*, int>> parents_;
    CheckState checkState_;
};

} // namespace korvan::gui
