#pragma once

#include "hart/ResponseRows.h"

#include <vector>

namespace korvan {

class COrlaCommand;

// The configured segments of a command for the response rows: in Advanced configuration the
// enabled ones among its first n segment records, in record order; none in Basic
// configuration, which shows every row.
[[nodiscard]] std::vector<ResponseSegment> configuredSegments(const COrlaCommand& command);

} // namespace korvan
