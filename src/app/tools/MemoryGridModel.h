#pragma once

#include "tools/MemoryGrid.h"

#include <QAbstractTableModel>

namespace korvan::gui {

// One grid of the memory display over the core's MemoryGrid: column 0 the row's address on
// blue, columns 1-16 the bytes at offsets 00-15; cells past the area's end are grey and
// empty. The output grid's byte cells are editable, the edit following the core's rule.
class MemoryGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int ByteColumns = 16;

    MemoryGridModel(MemoryArea area, bool editable, QObject* parent = nullptr);

    [[nodiscard]] MemoryGrid& grid() { return grid_; }
    [[nodiscard]] const MemoryGrid& grid() const { return grid_; }
    [[nodiscard]] bool editable() const { return editable_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // A read reply's bytes shown in their rows.
    void showBlock(const MemoryBlock& block);
    // The grid emptied, or refilled as a whole (a loaded file).
    void clear();
    void refreshAll();

private:
    MemoryGrid grid_;
    bool editable_;
};

} // namespace korvan::gui
