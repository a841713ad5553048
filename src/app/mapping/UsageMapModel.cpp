#include "mapping/UsageMapModel.h"

#include "mapping/ConflictDetection.h"

#include <QColor>

namespace korvan::gui {
namespace {

constexpr CellState States[] = {CellState::Unused, CellState::Valid, CellState::Conflict, CellState::Exceeded,
                                CellState::Selected};

// The legend entry a painted colour belongs to, so that a screen reader names the state the
// engineer sees (a highlighted cell reads "Selected" whatever its use).
QString stateName(Rgb colour) {
    for (CellState state : States)
        if (cellColour(state) == colour)
            return QString::fromLatin1(legendText(state)).trimmed();
    return {};
}

QString fourDigits(int value) {
    return QStringLiteral("%1").arg(value, 4, 10, QLatin1Char('0'));
}

} // namespace

UsageMapModel::UsageMapModel(const ConflictDetection& detection, UsageGrid grid, QObject* parent)
    : QAbstractTableModel(parent), detection_(detection), grid_(grid) {}

QModelIndex UsageMapModel::cellIndex(int byteIndex) const {
    if (byteIndex < 0 || byteIndex >= UsageGridCells)
        return {};
    const GridCell cell = usageGridCell(byteIndex);
    // The grid's row 0 and column 0 are the headers of the table view.
    return index(cell.row - 1, cell.column - 1);
}

int UsageMapModel::byteIndexOf(const QModelIndex& index) const {
    return index.row() * UsageGridColumns + index.column();
}

int UsageMapModel::addressOf(const QModelIndex& index) const {
    return (grid_ == UsageGrid::Send ? 3000 : 0) + byteIndexOf(index);
}

void UsageMapModel::refresh() {
    Q_EMIT dataChanged(index(0, 0), index(UsageGridRows - 1, UsageGridColumns - 1),
                       {Qt::BackgroundRole, Qt::AccessibleTextRole, Qt::ToolTipRole});
}

int UsageMapModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : UsageGridRows;
}

int UsageMapModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : UsageGridColumns;
}

QVariant UsageMapModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const Rgb colour = detection_.cellColourAt(grid_, byteIndexOf(index));
    switch (role) {
    case Qt::BackgroundRole:
        return QColor(colour.red, colour.green, colour.blue);
    case Qt::AccessibleTextRole:
    case Qt::ToolTipRole:
        return fourDigits(addressOf(index)) + QLatin1Char(' ') + stateName(colour);
    default:
        return {};
    }
}

QVariant UsageMapModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::TextAlignmentRole)
        return static_cast<int>(Qt::AlignCenter);
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < UsageGridColumns ? QVariant(QString::number(section)) : QVariant();
    const std::string label = usageGridRowLabel(grid_, section + 1);
    return label.empty() ? QVariant() : QVariant(QString::fromStdString(label));
}

Qt::ItemFlags UsageMapModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
}

} // namespace korvan::gui
