#include "project/ProjectTreeModel.h"

namespace korvan::gui {

// Each icon is made once: a fresh QIcon per painted item would render its picture again.
ProjectTreeModel::ProjectTreeModel(QObject* parent)
    : QAbstractItemModel(parent), busIcon_(iconFor(TreeItemKind::Channel)),
      nodeIcon_(iconFor(TreeItemKind::Node)), commandIcon_(iconFor(TreeItemKind::Command)) {}

ProjectTreeModel::~ProjectTreeModel() = default;

void ProjectTreeModel::setTree(std::vector<ProjectTreeItem> tree) {
    beginResetModel();
    owned_ = std::move(tree);
    shown_ = &owned_;
    buildEntries();
    endResetModel();
}

void ProjectTreeModel::showTree(const std::vector<ProjectTreeItem>* tree) {
    beginResetModel();
    owned_.clear();
    shown_ = tree != nullptr ? tree : &owned_;
    buildEntries();
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

void ProjectTreeModel::buildEntries() {
    std::function<void(const std::vector<ProjectTreeItem>&, Entry*, std::vector<std::unique_ptr<Entry>>&)>
        build = [&](const std::vector<ProjectTreeItem>& items, Entry* parent,
                    std::vector<std::unique_ptr<Entry>>& entries) {
            entries.clear();
            entries.reserve(items.size());
            for (std::size_t row = 0; row < items.size(); ++row) {
                auto entry = std::make_unique<Entry>();
                entry->item = &items[row];
                entry->parent = parent;
                entry->row = static_cast<int>(row);
                build(items[row].children, entry.get(), entry->children);
                entries.push_back(std::move(entry));
            }
        };
    build(*shown_, nullptr, roots_);
    indexEntries();
}

void ProjectTreeModel::indexEntries() {
    entries_.clear();
    std::function<void(const std::vector<std::unique_ptr<Entry>>&)> visit =
        [&](const std::vector<std::unique_ptr<Entry>>& entries) {
            for (const auto& entry : entries) {
                entries_[entry->item] = entry.get();
                visit(entry->children);
            }
        };
    visit(roots_);
}

ProjectTreeModel::Entry* ProjectTreeModel::entryAt(const QModelIndex& index) const {
    return index.isValid() && index.model() == this ? static_cast<Entry*>(index.internalPointer()) : nullptr;
}

const std::vector<std::unique_ptr<ProjectTreeModel::Entry>>&
ProjectTreeModel::childrenOf(const Entry* parent) const {
    return parent != nullptr ? parent->children : roots_;
}

// The entries mirror the owned tree row for row, so an entry's path of rows leads to its item.
std::vector<ProjectTreeItem>* ProjectTreeModel::ownedSiblingsOf(const Entry* parent) {
    if (parent == nullptr)
        return &owned_;
    std::vector<ProjectTreeItem>* siblings = ownedSiblingsOf(parent->parent);
    return &(*siblings)[static_cast<std::size_t>(parent->row)].children;
}

QModelIndex ProjectTreeModel::indexOfEntry(const Entry* entry) const {
    return entry != nullptr ? createIndex(entry->row, 0, const_cast<Entry*>(entry)) : QModelIndex();
}

// Inserting or erasing moves the siblings within their vector (their children stay where
// they are), so the siblings' entries are pointed at their items again.
QModelIndex ProjectTreeModel::appendItem(const QModelIndex& parent, ProjectTreeItem item) {
    if (!ownsShownTree() || (parent.isValid() && entryAt(parent) == nullptr))
        return {};
    Entry* parentEntry = entryAt(parent);
    std::vector<ProjectTreeItem>& siblings = *ownedSiblingsOf(parentEntry);
    auto& entries = parentEntry != nullptr ? parentEntry->children : roots_;
    const int row = static_cast<int>(siblings.size());
    beginInsertRows(parent, row, row);
    siblings.push_back(std::move(item));
    auto entry = std::make_unique<Entry>();
    entry->parent = parentEntry;
    entries.push_back(std::move(entry));
    for (std::size_t i = 0; i < siblings.size(); ++i) {
        entries[i]->item = &siblings[i];
        entries[i]->row = static_cast<int>(i);
    }
    // The new item may bring children of its own.
    Entry* added = entries.back().get();
    std::function<void(Entry*)> build = [&](Entry* at) {
        for (std::size_t i = 0; i < at->item->children.size(); ++i) {
            auto child = std::make_unique<Entry>();
            child->item = &at->item->children[i];
            child->parent = at;
            child->row = static_cast<int>(i);
            build(child.get());
            at->children.push_back(std::move(child));
        }
    };
    build(added);
    indexEntries();
    endInsertRows();
    return indexOfEntry(added);
}

bool ProjectTreeModel::removeItem(const QModelIndex& index) {
    Entry* entry = entryAt(index);
    if (!ownsShownTree() || entry == nullptr)
        return false;
    Entry* parentEntry = entry->parent;
    std::vector<ProjectTreeItem>& siblings = *ownedSiblingsOf(parentEntry);
    auto& entries = parentEntry != nullptr ? parentEntry->children : roots_;
    const int row = entry->row;
    beginRemoveRows(index.parent(), row, row);
    siblings.erase(siblings.begin() + row);
    entries.erase(entries.begin() + row);
    for (std::size_t i = 0; i < siblings.size(); ++i) {
        entries[i]->item = &siblings[i];
        entries[i]->row = static_cast<int>(i);
    }
    indexEntries();
    endRemoveRows();
    return true;
}

bool ProjectTreeModel::setLabel(const QModelIndex& index, const QString& label) {
    Entry* entry = entryAt(index);
    if (!ownsShownTree() || entry == nullptr)
        return false;
    (*ownedSiblingsOf(entry->parent))[static_cast<std::size_t>(entry->row)].label = label.toStdString();
    Q_EMIT dataChanged(index, index, {Qt::DisplayRole, Qt::AccessibleTextRole});
    return true;
}

const ProjectTreeItem* ProjectTreeModel::itemAt(const QModelIndex& index) const {
    const Entry* entry = entryAt(index);
    return entry != nullptr ? entry->item : nullptr;
}

QModelIndex ProjectTreeModel::indexOf(const ProjectTreeItem* item) const {
    const auto found = entries_.find(item);
    return found != entries_.end() ? indexOfEntry(found->second) : QModelIndex();
}

QModelIndex ProjectTreeModel::findLabel(const QString& label) const {
    return indexOf(findTreeItemByLabel(*shown_, label.toStdString()));
}

QModelIndex ProjectTreeModel::findTag(const TreeTag& tag) const {
    std::function<const Entry*(const std::vector<std::unique_ptr<Entry>>&)> find =
        [&](const std::vector<std::unique_ptr<Entry>>& entries) -> const Entry* {
        for (const auto& entry : entries) {
            if (entry->item->tag == tag)
                return entry.get();
            if (const Entry* found = find(entry->children))
                return found;
        }
        return nullptr;
    };
    return indexOfEntry(find(roots_));
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

const QIcon& ProjectTreeModel::iconOf(TreeItemKind kind) const {
    static const QIcon none;
    switch (kind) {
    case TreeItemKind::NetworkBus:
    case TreeItemKind::Channel:
        return busIcon_;
    case TreeItemKind::Node:
        return nodeIcon_;
    case TreeItemKind::Command:
        return commandIcon_;
    case TreeItemKind::None:
        break;
    }
    return none;
}

QModelIndex ProjectTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0 || (parent.isValid() && entryAt(parent) == nullptr))
        return {};
    const auto& entries = childrenOf(entryAt(parent));
    if (row >= static_cast<int>(entries.size()))
        return {};
    return indexOfEntry(entries[static_cast<std::size_t>(row)].get());
}

QModelIndex ProjectTreeModel::parent(const QModelIndex& child) const {
    const Entry* entry = entryAt(child);
    return entry != nullptr ? indexOfEntry(entry->parent) : QModelIndex();
}

int ProjectTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0)
        return 0;
    if (parent.isValid() && entryAt(parent) == nullptr)
        return 0;
    return static_cast<int>(childrenOf(entryAt(parent)).size());
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
        return iconOf(item->tag.kind);
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
