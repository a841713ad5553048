#include "mapping/ConflictDetection.h"

#include "base/Decimal.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/CommandItems.h"

#include <algorithm>

namespace korvan {
namespace {

using namespace command_item;

std::size_t gridIndex(UsageGrid grid) {
    return grid == UsageGrid::Send ? 0 : 1;
}

// A send start below the memory lands on the first cell past it and one above on the last
// cell of the memory, so that a wrong start always shows.
int sendStartIndex(int address) {
    if (address < 3000)
        return 3000;
    if (address > 4999)
        return 4999;
    return address - 3000;
}

int valueAt(const COrlaCommand& command, std::size_t position) {
    return decimalValue(command.items().exactlyAt(position)->value());
}

bool hasMappingItems(const COrlaCommand& command) {
    for (std::size_t position : {SendMemoryStart, SendLengthBytes, ReceiveMemoryStart, ReceiveLengthBytes})
        if (command.items().exactlyAt(position) == nullptr)
            return false;
    return true;
}

template <class Visit> void forEachSegment(const COrlaCommand& command, Visit visit) {
    for (int i = 0; i < command.segmentCount(); ++i)
        if (const COrlaItem* segment = command.segmentRecord(static_cast<std::size_t>(i)))
            visit(decimalValue(segment->segmentAddress()), decimalValue(segment->segmentLength()));
}

} // namespace

ConflictDetection::ConflictDetection(CProductTarn& product) : tree_(buildProjectTree(product)) {
    computeMaps();
    drawGrids();
}

void ConflictDetection::setChecked(const ProjectTreeItem& item, bool on) {
    if (on)
        checked_.insert(&item);
    else
        checked_.erase(&item);
    for (const ProjectTreeItem& child : item.children)
        setChecked(child, on);
}

void ConflictDetection::clickCheckBox(const ProjectTreeItem& item) {
    setChecked(item, !isChecked(item));
    selected_ = &item;
    highlighted_ = nullptr;
    forgetHighlight();
    computeMaps();
    drawGrids();
}

void ConflictDetection::computeMaps() {
    send_.clear();
    receive_.clear();
    // "Fieldbus" carries no commands; every other top-level item is a channel.
    for (std::size_t c = 1; c < tree_.size(); ++c)
        for (const ProjectTreeItem& node : tree_[c].children)
            for (const ProjectTreeItem& command : node.children)
                if (isChecked(command) && command.tag.command != nullptr)
                    markMemory(*command.tag.command);
}

void ConflictDetection::markMemory(const COrlaCommand& command) {
    if (!hasMappingItems(command))
        return;
    send_.mark(sendStartIndex(valueAt(command, SendMemoryStart)), valueAt(command, SendLengthBytes));
    if (!command.isAdvanced()) {
        receive_.mark(std::min(valueAt(command, ReceiveMemoryStart), 2999),
                      valueAt(command, ReceiveLengthBytes));
        return;
    }
    forEachSegment(command, [this](int address, int length) { receive_.mark(address, length); });
}

void ConflictDetection::drawGrids() {
    for (UsageGrid grid : {UsageGrid::Send, UsageGrid::Receive}) {
        Paint& paint = painted_[gridIndex(grid)];
        paint.fill(cellColour(CellState::Unused));
        const MemoryUsageMap& map = usageMap(grid);
        for (int j = 0; j < map.drawnCells(); ++j)
            paint[static_cast<std::size_t>(j)] = cellColour(map.state(j));
    }
}

Rgb ConflictDetection::cellColourAt(UsageGrid grid, int index) const {
    if (index < 0 || index >= UsageGridCells)
        return cellColour(CellState::Unused);
    return painted_[gridIndex(grid)][static_cast<std::size_t>(index)];
}

void ConflictDetection::forgetHighlight() {
    for (const auto& [grid, index] : highlightedCells_)
        isHighlighted_[gridIndex(grid)][static_cast<std::size_t>(index)] = false;
    highlightedCells_.clear();
}

void ConflictDetection::restoreHighlight() {
    for (const auto& [grid, index] : highlightedCells_) {
        const std::size_t g = gridIndex(grid);
        const auto cell = static_cast<std::size_t>(index);
        painted_[g][cell] = saved_[g][cell];
        isHighlighted_[g][cell] = false;
    }
    highlightedCells_.clear();
}

void ConflictDetection::highlightRange(UsageGrid grid, std::int64_t startIndex, std::int64_t length) {
    const std::size_t g = gridIndex(grid);
    const std::int64_t end = std::min<std::int64_t>(startIndex + length, UsageGridCells);
    for (std::int64_t i = std::max<std::int64_t>(startIndex, 0); i < end; ++i) {
        const auto cell = static_cast<std::size_t>(i);
        // A cell two ranges of the command share keeps the colour it had before the first.
        if (!isHighlighted_[g][cell]) {
            isHighlighted_[g][cell] = true;
            saved_[g][cell] = painted_[g][cell];
            highlightedCells_.emplace_back(grid, static_cast<int>(i));
        }
        painted_[g][cell] = cellColour(CellState::Selected);
    }
}

void ConflictDetection::highlight(const COrlaCommand& command) {
    highlighted_ = &command;
    if (!hasMappingItems(command))
        return;
    // The start is read from the file and may be any int: the cell index is taken in 64 bits.
    highlightRange(UsageGrid::Send, std::int64_t{valueAt(command, SendMemoryStart)} - 3000,
                   valueAt(command, SendLengthBytes));
    highlightRange(UsageGrid::Receive, valueAt(command, ReceiveMemoryStart),
                   valueAt(command, ReceiveLengthBytes));
    if (command.isAdvanced())
        forEachSegment(command, [this](int address, int length) {
            highlightRange(UsageGrid::Receive, address, length);
        });
}

void ConflictDetection::clickLabel(const ProjectTreeItem& item) {
    selected_ = &item;
    const COrlaCommand* command = item.tag.kind == TreeItemKind::Command ? item.tag.command : nullptr;
    if (command == nullptr) {
        highlighted_ = nullptr;
        return;
    }
    if (command == highlighted_)
        return;
    restoreHighlight();
    highlight(*command);
}

void ConflictDetection::clickEmptySpace() {
    restoreHighlight();
    highlighted_ = nullptr;
    selected_ = nullptr;
}

} // namespace korvan
