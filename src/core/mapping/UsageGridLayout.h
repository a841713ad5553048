#pragma once

#include <string>

namespace korvan {

// The conflict detection grids: a header row and 200 address rows, a header column and 32
// byte columns. Cell index j sits at row j / 32 + 1, column j % 32 + 1.
enum class UsageGrid { Send, Receive };

struct GridCell {
    int row = 0;
    int column = 0;
    friend bool operator==(const GridCell&, const GridCell&) = default;
};

inline constexpr int UsageGridRows = 200;
inline constexpr int UsageGridColumns = 32;
inline constexpr int UsageGridCells = UsageGridRows * UsageGridColumns;
inline constexpr int AddressColumnTwips = 600;
inline constexpr int ByteColumnTwips = 300;

[[nodiscard]] GridCell usageGridCell(int index);
// The address of a row's first byte as four digits: "3000", "3032", ... in the send grid,
// "0000", "0032", ... in the receive grid; row 0 and rows past 200 have none.
[[nodiscard]] std::string usageGridRowLabel(UsageGrid grid, int row);

} // namespace korvan
