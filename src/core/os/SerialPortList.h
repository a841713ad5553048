#pragma once

#include <string>
#include <vector>

namespace korvan::os {

struct SerialPortInfo {
    std::string name;        // the device path, for example /dev/ttyUSB0
    std::string description; // the system's description, empty when it has none
};

// The serial ports of this computer in the system's order. Pseudo-terminals are not listed:
// the engineer types their path.
[[nodiscard]] std::vector<SerialPortInfo> listSerialPorts();

} // namespace korvan::os
