#include "project/ParameterGridModel.h"

#include "app/ParameterGrid.h"

#include <QBrush>
#include <QColor>
#include <algorithm>

namespace korvan::gui {

ParameterGridModel::ParameterGridModel(const ParameterGrid& grid, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid) {}

QColor ParameterGridModel::editableBackground() {
    return {255, 255, 255};
}

QColor ParameterGridModel::disabledBackground() {
    return {200, 200, 200};
}

// Only the rows that showed an item before or show one now change: the rest stay empty and
// white, and repainting them on every selection change would cost for nothing.
void ParameterGridModel::refresh() {
    const int filled = std::min(static_cast<int>(grid_.rows().size()), RowCount);
    const int changed = std::max(filled, filledRows_);
    filledRows_ = filled;
    if (changed > 0)
        Q_EMIT dataChanged(index(0, 0), index(changed - 1, ValueColumn),
                           {Qt::DisplayRole, Qt::AccessibleTextRole, Qt::ToolTipRole, Qt::BackgroundRole});
}

int ParameterGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : RowCount;
}

int ParameterGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QString ParameterGridModel::text(int row, int column) const {
    const auto& rows = grid_.rows();
    if (row < 0 || static_cast<std::size_t>(row) >= rows.size())
        return {};
    const GridRow& shown = rows[static_cast<std::size_t>(row)];
    return QString::fromStdString(column == NameColumn ? shown.name : shown.value);
}

bool ParameterGridModel::isGrey(int row) const {
    const auto& rows = grid_.rows();
    return row >= 0 && static_cast<std::size_t>(row) < rows.size() &&
           rows[static_cast<std::size_t>(row)].grey;
}

QVariant ParameterGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
    case Qt::ToolTipRole:
        return text(index.row(), index.column());
    case Qt::BackgroundRole:
        if (index.column() != ValueColumn)
            return {};
        return QBrush(isGrey(index.row()) ? disabledBackground() : editableBackground());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

Qt::ItemFlags ParameterGridModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace korvan::gui
