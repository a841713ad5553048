#include "mapping/MemoryUsageMap.h"

#include <algorithm>

namespace korvan {

Rgb cellColour(CellState state) {
    switch (state) {
    case CellState::Unused:
        return {255, 255, 255};
    case CellState::Valid:
        return {0, 255, 0};
    case CellState::Conflict:
        return {255, 0, 0};
    case CellState::Exceeded:
        return {255, 255, 0};
    case CellState::Selected:
        return {49, 106, 197};
    }
    return {};
}

const char* legendText(CellState state) {
    switch (state) {
    case CellState::Unused:
        return "Unused";
    case CellState::Valid:
        return "Valid";
    case CellState::Conflict:
        return "Conflict";
    case CellState::Exceeded:
        return "Exceeded";
    case CellState::Selected:
        return "Selected ";
    }
    return "";
}

void MemoryUsageMap::clear() {
    cells_.fill(0);
    endIndex_ = 0;
}

void MemoryUsageMap::mark(int startIndex, int length) {
    const std::int64_t end = static_cast<std::int64_t>(startIndex) + length;
    endIndex_ = std::max(endIndex_, end);
    const std::int64_t first = std::max<std::int64_t>(startIndex, 0);
    const std::int64_t last = std::min<std::int64_t>(end, CellCount);
    for (std::int64_t i = first; i < last; ++i)
        cells_[static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>(std::min(cells_[static_cast<std::size_t>(i)] + 1, 2));
}

int MemoryUsageMap::cellValue(int index) const {
    return index >= 0 && index < CellCount ? cells_[static_cast<std::size_t>(index)] : 0;
}

CellState MemoryUsageMap::state(int index) const {
    const int value = cellValue(index);
    if (value == 0)
        return CellState::Unused;
    if (index >= validCells_)
        return CellState::Exceeded;
    return value == 1 ? CellState::Valid : CellState::Conflict;
}

int MemoryUsageMap::drawnCells() const {
    return static_cast<int>(std::clamp<std::int64_t>(endIndex_, 0, CellCount));
}

} // namespace korvan
