#pragma once

#include "app/ParameterGrid.h"
#include "model/TreeTag.h"

#include <QWidget>

class QTableView;

namespace korvan::gui {

class Session;

// The parameter grid view over the core's ParameterGrid: name and value columns, white and
// grey value cells, the in-place edit box and drop-down list over the value cell, and the
// "Configuration" button of a command in Advanced configuration.
class ParameterGridView : public QWidget {
    Q_OBJECT
public:
    explicit ParameterGridView(Session& session, QWidget* parent = nullptr);
    ~ParameterGridView() override;

    // Shows the Advanced Configuration dialog when the free part of row 6's cell is clicked.
    void setAdvancedDialog(ParameterGrid::AdvancedDialog dialog);

    [[nodiscard]] QTableView* table() const;

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
};

} // namespace korvan::gui
