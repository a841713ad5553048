#pragma once

#include <QAbstractTableModel>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace korvan::gui {

// The two-column list of the Diagnose and command I/O data windows: "Item" and "Value", one
// row per entry the core gave. Value cells can be made editable; what an edit commits is the
// owner's rule, and the model shows the rows the owner gives it afterwards.
class ItemValueModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Row {
        std::string item;
        std::string value;
    };
    using Editable = std::function<bool(int row)>;
    // The text an edit leaves in the row's value; nothing leaves the cell as it was.
    using Commit = std::function<std::optional<std::string>(int row, const std::string& text)>;

    explicit ItemValueModel(QObject* parent = nullptr);

    void setRows(std::vector<Row> rows);
    void clear() { setRows({}); }
    [[nodiscard]] const std::vector<Row>& rows() const { return rows_; }
    void setCentred(bool centred) { centred_ = centred; }
    void setEditing(Editable editable, Commit commit);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    std::vector<Row> rows_;
    bool centred_ = false;
    Editable editable_;
    Commit commit_;
};

} // namespace korvan::gui
