#pragma once

#include <QAbstractListModel>

namespace korvan {
class AdvancedConfiguration;
}

namespace korvan::gui {

// The "Response data" tree of the "Advanced Configuration" dialog: one root-level item per
// entry not selected, "Command Status" or "Byte" with the field's range text.
class UnselectedEntriesModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit UnselectedEntriesModel(const AdvancedConfiguration& configuration, QObject* parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    void refresh();

private:
    const AdvancedConfiguration& configuration_;
};

} // namespace korvan::gui
