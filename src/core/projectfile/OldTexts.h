#pragma once

#include <string_view>

namespace korvan {

// Project files written by earlier versions use other wording for some names and values;
// reading replaces them with today's texts (exact comparison). Other texts come back as given.
[[nodiscard]] std::string_view currentItemName(std::string_view name);
[[nodiscard]] std::string_view currentItemValue(std::string_view value);

} // namespace korvan
