#pragma once

#include "mapping/MemoryUsageMap.h"
#include "mapping/UsageGridLayout.h"
#include "model/ProjectTreeItem.h"

#include <array>
#include <cstdint>
#include <set>
#include <vector>

namespace korvan {

class COrlaCommand;
class CProductTarn;

// The state of the Conflict Detection dialog: the project tree with check boxes, the send and
// receive usage maps of the checked commands, the colour of every grid cell, and the
// highlight of the command whose label was clicked. The dialog only draws what this holds.
class ConflictDetection {
public:
    explicit ConflictDetection(CProductTarn& product);

    [[nodiscard]] const std::vector<ProjectTreeItem>& tree() const { return tree_; }
    [[nodiscard]] bool isChecked(const ProjectTreeItem& item) const { return checked_.contains(&item); }
    [[nodiscard]] const ProjectTreeItem* selectedItem() const { return selected_; }
    [[nodiscard]] const COrlaCommand* highlightedCommand() const { return highlighted_; }

    // The item's check box flips, its descendants follow, it becomes selected, the highlight is
    // forgotten and both grids are drawn again.
    void clickCheckBox(const ProjectTreeItem& item);
    // A command other than the highlighted one is highlighted in blue; any other item only
    // forgets which command is highlighted, its cells keep their colour until the next redraw.
    void clickLabel(const ProjectTreeItem& item);
    // Restores the highlighted cells and drops the highlight and the selection.
    void clickEmptySpace();

    [[nodiscard]] const MemoryUsageMap& usageMap(UsageGrid grid) const {
        return grid == UsageGrid::Send ? send_ : receive_;
    }
    // The colour cell `index` of a grid is painted with (cells past the drawn end are white).
    [[nodiscard]] Rgb cellColourAt(UsageGrid grid, int index) const;

private:
    using Paint = std::array<Rgb, UsageGridCells>;

    void setChecked(const ProjectTreeItem& item, bool on);
    void computeMaps();
    void markMemory(const COrlaCommand& command);
    void drawGrids();
    void restoreHighlight();
    void forgetHighlight();
    void highlight(const COrlaCommand& command);
    void highlightRange(UsageGrid grid, std::int64_t startIndex, std::int64_t length);

    std::vector<ProjectTreeItem> tree_;
    std::set<const ProjectTreeItem*> checked_;
    const ProjectTreeItem* selected_ = nullptr;
    const COrlaCommand* highlighted_ = nullptr;
    MemoryUsageMap send_{2000};
    MemoryUsageMap receive_{3000};
    std::array<Paint, 2> painted_{};
    std::array<Paint, 2> saved_{};
    std::array<std::array<bool, UsageGridCells>, 2> isHighlighted_{};
    std::vector<std::pair<UsageGrid, int>> highlightedCells_;
};

} // namespace korvan
