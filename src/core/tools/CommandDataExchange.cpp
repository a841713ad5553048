#include "tools/CommandDataExchange.h"

#include "base/Prompt.h"
#include "hart/CommandIoEditing.h"
#include "hart/HartReply.h"
#include "link/GatewayLink.h"
#include "link/LinkMessages.h"
#include "link/TunnelFrame.h"

#include <algorithm>

namespace korvan {

std::optional<Bytes> readCommandData(GatewayLink& link, std::uint8_t channel, std::uint8_t node,
                                     Prompt& prompt, const OperationContext& context) {
    if (context.stopRequested()) {
        link.close();
        return std::nullopt;
    }
    const Bytes request = readRequestFrame(channel, node);
    Bytes reply;
    if (link.isEthernet()) {
        LinkRequest exchange;
        exchange.frame = request;
        exchange.transaction = 0x0000;
        exchange.frameType = 0x11;
        exchange.tcpAnswerLength = 1024;
        exchange.tcpAnswerMinimum = 11 + 4;
        const LinkReply answer = link.exchange(exchange);
        if (answer.failure == LinkFailure::Connect)
            prompt.message(link_text::connectFails);
        else if (answer.failure == LinkFailure::Receive)
            prompt.message(link_text::readFails);
        if (answer.failed())
            return std::nullopt;
        reply = answer.answer;
    } else {
        if (link.serialWrite(request) != LinkFailure::None)
            return std::nullopt;
        reply = link.serialPollRead(1024);
        if (reply.empty())
            return std::nullopt;
    }
    return replyPayload(reply);
}

namespace {

struct WriteOutcome {
    ResultCode code = ResultCode::Success;
    LinkFailure failure = LinkFailure::None;
};

WriteOutcome exchangeWrite(GatewayLink& link, std::span<const std::uint8_t> frame,
                           std::span<const std::uint8_t> expected, const OperationContext& context) {
    if (context.stopRequested()) {
        link.close();
        return {ResultCode::Stopped, LinkFailure::None};
    }
    LinkRequest request;
    request.frame.assign(frame.begin(), frame.end());
    request.serialAnswerLength = expected.size();
    request.transaction = 0x0000;
    request.frameType = 0x11;
    request.tcpAnswerLength = tunnelAnswerOffset + expected.size();
    const LinkReply reply = link.exchange(request);
    if (reply.failed())
        return {link.isEthernet() ? ResultCode::TcpFailure : ResultCode::SerialReadFailed, reply.failure};
    const bool same = reply.answer.size() >= expected.size() &&
                      std::equal(expected.begin(), expected.end(), reply.answer.begin());
    return {same ? ResultCode::Success : ResultCode::UploadCheckError, LinkFailure::None};
}

} // namespace

ResultCode writeCommandData(GatewayLink& link, std::span<const std::uint8_t> frame,
                            std::span<const std::uint8_t> expected, const OperationContext& context) {
    return exchangeWrite(link, frame, expected, context).code;
}

ResultCode sendCommandWrite(GatewayLink& link, std::span<const std::uint8_t> frame,
                            std::span<const std::uint8_t> expected, Prompt& prompt,
                            const OperationContext& context) {
    const WriteOutcome outcome = exchangeWrite(link, frame, expected, context);
    if (outcome.code == ResultCode::Success || outcome.code == ResultCode::Stopped)
        return outcome.code;
    if (outcome.failure == LinkFailure::Connect)
        prompt.message(link_text::connectFails);
    else if (outcome.failure == LinkFailure::Receive)
        prompt.message(link_text::readFails);
    else
        (void)reportResult(outcome.code, true, prompt);
    return outcome.code;
}

} // namespace korvan
