#include "link/TcpGatewayLink.h"

#include "link/TunnelFrame.h"
#include "os/Pause.h"

namespace korvan {
namespace {

LinkFailure failureOf(os::NetStatus status) {
    switch (status) {
    case os::NetStatus::Ok:
        return LinkFailure::None;
    case os::NetStatus::SetupFailed:
        return LinkFailure::Setup;
    case os::NetStatus::ConnectFailed:
        return LinkFailure::Connect;
    case os::NetStatus::SendFailed:
        return LinkFailure::Send;
    case os::NetStatus::ReceiveFailed:
        return LinkFailure::Receive;
    }
    return LinkFailure::Setup;
}

LinkReply sendAndReceive(os::TcpConnection& connection, std::span<const std::uint8_t> bytes,
                         std::size_t minimum, std::size_t maximum) {
    if (const auto sent = connection.sendAll(bytes); sent != os::NetStatus::Ok)
        return {failureOf(sent), {}};
    Bytes answer = connection.receive(minimum, maximum);
    if (answer.empty())
        return {LinkFailure::Receive, {}};
    return {LinkFailure::None, std::move(answer)};
}

} // namespace

LinkFailure TcpGatewayLink::connect(os::TcpConnection& connection, std::uint16_t port, int receiveTimeoutMs,
                                    int sendTimeoutMs) const {
    if (const auto opened = connection.open(receiveTimeoutMs, sendTimeoutMs); opened != os::NetStatus::Ok)
        return failureOf(opened);
    const auto connected = connection.connect(settings_.host, port, settings_.connectLimitMs);
    if (connected != os::NetStatus::Ok)
        connection.close();
    return failureOf(connected);
}

void TcpGatewayLink::finish(os::TcpConnection& connection) const {
    connection.close();
    os::pauseMilliseconds(settings_.exchangePauseMs);
}

LinkReply TcpGatewayLink::exchange(const LinkRequest& request) {
    const Bytes frame = tunnelFrame(request.transaction, request.frameType, request.frame);
    const std::size_t length = request.tcpAnswerLength;
    const std::size_t minimum = request.tcpAnswerMinimum != 0 ? request.tcpAnswerMinimum : length;
    if (session_.isOpen()) {
        LinkReply reply = sendAndReceive(session_, frame, minimum, length);
        if (reply.failed())
            endSession();
        else
            reply.answer.erase(reply.answer.begin(),
                               reply.answer.begin() + static_cast<std::ptrdiff_t>(
                                                          std::min(tunnelAnswerOffset, reply.answer.size())));
        return reply;
    }
    os::TcpConnection connection;
    if (const LinkFailure failure =
            connect(connection, settings_.configurationPort, request.receiveTimeoutMs, request.sendTimeoutMs);
        failure != LinkFailure::None)
        return {failure, {}};
    LinkReply reply = sendAndReceive(connection, frame, minimum, length);
    finish(connection);
    const std::size_t skip = std::min(tunnelAnswerOffset, reply.answer.size());
    reply.answer.erase(reply.answer.begin(), reply.answer.begin() + static_cast<std::ptrdiff_t>(skip));
    return reply;
}

LinkFailure TcpGatewayLink::sendOnly(const LinkRequest& request) {
    os::TcpConnection connection;
    if (const LinkFailure failure =
            connect(connection, settings_.configurationPort, request.receiveTimeoutMs, request.sendTimeoutMs);
        failure != LinkFailure::None)
        return failure;
    const auto sent = connection.sendAll(tunnelFrame(request.transaction, request.frameType, request.frame));
    finish(connection);
    return failureOf(sent);
}

LinkFailure TcpGatewayLink::beginSession(int receiveTimeoutMs, int sendTimeoutMs) {
    endSession();
    return connect(session_, settings_.configurationPort, receiveTimeoutMs, sendTimeoutMs);
}

void TcpGatewayLink::endSession() {
    if (session_.isOpen())
        finish(session_);
}

LinkReply TcpGatewayLink::managementExchange(std::span<const std::uint8_t> request, std::size_t minimum,
                                             std::size_t maximum, int receiveTimeoutMs, int sendTimeoutMs) {
    os::TcpConnection connection;
    if (const LinkFailure failure =
            connect(connection, settings_.managementPort, receiveTimeoutMs, sendTimeoutMs);
        failure != LinkFailure::None)
        return {failure, {}};
    LinkReply reply = sendAndReceive(connection, request, minimum, maximum);
    finish(connection);
    return reply;
}

} // namespace korvan
