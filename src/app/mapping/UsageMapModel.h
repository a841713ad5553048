#pragma once

#include "mapping/UsageGridLayout.h"

#include <QAbstractTableModel>

namespace korvan {
class ConflictDetection;
}

namespace korvan::gui {

// One grid of the Conflict Detection dialog as a table: 200 rows of 32 bytes, the column
// numbers 0-31 and the address of each row's first byte as headers, and every cell's colour
// (Qt::BackgroundRole) as the core's ConflictDetection paints it.
class UsageMapModel : public QAbstractTableModel {
    Q_OBJECT
public:
    UsageMapModel(const ConflictDetection& detection, UsageGrid grid, QObject* parent = nullptr);

    [[nodiscard]] UsageGrid grid() const { return grid_; }
    // The cell of the byte at map index `byteIndex` (0 is the memory's first byte).
    [[nodiscard]] QModelIndex cellIndex(int byteIndex) const;
    // The memory address a cell stands for: 3000 and up in the send grid, 0 and up otherwise.
    [[nodiscard]] int addressOf(const QModelIndex& index) const;

    // The detection changed: every cell is read again, in one notification.
    void refresh();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    [[nodiscard]] int byteIndexOf(const QModelIndex& index) const;

    const ConflictDetection& detection_;
    UsageGrid grid_;
};

} // namespace korvan::gui
