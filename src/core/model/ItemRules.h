#pragma once

#include "base/ResultCode.h"

#include <string_view>

namespace korvan {

// The number check of the editors: empty text, a character that is not a decimal digit
// (no sign, no blanks), or a value outside [min, max], tested in that order.
[[nodiscard]] ResultCode checkNumber(std::string_view text, int min, int max);

} // namespace korvan
