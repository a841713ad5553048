#include "tools/SelectionRowsModel.h"

#include "hart/AdvancedConfiguration.h"

#include <QBrush>
#include <QColor>

namespace korvan::gui {
namespace {

constexpr const char* headers[] = {"Bytes", "Memory Address", "Starting Address", "Byte swap"};

} // namespace

SelectionRowsModel::SelectionRowsModel(const AdvancedConfiguration& configuration, QObject* parent)
    : QAbstractTableModel(parent), configuration_(configuration) {}

int SelectionRowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(configuration_.rowCount());
}

int SelectionRowsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SelectionRowsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const SelectionRow row = configuration_.row(static_cast<std::size_t>(index.row()));
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) {
        switch (index.column()) {
        case BytesColumn:
            return QString::fromStdString(row.bytes);
        case MemoryAddressColumn:
            return QString::fromStdString(row.memoryAddress);
        case StartingAddressColumn:
            return QString::fromStdString(row.startingAddress);
        case ByteSwapColumn:
            return QString::fromStdString(row.byteSwap);
        default:
            return {};
        }
    }
    if (role == Qt::BackgroundRole && index.column() == ByteSwapColumn && !row.swapEditable)
        return QBrush(QColor(200, 200, 200));
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignCenter);
    return {};
}

QVariant SelectionRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return QString::fromLatin1(headers[section]);
    return {};
}

void SelectionRowsModel::refresh() {
    beginResetModel();
    endResetModel();
}

} // namespace korvan::gui
