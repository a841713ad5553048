#include "tools/UnselectedEntriesModel.h"

#include "hart/AdvancedConfiguration.h"

namespace korvan::gui {

UnselectedEntriesModel::UnselectedEntriesModel(const AdvancedConfiguration& configuration, QObject* parent)
    : QAbstractListModel(parent), configuration_(configuration) {}

int UnselectedEntriesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(configuration_.treeCount());
}

QVariant UnselectedEntriesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return QString::fromStdString(configuration_.treeText(static_cast<std::size_t>(index.row())));
    return {};
}

void UnselectedEntriesModel::refresh() {
    beginResetModel();
    endResetModel();
}

} // namespace korvan::gui
