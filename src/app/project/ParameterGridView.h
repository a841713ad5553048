#pragma once

#include "app/ParameterGrid.h"
#include "model/TreeTag.h"

#include <QWidget>
#include <optional>

class QComboBox;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QTableView;
class QWheelEvent;

namespace korvan::gui {

class GridChoiceList;
class ParameterGridModel;
class Session;

// The parameter grid view over the core's ParameterGrid: name and value columns, white and
// grey value cells, the in-place edit box and drop-down list over the value cell, and the
// "Configuration" button of a command in Advanced configuration.
class ParameterGridView : public QWidget {
    Q_OBJECT
public:
    // What the in-place editors leave free at the right of the value cell.
    static constexpr int FreeCellPart = 20;

    explicit ParameterGridView(Session& session, QWidget* parent = nullptr);
    ~ParameterGridView() override;

    // Shows the Advanced Configuration dialog when the free part of row 6's cell is clicked.
    void setAdvancedDialog(ParameterGrid::AdvancedDialog dialog);

    [[nodiscard]] QTableView* table() const;
    [[nodiscard]] ParameterGridModel* gridModel() const { return model_; }
    [[nodiscard]] QLineEdit* editBox() const;
    [[nodiscard]] QComboBox* choiceList() const;
    [[nodiscard]] QPushButton* configurationButton() const { return button_; }

    // Where an in-place editor (and the "Configuration" button) lies over a value cell: the
    // cell's left edge and top, the column's width less the free part, the row's height
    // plus one pixel.
    [[nodiscard]] static QRect editorGeometry(const QRect& cell, int columnWidth, int rowHeight);

public Q_SLOTS:
    void showItem(const korvan::TreeTag& tag, const QString& label);
    void clear();

Q_SIGNALS:
    // The help text of the row last clicked, for the "Info" pane.
    void annotationChanged(const QString& text);
    // A cell was clicked: the bottom pane brings "Info" to the front.
    void cellClicked();
    // A channel's network mode changed: the tree is rebuilt, re-selecting its label.
    void treeRebuildRequested();
    // A node's address changed: its tree label becomes this.
    void selectedLabelChanged(const QString& label);
    // The application's flags may have changed (the network side's protocol, for example).
    void flagsChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void clickCell(const QModelIndex& index);
    void openEditBox(int row);
    void commitEditBox();
    void openChoiceList(int row);
    void commitChoice(int entry);
    void cancelChoiceList();
    void openAdvancedConfiguration();
    // Hides both in-place editors without committing what they hold.
    void hideEditors();
    void redraw();
    void showConfigurationButton();
    void placeOverlays();
    [[nodiscard]] QRect valueCellGeometry(int row) const;
    bool scrollByWheel(const QWheelEvent& event);

    ParameterGrid& grid_;
    QTableView* table_ = nullptr;
    ParameterGridModel* model_ = nullptr;
    QLineEdit* edit_ = nullptr;
    GridChoiceList* list_ = nullptr;
    QPushButton* button_ = nullptr;
    ParameterGrid::AdvancedDialog dialog_;
    std::optional<TreeTag> tag_;
    QString label_;
    // The row whose value an open editor edits, and which editor is open.
    int editRow_ = -1;
    bool editing_ = false;
    bool choosing_ = false;
    int wheelRemainder_ = 0;
};

} // namespace korvan::gui
