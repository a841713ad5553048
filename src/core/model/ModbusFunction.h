#pragma once

#include <string_view>

namespace korvan {

// A Modbus function a bus or node command can be bound to, selected by its type index.
struct ModbusFunction {
    std::string_view text;
    int code;
    bool supported;
};

// Index 0-13 as listed; any other index is "Bad command" (255), unsupported.
[[nodiscard]] ModbusFunction modbusFunctionFor(int typeIndex);

} // namespace korvan
