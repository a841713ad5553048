#pragma once

#include "app/ParameterGrid.h"

#include <QDialog>

class QAction;
class QComboBox;
class QLineEdit;
class QMenu;
class QModelIndex;
class QPlainTextEdit;
class QTableView;
class QTreeView;

namespace korvan {
class AdvancedConfiguration;
}

namespace korvan::gui {

class SelectionRowsModel;
class UnselectedEntriesModel;

// The "Advanced Configuration" dialog over the core's AdvancedConfiguration of one command:
// the selected segments in the "Mapping address" grid, the other entries in the "Response
// data" tree, the description box below the grid, and the in-place number box and drop-down
// list. Every change is made in the core at once; closing in any way keeps them.
class dlgSet : public QDialog {
    Q_OBJECT
public:
    explicit dlgSet(AdvancedConfiguration& configuration, QWidget* parent = nullptr);
    ~dlgSet() override;

    [[nodiscard]] QTableView* grid() const { return grid_; }
    [[nodiscard]] QTreeView* tree() const { return tree_; }
    [[nodiscard]] QPlainTextEdit* descriptionBox() const { return description_; }
    [[nodiscard]] QLineEdit* numberBox() const { return number_; }
    [[nodiscard]] QComboBox* swapList() const { return swap_; }
    [[nodiscard]] QMenu* treeMenu() const { return menu_; }
    [[nodiscard]] QAction* addByteAction() const { return addByte_; }

    // Closing commits what an open in-place editor holds, as losing the focus would.
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildGrid();
    void buildTree();
    void layOutColumns();
    void clickCell(const QModelIndex& index);
    void doubleClickCell(const QModelIndex& index);
    void openNumberBox(int row);
    void commitNumberBox();
    void openSwapList(int row);
    void commitSwapList(bool chosen);
    void closeEditors();
    void addTreeItem(int item);
    void removeRow(int row);
    void showTreeMenu(const QPoint& at);
    void showDescription();
    void refresh();
    [[nodiscard]] QRect cellRect(int row, int column) const;

    AdvancedConfiguration& configuration_;
    SelectionRowsModel* rows_ = nullptr;
    UnselectedEntriesModel* entries_ = nullptr;
    QTableView* grid_ = nullptr;
    QTreeView* tree_ = nullptr;
    QPlainTextEdit* description_ = nullptr;
    QLineEdit* number_ = nullptr;
    QComboBox* swap_ = nullptr;
    QMenu* menu_ = nullptr;
    QAction* addByte_ = nullptr;
    // The row an open in-place editor edits; -1 when none is open.
    int numberRow_ = -1;
    int swapRow_ = -1;
};

// What the parameter grid runs to show the dialog: modal over the parent.
[[nodiscard]] ParameterGrid::AdvancedDialog advancedConfigurationDialog(QWidget* parent);

} // namespace korvan::gui
