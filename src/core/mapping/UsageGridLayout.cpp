#include "mapping/UsageGridLayout.h"

#include <cstdio>

namespace korvan {

GridCell usageGridCell(int index) {
    return {index / UsageGridColumns + 1, index % UsageGridColumns + 1};
}

std::string usageGridRowLabel(UsageGrid grid, int row) {
    if (row < 1 || row > UsageGridRows)
        return {};
    const int address = (grid == UsageGrid::Send ? 3000 : 0) + UsageGridColumns * (row - 1);
    char text[8];
    std::snprintf(text, sizeof text, "%04d", address);
    return text;
}

} // namespace korvan
