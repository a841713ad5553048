#pragma once

#include "base/ResultCode.h"
#include "link/PrivateFrame.h"

#include <optional>

namespace korvan {

class GatewayLink;
class Prompt;

// The command I/O data window's exchanges: the latest reply of one configured HART command,
// and the writes of the few writable commands.

// Fetches the payload of the request built by readRequestFrame; nothing when the exchange failed (the TCP messages are shown).
[[nodiscard]] std::optional<Bytes> readCommandData(GatewayLink& link, std::uint8_t channel, std::uint8_t node,
                                                   Prompt& prompt);

// Sends a 'G' write frame on the serial line and compares the acknowledgement: 0, 3 or the
// link's failure code.
[[nodiscard]] ResultCode writeCommandData(GatewayLink& link, std::span<const std::uint8_t> frame,
                                          std::span<const std::uint8_t> expected);

} // namespace korvan
