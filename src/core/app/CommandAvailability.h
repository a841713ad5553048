#pragma once

#include "app/TreeEnableFlags.h"

namespace korvan {

struct AppState;

// Which of the main window's commands are offered at a given moment: the tree's six commands,
// the commands the gateway model decides, and those the application state's flags decide.
// The commands left out here (New, Open, Auto Mapping, the converters, ...) are always offered.
struct CommandAvailability {
    TreeEnableFlags tree;
    bool serialSetting = false;  // Vela-3H-RTU only: its gateway is reached over a serial line
    bool ethernetConfig = false; // the TCP models only
    bool upload = false;
    bool download = false;
    bool selectMode = false;
    bool showMemory = false;
    bool diagnose = false;
    bool serialDebug = false; // Vela-3H-RTU only, and only while canSerialDebug is set

    friend bool operator==(const CommandAvailability&, const CommandAvailability&) = default;
};

[[nodiscard]] CommandAvailability commandAvailability(const AppState& state, const TreeEnableFlags& tree);

} // namespace korvan
