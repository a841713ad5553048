#pragma once

#include <cstdint>
#include <string>

namespace korvan {

// Where the gateway is on Ethernet. The ports are settings so that tests and the simulator
// can use unprivileged loopback ports.
struct LinkSettings {
    std::string host;
    std::uint16_t configurationPort = 502;
    std::uint16_t managementPort = 18801;
    int connectLimitMs = 3000;
    int exchangePauseMs = 15; // after each TCP exchange
};

} // namespace korvan
