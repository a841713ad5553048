#pragma once

#include "mapping/UsageGridLayout.h"

#include <QDialog>
#include <array>
#include <memory>

class QModelIndex;
class QTableView;

namespace korvan {
class ConflictDetection;
class CProductTarn;
struct ProjectTreeItem;
} // namespace korvan

namespace korvan::gui {

class ConflictTreeView;
class ProjectTreeModel;
class UsageMapModel;

// "Conflict Detection": the checked project tree and the two byte grids of the send-data
// and receive-data memories, coloured by the core's ConflictDetection, with the legend.
class ConflictDialog : public QDialog {
    Q_OBJECT
public:
    explicit ConflictDialog(CProductTarn& product, QWidget* parent = nullptr);
    ~ConflictDialog() override;

    [[nodiscard]] const ConflictDetection& detection() const { return *detection_; }

private:
    void checkClicked(const ProjectTreeItem& item);
    void labelClicked(const QModelIndex& index);
    void emptySpaceClicked();
    // Shows the detection's state: the grids' colours and the tree's selection.
    void showDetection();

    [[nodiscard]] QWidget* buildGrids();
    [[nodiscard]] QTableView* buildGrid(UsageGrid grid);

    std::unique_ptr<ConflictDetection> detection_;
    ProjectTreeModel* treeModel_ = nullptr;
    ConflictTreeView* tree_ = nullptr;
    std::array<UsageMapModel*, 2> maps_{};
    std::array<QTableView*, 2> grids_{};
    int preferredGridHeight_ = 0;
};

} // namespace korvan::gui
