#pragma once

#include "base/ResultCode.h"
#include "model/GatewayModel.h"

#include <string_view>

namespace korvan {

class CProfilebus;
class Prompt;

// The editing rules of the network side's rows, as the parameter grid applies them.

// The selector row: "Modbus Slave" or "User Config" switch the mode when it differs.
// Either choice enables Select Mode; "User Config" makes the link serial. Answers true when
// the mode changed, so the grid shows the new list.
bool selectProtocol(CProfilebus& bus, std::string_view choice, bool& canSelectMode, LinkKind& linkKind);

// "Assign IP Mode" in mode 3: DHCP and BOOTP disable the three address items, any other
// value enables them.
void applyAssignIpMode(CProfilebus& bus, std::string_view value);

// An IPv4 address as the grid accepts it: four dot-separated parts of decimal digits, the
// first three of 1-3 digits, every part at most 255, and not "0.0.0.0".
[[nodiscard]] bool isAcceptedIpAddress(std::string_view text);

// The slave address row of mode 0: 1-247.
[[nodiscard]] ResultCode checkSlaveAddress(std::string_view text);

// Commits typed text into an address item (IP address, subnet mask, default gateway) of
// mode 3; a rejected text shows "IP format error" and keeps the previous value.
bool commitEthernetAddress(CProfilebus& bus, std::size_t position, std::string_view text, Prompt& prompt);

// Commits the slave address of mode 0; a rejected text shows its result message and keeps
// the previous value.
bool commitSlaveAddress(CProfilebus& bus, std::string_view text, Prompt& prompt);

} // namespace korvan
