#pragma once

#include "base/OperationContext.h"
#include "base/ResultCode.h"

namespace korvan {

class CProfilebus;
class GatewayLink;
class Prompt;

// The network side's part of a download and of an upload. On Ethernet the bus switches to
// Modbus TCP and talks to the management port; on the serial line it exchanges its
// 12-byte block. Messages go through the prompt; the result is the caller's to report.
// A stop requested before the exchange sends nothing, closes the link and answers Stopped.
[[nodiscard]] ResultCode downloadNetworkSide(CProfilebus& bus, GatewayLink& link, Prompt& prompt,
                                             const OperationContext& context = {});
[[nodiscard]] ResultCode uploadNetworkSide(CProfilebus& bus, GatewayLink& link, Prompt& prompt,
                                           const OperationContext& context = {});

} // namespace korvan
