#include "model/ModbusFunction.h"

#include <array>

namespace korvan {

ModbusFunction modbusFunctionFor(int typeIndex) {
    static constexpr std::array<ModbusFunction, 14> functions{{
        {"Read Coil", 1, true},
        {"Read Input Status", 2, true},
        {"Read Holding Register", 3, true},
        {"Read Input Register", 4, true},
        {"Force Single Coil", 5, true},
        {"Force Single Register", 6, true},
        {"Read Exception Status", 7, false},
        {"Diagnostics", 8, false},
        {"Fetch Comm Event Ctr", 11, false},
        {"Fetch Comm Event Log", 12, false},
        {"Program Control", 13, false},
        {"Poll Control", 14, false},
        {"Force Multiple Coils", 15, true},
        {"Preset Multiple Registers", 16, true},
    }};
    if (typeIndex < 0 || typeIndex >= static_cast<int>(functions.size()))
        return {"Bad command", 255, false};
    return functions[static_cast<std::size_t>(typeIndex)];
}

} // namespace korvan
