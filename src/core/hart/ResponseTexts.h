#pragma once

#include <cstdint>
#include <string_view>

namespace korvan {

// The fixed texts the command I/O data window shows for coded bytes of a HART reply.
[[nodiscard]] std::string_view communicationStatusText(std::uint8_t status);
[[nodiscard]] std::string_view responseCodeText(std::uint8_t index);
[[nodiscard]] std::string_view alarmSelectionText(std::uint8_t code);
// Empty for a code without a name.
[[nodiscard]] std::string_view transferFunctionText(std::uint8_t code);

} // namespace korvan
