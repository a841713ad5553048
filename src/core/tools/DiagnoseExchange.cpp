#include "tools/DiagnoseExchange.h"

#include "base/Decimal.h"
#include "base/Prompt.h"
#include "link/GatewayLink.h"
#include "link/LinkMessages.h"
#include "model/COrlaNode.h"

#include <algorithm>

namespace korvan {
namespace {

constexpr int diagnoseTimeoutMs = 3000;
constexpr std::size_t channelReplyLength = 9;
constexpr std::size_t nodeReplyBuffer = 150;

std::string_view stateText(std::uint8_t state) {
    switch (state) {
    case 0:
        return "FREE";
    case 1:
        return "SENDING";
    case 2:
        return "WAITACK";
    default:
        return "RECEIVING";
    }
}

std::string_view statusText(std::uint8_t status) {
    switch (status) {
    case 0:
        return "Not excute yet";
    case 1:
        return "Response correct";
    case 2:
        return "Check failed";
    case 3:
        return "No response";
    case 4:
        return "Wrong protocal";
    default:
        return "No connection";
    }
}

bool countsAsError(std::uint8_t status) {
    return status == 2 || status == 3 || status > 4;
}

LinkRequest diagnoseRequest(Bytes frame, std::size_t tcpMinimum, std::size_t tcpMaximum) {
    LinkRequest request;
    request.frame = std::move(frame);
    request.transaction = 0x0001;
    request.frameType = 0x06;
    request.tcpAnswerLength = tcpMaximum;
    request.tcpAnswerMinimum = tcpMinimum;
    request.receiveTimeoutMs = diagnoseTimeoutMs;
    request.sendTimeoutMs = diagnoseTimeoutMs;
    return request;
}

// Ethernet failures of a status read: their message and periodic refresh off.
DiagnoseReading tcpFailure(LinkFailure failure, Prompt& prompt) {
    DiagnoseReading reading;
    if (failure == LinkFailure::Connect || failure == LinkFailure::Receive) {
        prompt.message(failure == LinkFailure::Connect ? link_text::connectFails : link_text::readFails);
        reading.stopRefresh = true;
    }
    return reading;
}

// The serial line sends the request, then reads the reply; the TCP link does both in one
// exchange. Answers the reply, or shows the failure's message.
std::optional<Bytes> statusExchange(GatewayLink& link, Bytes frame, std::size_t serialLength,
                                    std::size_t tcpMinimum, std::size_t tcpMaximum, DiagnoseReading& failed,
                                    Prompt& prompt, std::string_view writeFailed, std::string_view readFailed,
                                    bool readStops) {
    if (link.isEthernet()) {
        const LinkReply reply = link.exchange(diagnoseRequest(std::move(frame), tcpMinimum, tcpMaximum));
        if (reply.failed()) {
            failed = tcpFailure(reply.failure, prompt);
            return std::nullopt;
        }
        return reply.answer;
    }
    if (link.serialWrite(frame) != LinkFailure::None) {
        prompt.message(writeFailed);
        failed.stopRefresh = true;
        return std::nullopt;
    }
    LinkReply reply = link.serialRead(serialLength);
    if (reply.failed()) {
        prompt.message(readFailed);
        failed.stopRefresh = readStops;
        return std::nullopt;
    }
    return reply.answer;
}

std::optional<DiagnoseReading> stopSeen(GatewayLink& link, const OperationContext& context) {
    if (!context.stopRequested())
        return std::nullopt;
    link.close();
    DiagnoseReading reading;
    reading.stopped = true;
    return reading;
}

} // namespace

Bytes channelStatusRequest(std::uint8_t channel) {
    return closeFrame({0x05, 0x01, channel});
}
Bytes nodeStatusRequest(std::uint8_t channel) {
    return closeFrame({0x06, 0x01, channel});
}
Bytes clearErrorRequest(std::uint8_t channel) {
    return closeFrame({0x45, 0x01, channel});
}

std::optional<std::vector<DiagnoseRow>> channelStatusRows(std::span<const std::uint8_t> reply) {
    if (reply.size() < 8 || reply[0] != 0x05 || !hasValidChecksum(reply.first(8)))
        return std::nullopt;
    return std::vector<DiagnoseRow>{{"System State machine", std::string(stateText(reply[3])), -1},
                                    {"Request times", decimalText(reply[4]), -1},
                                    {"Response times", decimalText(reply[5]), -1},
                                    {"Error times", decimalText(reply[6]), -1}};
}

std::optional<DiagnoseReading> nodeStatusRows(std::span<const std::uint8_t> reply, const COrlaNode& node) {
    if (reply.size() < 3 || reply[0] != 0x06)
        return std::nullopt;
    const std::size_t length = reply[1];
    // A length that points past what arrived is a failed check, not a read past the reply.
    if (length + 3 > reply.size() || !hasValidChecksum(reply.first(length + 3)))
        return std::nullopt;
    DiagnoseReading reading;
    reading.ok = true;
    for (std::size_t k = 0; 3 + k <= length + 4; ++k) {
        const int number = node.commandNumberOf(static_cast<int>(k));
        if (number < 0)
            continue;
        const std::uint8_t status = 3 + k < reply.size() ? reply[3 + k] : 0;
        reading.rows.push_back({"Command ID" + decimalText(number), std::string(statusText(status)), number});
        reading.anyError = reading.anyError || countsAsError(status);
    }
    return reading;
}

DiagnoseReading readChannelStatus(GatewayLink& link, std::uint8_t channel, Prompt& prompt,
                                  const OperationContext& context) {
    if (auto stopped = stopSeen(link, context))
        return *stopped;
    DiagnoseReading reading;
    const auto reply =
        statusExchange(link, channelStatusRequest(channel), channelReplyLength, 11 + 8, 11 + 9, reading,
                       prompt, "Failed sending request", "Failed reading HART Channel", true);
    if (!reply)
        return reading;
    auto rows = channelStatusRows(*reply);
    if (!rows) {
        prompt.message("Read and check HART Channel failed");
        reading.stopRefresh = true;
        return reading;
    }
    reading.ok = true;
    reading.rows = std::move(*rows);
    return reading;
}

StatusReply exchangeNodeStatus(GatewayLink& link, std::uint8_t channel, Prompt& prompt,
                               const OperationContext& context) {
    StatusReply outcome;
    if (auto stopped = stopSeen(link, context)) {
        outcome.stopped = true;
        return outcome;
    }
    DiagnoseReading failed;
    outcome.reply =
        statusExchange(link, nodeStatusRequest(channel), nodeReplyBuffer, 11 + 3, 161, failed, prompt,
                       "Failed writting serial port", "Failed reading the information of HART bus", false);
    outcome.stopRefresh = failed.stopRefresh;
    return outcome;
}

DiagnoseReading nodeStatusReading(std::span<const std::uint8_t> reply, const COrlaNode& node,
                                  Prompt& prompt) {
    auto rows = nodeStatusRows(reply.first(std::min(reply.size(), nodeReplyBuffer)), node);
    if (!rows) {
        prompt.message("Read and check the HART informattion error");
        return {};
    }
    return *rows;
}

DiagnoseReading readNodeStatus(GatewayLink& link, std::uint8_t channel, const COrlaNode& node, Prompt& prompt,
                               const OperationContext& context) {
    const StatusReply exchanged = exchangeNodeStatus(link, channel, prompt, context);
    if (!exchanged.reply) {
        DiagnoseReading reading;
        reading.stopRefresh = exchanged.stopRefresh;
        reading.stopped = exchanged.stopped;
        return reading;
    }
    return nodeStatusReading(*exchanged.reply, node, prompt);
}

bool clearChannelError(GatewayLink& link, std::uint8_t channel, Prompt& prompt,
                       const OperationContext& context) {
    if (stopSeen(link, context))
        return false;
    const Bytes request = clearErrorRequest(channel);
    LinkRequest exchange = diagnoseRequest(request, 15, 15);
    exchange.serialAnswerLength = request.size();
    const LinkReply reply = link.exchange(exchange);
    const bool echoed = !reply.failed() && reply.answer.size() >= request.size() &&
                        std::equal(request.begin(), request.end(), reply.answer.begin());
    if (link.isEthernet()) {
        if (reply.failure == LinkFailure::Connect)
            prompt.message(link_text::connectFails);
        else if (reply.failure == LinkFailure::Receive)
            prompt.message(link_text::readFails);
    } else if (!echoed) {
        prompt.message("Clear HART bus's system state error");
    }
    return echoed;
}

} // namespace korvan
