#pragma once

#include <QAbstractTableModel>

namespace korvan {
class AdvancedConfiguration;
}

namespace korvan::gui {

// The "Advanced Configuration" grid over the core's rows: "Bytes", "Memory Address",
// "Starting Address", "Byte swap"; a swap cell that cannot change is grey.
class SelectionRowsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { BytesColumn, MemoryAddressColumn, StartingAddressColumn, ByteSwapColumn, ColumnCount };

    explicit SelectionRowsModel(const AdvancedConfiguration& configuration, QObject* parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The configuration changed: every row is read again.
    void refresh();

private:
    const AdvancedConfiguration& configuration_;
};

} // namespace korvan::gui
