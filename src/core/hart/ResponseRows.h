#pragma once

#include <span>
#include <string>
#include <vector>

namespace korvan {

class CodeTexts;
class DecodedReply;

// One row of the command I/O data window: the item's label and its value text.
struct ResponseRow {
    std::string label;
    std::string value;
    friend bool operator==(const ResponseRow&, const ResponseRow&) = default;
};

// One configured segment of a command in Advanced configuration.
struct ResponseSegment {
    int startByte = 0;
    int length = 0;
    bool swap = false; // the two 16-bit halves of a float are exchanged
};

// The rows of a decoded reply. With no segments (Basic configuration) every row of the
// command; with segments only the segments' rows, in segment order: the status entry gives
// the two status rows, a field the row of that field. Commands outside the window's set
// give no rows.
[[nodiscard]] std::vector<ResponseRow>
responseRows(const DecodedReply& reply, std::span<const ResponseSegment> segments, CodeTexts& texts);

} // namespace korvan
