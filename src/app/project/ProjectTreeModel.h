#pragma once

#include "model/ProjectTreeItem.h"

#include <QAbstractItemModel>
#include <QIcon>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

namespace korvan::gui {

// The project tree as an item model over the core's tree of labels and tags, for the tree
// pane and the conflict dialog alike. Each index points at a stable entry of the model's own
// that refers to its ProjectTreeItem, so that indexes the views keep (selection, expanded
// items) stay valid while single items are inserted or removed. The model owns the tree it
// shows; setTree() replaces it (a rebuild).
class ProjectTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    // Whether an item's check box is ticked, for a tree with check boxes.
    using CheckState = std::function<bool(const ProjectTreeItem&)>;

    explicit ProjectTreeModel(QObject* parent = nullptr);
    ~ProjectTreeModel() override;

    // Shows this tree; every index taken before is invalid afterwards.
    void setTree(std::vector<ProjectTreeItem> tree);
    // Shows a tree owned elsewhere (the conflict dialog's), which must outlive the model.
    void showTree(const std::vector<ProjectTreeItem>* tree);
    // Gives every item a check box whose state this answers; a click emits checkClicked.
    void setCheckState(CheckState state);
    // Tells the views the check states changed.
    void refreshCheckStates();

    // Single-item edits of the model's own tree (not of one shown with showTree): the item
    // becomes the parent's last child, an item goes with its children, a label changes.
    QModelIndex appendItem(const QModelIndex& parent, ProjectTreeItem item);
    bool removeItem(const QModelIndex& index);
    bool setLabel(const QModelIndex& index, const QString& label);

    [[nodiscard]] const std::vector<ProjectTreeItem>& tree() const { return *shown_; }
    [[nodiscard]] const ProjectTreeItem* itemAt(const QModelIndex& index) const;
    [[nodiscard]] QModelIndex indexOf(const ProjectTreeItem* item) const;
    // The first item, depth first, whose label equals the text; invalid when none has it.
    [[nodiscard]] QModelIndex findLabel(const QString& label) const;
    // The item that stands for this model object; invalid when none does.
    [[nodiscard]] QModelIndex findTag(const TreeTag& tag) const;

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
    // One shown item: where its ProjectTreeItem is and where it sits in the tree.
    struct Entry {
        const ProjectTreeItem* item = nullptr;
        Entry* parent = nullptr;
        int row = 0;
        std::vector<std::unique_ptr<Entry>> children;
    };

    void buildEntries();
    void indexEntries();
    [[nodiscard]] Entry* entryAt(const QModelIndex& index) const;
    [[nodiscard]] const std::vector<std::unique_ptr<Entry>>& childrenOf(const Entry* parent) const;
    [[nodiscard]] std::vector<ProjectTreeItem>* ownedSiblingsOf(const Entry* parent);
    [[nodiscard]] bool ownsShownTree() const { return shown_ == &owned_; }
    [[nodiscard]] QModelIndex indexOfEntry(const Entry* entry) const;
    [[nodiscard]] const QIcon& iconOf(TreeItemKind kind) const;

    std::vector<ProjectTreeItem> owned_;
    const std::vector<ProjectTreeItem>* shown_ = &owned_;
    std::vector<std::unique_ptr<Entry>> roots_;
    std::unordered_map<const ProjectTreeItem*, Entry*> entries_;
    CheckState checkState_;
    QIcon busIcon_;
    QIcon nodeIcon_;
    QIcon commandIcon_;
};

} // namespace korvan::gui
