#pragma once

#include <array>
#include <cstdint>

namespace korvan {

// How a byte of a usage map is drawn in the conflict detection grids.
enum class CellState { Unused, Valid, Conflict, Exceeded, Selected };

struct Rgb {
    int red = 255;
    int green = 255;
    int blue = 255;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

[[nodiscard]] Rgb cellColour(CellState state);
// The legend text of each state ("Selected " keeps its trailing blank).
[[nodiscard]] const char* legendText(CellState state);

// One memory's byte usage for the conflict detection dialog: 4000 cells that count uses up to
// 2, the highest end index reached, and how many of the first cells lie in the memory.
class MemoryUsageMap {
public:
    static constexpr int CellCount = 4000;

    explicit MemoryUsageMap(int validCells) : validCells_(validCells) {}

    void clear();
    // Adds a use to each of `length` cells from `startIndex`; cells outside the map are dropped.
    void mark(int startIndex, int length);

    [[nodiscard]] int cellValue(int index) const;
    [[nodiscard]] CellState state(int index) const;
    // The cells a redraw paints: those below the highest end index, at most the whole map.
    [[nodiscard]] int drawnCells() const;
    [[nodiscard]] int validCells() const { return validCells_; }

private:
    std::array<std::uint8_t, CellCount> cells_{};
    std::int64_t endIndex_ = 0;
    int validCells_;
};

} // namespace korvan
