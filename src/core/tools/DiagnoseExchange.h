#pragma once

#include "base/OperationContext.h"
#include "link/PrivateFrame.h"

#include <optional>
#include <string>
#include <vector>

namespace korvan {

class COrlaNode;
class GatewayLink;
class Prompt;

// One row of the Diagnose list.
struct DiagnoseRow {
    std::string item;
    std::string value;
    int commandNumber = -1; // the row's key for a command row
};

// The outcome of one Diagnose read: its rows, whether a communication error must turn
// periodic refresh off, and for a node whether a command counted as an error.
struct DiagnoseReading {
    bool ok = false;
    std::vector<DiagnoseRow> rows;
    bool stopRefresh = false;
    bool anyError = false;
    bool stopped = false; // the context's stop came first: nothing was sent, nothing shown
};

[[nodiscard]] Bytes channelStatusRequest(std::uint8_t channel); // 05 01 ch sum
[[nodiscard]] Bytes nodeStatusRequest(std::uint8_t channel);    // 06 01 ch sum
[[nodiscard]] Bytes clearErrorRequest(std::uint8_t channel);    // 45 01 ch sum

// The four rows of a channel status reply; nothing when its header or checksum is wrong.
[[nodiscard]] std::optional<std::vector<DiagnoseRow>> channelStatusRows(std::span<const std::uint8_t> reply);
// The command rows of a node status reply for the node's uploaded commands; nothing when the
// header or checksum is wrong, or the length byte points past the reply.
[[nodiscard]] std::optional<DiagnoseReading> nodeStatusRows(std::span<const std::uint8_t> reply,
                                                            const COrlaNode& node);

// The Diagnose window's exchanges over either link, with the window's messages. A stop the
// context requested before the exchange sends nothing and closes the link.
[[nodiscard]] DiagnoseReading readChannelStatus(GatewayLink& link, std::uint8_t channel, Prompt& prompt,
                                                const OperationContext& context = {});
[[nodiscard]] DiagnoseReading readNodeStatus(GatewayLink& link, std::uint8_t channel, const COrlaNode& node,
                                             Prompt& prompt, const OperationContext& context = {});

// The node status read in its two halves, so that the exchange can run on a worker while the
// node (which the engineer may be editing) is read only where it is edited: the exchange with
// its link messages, then the rows with the check's message.
struct StatusReply {
    std::optional<Bytes> reply; // nothing when the exchange failed or a stop came first
    bool stopRefresh = false;
    bool stopped = false;
};
[[nodiscard]] StatusReply exchangeNodeStatus(GatewayLink& link, std::uint8_t channel, Prompt& prompt,
                                             const OperationContext& context = {});
[[nodiscard]] DiagnoseReading nodeStatusReading(std::span<const std::uint8_t> reply, const COrlaNode& node,
                                                Prompt& prompt);
// "Reset": true when the gateway echoed the clear-error request; false after a stop.
[[nodiscard]] bool clearChannelError(GatewayLink& link, std::uint8_t channel, Prompt& prompt,
                                     const OperationContext& context = {});

} // namespace korvan
