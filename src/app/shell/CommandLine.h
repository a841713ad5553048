#pragma once

#include "app/GatewayOptions.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvan::gui {

// korvan's command line: an optional project file opened at start, and the gateway options
// korvanctl has, which preset what the device dialog and the gateway dialogs would set.
struct ProgramArguments {
    GatewayOptions gateway;
    std::optional<std::string> projectFile;
    // --search-port: the UDP port the gateway search asks on (the management port unless given).
    std::optional<std::uint16_t> searchPort;
    bool help = false;
    bool version = false;
    std::string error; // why the command line cannot be used; empty when it can
};

[[nodiscard]] ProgramArguments parseProgramArguments(const std::vector<std::string>& words);

[[nodiscard]] const char* programUsage();

} // namespace korvan::gui
