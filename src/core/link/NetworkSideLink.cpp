#include "link/NetworkSideLink.h"

#include "base/Prompt.h"
#include "link/GatewayLink.h"
#include "link/LinkFailureReport.h"
#include "link/LinkMessages.h"
#include "model/CProfilebus.h"
#include "network/NetworkBlocks.h"

#include <algorithm>

namespace korvan {
namespace {

constexpr int managementTimeoutMs = 1000;
constexpr std::size_t writeReplyMaximum = 16;
constexpr std::size_t managementHeader = 4;

ResultCode serialFailure(LinkFailure failure) {
    return failure == LinkFailure::None ? ResultCode::Success : ResultCode::SerialReadFailed;
}

ResultCode downloadOverSerial(CProfilebus& bus, GatewayLink& link) {
    const auto block = encodeSerialBlock(bus);
    LinkRequest request;
    request.frame.assign(block.begin(), block.end());
    request.serialAnswerLength = serialBlockAcknowledgement.size();
    const LinkReply reply = link.exchange(request);
    if (reply.failed())
        return serialFailure(reply.failure);
    const bool same =
        reply.answer.size() == serialBlockAcknowledgement.size() &&
        std::equal(reply.answer.begin(), reply.answer.end(), serialBlockAcknowledgement.begin());
    return same ? ResultCode::Success : ResultCode::UploadCheckError;
}

ResultCode downloadOverEthernet(CProfilebus& bus, GatewayLink& link, Prompt& prompt) {
    bus.setMode(ModbusTcpMode);
    const auto request = encodeEthernetWriteRequest(bus);
    const LinkReply reply =
        link.managementExchange(request, managementHeader, writeReplyMaximum, managementTimeoutMs, 0);
    if (reply.failed())
        return reportLinkFailure(reply.failure, prompt, managementWriteFailureMessages);
    if (!isManagementReply(reply.answer, 6)) {
        prompt.message(link_text::readingConfigurationFailed);
        return ResultCode::TcpFailure;
    }
    return ResultCode::Success;
}

ResultCode uploadOverSerial(CProfilebus& bus, GatewayLink& link) {
    bus.initialise();
    if (const LinkFailure failure = link.serialWrite(serialBlockReadRequest); failure != LinkFailure::None)
        return serialFailure(failure);
    const LinkReply reply = link.serialRead(serialBlockReplyLength);
    if (reply.failed())
        return serialFailure(reply.failure);
    return decodeSerialBlock(bus, reply.answer);
}

ResultCode uploadOverEthernet(CProfilebus& bus, GatewayLink& link, Prompt& prompt) {
    bus.setMode(ModbusTcpMode);
    const LinkReply reply =
        link.managementExchange(ethernetReadRequest, ethernetReadReplyLength, ethernetReadReplyLength,
                                managementTimeoutMs, managementTimeoutMs);
    if (reply.failed())
        return reportLinkFailure(reply.failure, prompt, managementReadFailureMessages);
    // A reply shorter than the block is refused as a whole rather than read past its end.
    if (!isManagementReply(reply.answer, 5) || !decodeEthernetReadReply(bus, reply.answer)) {
        prompt.message(link_text::readingConfigurationFailed);
        return ResultCode::TcpFailure;
    }
    return ResultCode::Success;
}

ResultCode stopped(GatewayLink& link) {
    link.close();
    return ResultCode::Stopped;
}

} // namespace

ResultCode downloadNetworkSide(CProfilebus& bus, GatewayLink& link, Prompt& prompt,
                               const OperationContext& context) {
    if (context.stopRequested())
        return stopped(link);
    return link.isEthernet() ? downloadOverEthernet(bus, link, prompt) : downloadOverSerial(bus, link);
}

ResultCode uploadNetworkSide(CProfilebus& bus, GatewayLink& link, Prompt& prompt,
                             const OperationContext& context) {
    if (context.stopRequested())
        return stopped(link);
    return link.isEthernet() ? uploadOverEthernet(bus, link, prompt) : uploadOverSerial(bus, link);
}

} // namespace korvan
