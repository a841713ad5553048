#include "SlicedAnswerLink.h"

#include "link/TunnelFrame.h"

#include <array>

namespace korvan::fuzz {
namespace {

constexpr std::array tcpFailures{LinkFailure::Setup, LinkFailure::Connect, LinkFailure::Send,
                                 LinkFailure::Receive};
constexpr std::array serialFailures{LinkFailure::Write, LinkFailure::Read};

} // namespace

std::uint8_t failureDetail(LinkFailure failure) {
    for (std::size_t i = 0; i < tcpFailures.size(); ++i)
        if (tcpFailures[i] == failure)
            return static_cast<std::uint8_t>(i);
    for (std::size_t i = 0; i < serialFailures.size(); ++i)
        if (serialFailures[i] == failure)
            return static_cast<std::uint8_t>(i);
    return 0;
}

LinkReply SlicedAnswerLink::answer(std::size_t maximum) {
    const LinkFailure silent = ethernet_ ? LinkFailure::Receive : LinkFailure::Read;
    if (input_.empty())
        return {silent, {}};
    const FuzzInput::Slice slice = input_.slice();
    if (slice.marker) {
        const std::uint8_t kind = input_.byte();
        return {ethernet_ ? tcpFailures[kind % tcpFailures.size()]
                          : serialFailures[kind % serialFailures.size()],
                {}};
    }
    const auto bytes = slice.bytes.first(std::min(slice.bytes.size(), maximum));
    if (bytes.empty())
        return {silent, {}};
    return {LinkFailure::None, Bytes(bytes.begin(), bytes.end())};
}

LinkReply SlicedAnswerLink::exchange(const LinkRequest& request) {
    sent_.push_back(request.frame);
    if (!ethernet_)
        return answer(request.serialAnswerLength);
    // The TCP link reads at most the whole tunnel answer and hands over what follows its header.
    const std::size_t length = request.tcpAnswerLength;
    return answer(length > tunnelAnswerOffset ? length - tunnelAnswerOffset : 0);
}

LinkReply SlicedAnswerLink::managementExchange(std::span<const std::uint8_t> request, std::size_t,
                                               std::size_t maximum, int, int) {
    sent_.emplace_back(request.begin(), request.end());
    if (!ethernet_)
        return {LinkFailure::Setup, {}};
    return answer(maximum);
}

LinkFailure SlicedAnswerLink::serialWrite(std::span<const std::uint8_t> bytes) {
    if (ethernet_)
        return LinkFailure::Write;
    sent_.emplace_back(bytes.begin(), bytes.end());
    return LinkFailure::None;
}

LinkReply SlicedAnswerLink::serialRead(std::size_t n) {
    if (ethernet_)
        return {LinkFailure::Read, {}};
    return answer(n);
}

Bytes SlicedAnswerLink::serialPollRead(std::size_t n) {
    if (ethernet_ || input_.empty())
        return {};
    LinkReply reply = answer(n);
    return std::move(reply.answer);
}

} // namespace korvan::fuzz
