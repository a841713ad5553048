#pragma once

#include <string>

namespace korvan::os {

// The local time now as "YYYY-MM-DD hh:mm:ss".
[[nodiscard]] std::string localDateTimeText();

} // namespace korvan::os
