#pragma once

#include <QAbstractTableModel>

namespace korvan {
class ParameterGrid;
}

namespace korvan::gui {

// The parameter grid's rows as a table model: column 0 the item's name, column 1 its value
// on a white background, or grey for an item that is not enabled. The grid always has its
// 40 rows; the rows the core does not draw are empty and white.
class ParameterGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int RowCount = 40;
    static constexpr int NameColumn = 0;
    static constexpr int ValueColumn = 1;

    explicit ParameterGridModel(const ParameterGrid& grid, QObject* parent = nullptr);

    // The core's rows changed (a selection, a commit, a redraw).
    void refresh();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    [[nodiscard]] static QColor editableBackground();
    [[nodiscard]] static QColor disabledBackground();

private:
    [[nodiscard]] QString text(int row, int column) const;
    [[nodiscard]] bool isGrey(int row) const;

    const ParameterGrid& grid_;
    int filledRows_ = 0;
};

} // namespace korvan::gui
