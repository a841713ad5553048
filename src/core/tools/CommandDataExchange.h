#pragma once

#include "base/OperationContext.h"
#include "base/ResultCode.h"
#include "link/PrivateFrame.h"

#include <optional>

namespace korvan {

class GatewayLink;
class Prompt;

// The command I/O data window's exchanges: the latest reply of one configured HART command,
// and the writes of the few writable commands. A stop the context requested before the
// exchange sends nothing and closes the link.

// Fetches the payload of the request built by readRequestFrame; nothing when the exchange
// failed (the TCP messages are shown) or a stop came first.
[[nodiscard]] std::optional<Bytes> readCommandData(GatewayLink& link, std::uint8_t channel, std::uint8_t node,
                                                   Prompt& prompt, const OperationContext& context = {});

// Sends a 'G' write frame on the serial line and compares the acknowledgement: 0, 3, the
// link's failure code or Stopped.
// On Ethernet the frame goes in the tunnel like the read request (transaction 00 00, frame
// type 0x11), so that the write is not lost there.
[[nodiscard]] ResultCode writeCommandData(GatewayLink& link, std::span<const std::uint8_t> frame,
                                          std::span<const std::uint8_t> expected,
                                          const OperationContext& context = {});

// The Edit button's write, whose failure the engineer is told: the link's connect or read
// message on Ethernet, else the result code's message. Nothing is shown on success.
ResultCode sendCommandWrite(GatewayLink& link, std::span<const std::uint8_t> frame,
                            std::span<const std::uint8_t> expected, Prompt& prompt,
                            const OperationContext& context = {});

} // namespace korvan
