#include "tools/ItemValueModel.h"

namespace korvan::gui {

ItemValueModel::ItemValueModel(QObject* parent) : QAbstractTableModel(parent) {}

void ItemValueModel::setRows(std::vector<Row> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

void ItemValueModel::setEditing(Editable editable, Commit commit) {
    editable_ = std::move(editable);
    commit_ = std::move(commit);
}

int ItemValueModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ItemValueModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant ItemValueModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Row& row = rows_[static_cast<std::size_t>(index.row())];
    const std::string& text = index.column() == 0 ? row.item : row.value;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::AccessibleTextRole:
    case Qt::ToolTipRole:
        return QString::fromStdString(text);
    case Qt::TextAlignmentRole:
        return centred_ ? QVariant(Qt::AlignCenter) : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant ItemValueModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return section == 0 ? QStringLiteral("Item") : QStringLiteral("Value");
    if (role == Qt::TextAlignmentRole)
        return QVariant(Qt::AlignCenter);
    return {};
}

Qt::ItemFlags ItemValueModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == 1 && editable_ && editable_(index.row()))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool ItemValueModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable) || !commit_)
        return false;
    auto committed = commit_(index.row(), value.toString().toStdString());
    if (!committed)
        return false;
    rows_[static_cast<std::size_t>(index.row())].value = std::move(*committed);
    Q_EMIT dataChanged(index, index);
    return true;
}

} // namespace korvan::gui
