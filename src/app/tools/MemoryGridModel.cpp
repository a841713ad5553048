#include "tools/MemoryGridModel.h"

#include <QBrush>
#include <QColor>

namespace korvan::gui {
namespace {

const QColor addressBackground(49, 106, 197);
const QColor beyondAreaBackground(200, 200, 200);

} // namespace

MemoryGridModel::MemoryGridModel(MemoryArea area, bool editable, QObject* parent)
    : QAbstractTableModel(parent), grid_(area), editable_(editable) {}

int MemoryGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(grid_.rowCount());
}

int MemoryGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 1 + ByteColumns;
}

QVariant MemoryGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    const bool address = index.column() == 0;
    const auto column = static_cast<std::size_t>(index.column() - 1);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::AccessibleTextRole:
        return QString::fromStdString(address ? grid_.rowAddressText(row) : grid_.cell(row, column));
    case Qt::BackgroundRole:
        if (address)
            return QBrush(addressBackground);
        if (grid_.beyondArea(row, column))
            return QBrush(beyondAreaBackground);
        return {};
    case Qt::ForegroundRole:
        return address ? QVariant(QBrush(Qt::white)) : QVariant();
    case Qt::TextAlignmentRole:
        return Qt::AlignCenter;
    default:
        return {};
    }
}

QVariant MemoryGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section == 0 ? QStringLiteral("Addr")
                            : QStringLiteral("%1").arg(section - 1, 2, 10, QLatin1Char('0'));
    return QString::fromStdString(grid_.rowAddressText(static_cast<std::size_t>(section)));
}

Qt::ItemFlags MemoryGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (editable_ && index.column() > 0)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool MemoryGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || !editable_ || index.column() == 0)
        return false;
    if (!grid_.edit(static_cast<std::size_t>(index.row()), static_cast<std::size_t>(index.column() - 1),
                    value.toString().toStdString()))
        return false;
    Q_EMIT dataChanged(index, index);
    return true;
}

void MemoryGridModel::showBlock(const MemoryBlock& block) {
    const auto [first, end] = grid_.show(block);
    if (first < end)
        Q_EMIT dataChanged(index(static_cast<int>(first), 1), index(static_cast<int>(end) - 1, ByteColumns));
}

void MemoryGridModel::clear() {
    grid_.clear();
    refreshAll();
}

void MemoryGridModel::refreshAll() {
    if (!grid_.rows().empty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, ByteColumns));
}

} // namespace korvan::gui
