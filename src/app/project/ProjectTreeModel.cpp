#include "project/ProjectTreeModel.h"

namespace korvan::gui {

ProjectTreeModel::ProjectTreeModel(QObject* parent) : QAbstractItemModel(parent) {}

void ProjectTreeModel::setTree(std::vector<ProjectTreeItem> tree) {
    beginResetModel();
    owned_ = std::move(tree);
    shown_ = &owned_;
    indexParents();
    endResetModel();
}

void ProjectTreeModel::showTree(const std::vector<ProjectTreeItem>* tree) {
    beginResetModel();
    owned_.clear();
    shown_ = tree != nullptr ? tree : &owned_;
    indexParents();
    endResetModel();
}

void ProjectTreeModel::setCheckState(CheckState state) {
    beginResetModel();
    checkState_ = std::move(state);
    endResetModel();
}

void ProjectTreeModel::refreshCheckStates() {
    // Every item may have changed: a click gives its state to all its children.
    std::function<void(const QModelIndex&)> refresh = [&](const QModelIndex& parent) {
        const int rows = rowCount(parent);
        if (rows == 0)
            return;
        Q_EMIT dataChanged(index(0, 0, parent), index(rows - 1, 0, parent), {Qt::CheckStateRole});
        for (int row = 0; row < rows; ++row)
            refresh(index(row, 0, parent));
    };
    refresh({});
}

void ProjectTreeModel::indexParents() {
    parents_.clear();
    std::function<void(const std::vector<ProjectTreeItem>&, const ProjectTreeItem*)> visit =
        [&](const std::vector<ProjectTreeItem>& items, const ProjectTreeItem* parent) {
            for (std::size_t row = 0; row < items.size(); ++row) {
                parents_[&items[row]] = {parent, static_cast<int>(row)};
                visit(items[row].children, &items[row]);
            }
        };
    visit(*shown_, nullptr);
}

const std::vector<ProjectTreeItem>& ProjectTreeModel::siblingsOf(const ProjectTreeItem* parent) const {
    return parent != nullptr ? parent->children : *shown_;
}

const ProjectTreeItem* ProjectTreeModel::itemAt(const QModelIndex& index) const {
    return index.isValid() ? static_cast<const ProjectTreeItem*>(index.internalPointer()) : nullptr;
}

QModelIndex ProjectTreeModel::indexOf(const ProjectTreeItem* item) const {
    const auto found = parents_.find(item);
    if (found == parents_.end())
        return {};
    return createIndex(found->second.second, 0, const_cast<ProjectTreeItem*>(item));
}

QModelIndex ProjectTreeModel::findLabel(const QString& label) const {
    return indexOf(findTreeItemByLabel(*shown_, label.toStdString()));
}

QIcon ProjectTreeModel::iconFor(TreeItemKind kind) {
    switch (kind) {
    case TreeItemKind::NetworkBus:
    case TreeItemKind::Channel:
        return QIcon(QStringLiteral(":/icons/tree-bus.svg"));
    case TreeItemKind::Node:
        return QIcon(QStringLiteral(":/icons/tree-node.svg"));
    case TreeItemKind::Command:
        return QIcon(QStringLiteral(":/icons/tree-command.svg"));
    case TreeItemKind::None:
        break;
    }
    return {};
}

QModelIndex ProjectTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0)
        return {};
    const std::vector<ProjectTreeItem>& siblings = siblingsOf(itemAt(parent));
    if (row >= static_cast<int>(siblings.size()))
        return {};
    return createIndex(row, 0, const_cast<ProjectTreeItem*>(&siblings[static_cast<std::size_t>(row)]));
}

QModelIndex ProjectTreeModel::parent(const QModelIndex& child) const {
    const auto found = parents_.find(itemAt(child));
    if (found == parents_.end() || found->second.first == nullptr)
        return {};
    return indexOf(found->second.first);
}

int ProjectTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0)
        return 0;
    return static_cast<int>(siblingsOf(itemAt(parent)).size());
}

int ProjectTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant ProjectTreeModel::data(const QModelIndex& index, int role) const {
    const ProjectTreeItem* item = itemAt(index);
    if (item == nullptr)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return QString::fromStdString(item->label);
    case Qt::DecorationRole:
        return iconFor(item->tag.kind);
    case Qt::CheckStateRole:
        if (checkState_)
            return checkState_(*item) ? Qt::Checked : Qt::Unchecked;
        return {};
    default:
        return {};
    }
}

bool ProjectTreeModel::setData(const QModelIndex& index, const QVariant&, int role) {
    const ProjectTreeItem* item = itemAt(index);
    if (item == nullptr || role != Qt::CheckStateRole || !checkState_)
        return false;
    Q_EMIT checkClicked(*item);
    refreshCheckStates();
    return true;
}

Qt::ItemFlags ProjectTreeModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (checkState_)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

} // namespace korvan::gui
