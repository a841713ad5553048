#include "tools/MemoryExchange.h"

#include "base/Decimal.h"
#include "base/Prompt.h"
#include "link/GatewayLink.h"
#include "link/LinkMessages.h"

#include <algorithm>

namespace korvan {
namespace {

constexpr std::size_t maximumData = 89;
constexpr std::array<std::uint8_t, 3> writeAcknowledgement{0x48, 0x00, 0x48};

void showTcpFailure(LinkFailure failure, Prompt& prompt) {
    if (failure == LinkFailure::Connect)
        prompt.message(link_text::connectFails);
    else if (failure == LinkFailure::Receive)
        prompt.message(link_text::readFails);
}

std::optional<MemoryOutcome> stopSeen(GatewayLink& link, const OperationContext& context) {
    if (!context.stopRequested())
        return std::nullopt;
    link.close();
    MemoryOutcome outcome;
    outcome.stopped = true;
    return outcome;
}

} // namespace

Bytes memoryReadRequest(std::uint16_t address) {
    return closeFrame({0x08, 0x04, 0x00, static_cast<std::uint8_t>(address >> 8),
                       static_cast<std::uint8_t>(address & 0xFF), static_cast<std::uint8_t>(memoryBlock)});
}

Bytes memoryWriteRequest(std::uint16_t address, std::span<const std::uint8_t> data) {
    Bytes frame{0x48, static_cast<std::uint8_t>(3 + memoryBlock), 0x00,
                static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address & 0xFF)};
    for (std::size_t i = 0; i < memoryBlock; ++i)
        frame.push_back(i < data.size() ? data[i] : 0);
    return closeFrame(std::move(frame));
}

std::optional<MemoryBlock> decodeMemoryReply(std::span<const std::uint8_t> reply) {
    if (reply.size() < 6 || reply[0] != 0x08 || reply[1] < 3)
        return std::nullopt;
    const std::size_t n = reply[1];
    if (n + 3 > reply.size() || !hasValidChecksum(reply.first(n + 3)))
        return std::nullopt;
    MemoryBlock block;
    block.address = static_cast<std::uint16_t>(reply[3] << 8 | reply[4]);
    const std::size_t count = std::min(n - 3, maximumData);
    block.data.assign(reply.begin() + 5, reply.begin() + 5 + static_cast<std::ptrdiff_t>(count));
    return block;
}

MemoryOutcome readMemory(GatewayLink& link, std::uint16_t address, Prompt& prompt,
                         const OperationContext& context) {
    if (auto stopped = stopSeen(link, context))
        return *stopped;
    MemoryOutcome outcome;
    Bytes reply;
    if (link.isEthernet()) {
        LinkRequest request;
        request.frame = memoryReadRequest(address);
        request.frameType = 0x09;
        request.tcpAnswerLength = 111;
        request.tcpAnswerMinimum = 11 + 5 + memoryBlock + 1;
        request.sendTimeoutMs = 1000;
        const LinkReply answer = link.exchange(request);
        if (answer.failed()) {
            showTcpFailure(answer.failure, prompt);
            return outcome; // reading goes on at the next tick
        }
        reply = answer.answer;
    } else {
        if (link.serialWrite(memoryReadRequest(address)) != LinkFailure::None) {
            prompt.message("Failed writting serial port");
            outcome.closeWindow = true;
            return outcome;
        }
        reply = link.serialPollRead(100);
        if (reply.empty()) {
            prompt.message("Failed reading serial port");
            outcome.closeWindow = true;
            return outcome;
        }
    }
    outcome.block = decodeMemoryReply(reply);
    if (!outcome.block) {
        prompt.message("Read and check data error");
        outcome.closeWindow = true;
        return outcome;
    }
    outcome.ok = true;
    return outcome;
}

MemoryOutcome writeMemory(GatewayLink& link, std::uint16_t address, std::span<const std::uint8_t> data,
                          Prompt& prompt, const OperationContext& context) {
    if (auto stopped = stopSeen(link, context))
        return *stopped;
    MemoryOutcome outcome;
    LinkRequest request;
    request.frame = memoryWriteRequest(address, data);
    request.frameType = 0x48;
    request.tcpAnswerLength = 14;
    request.serialAnswerLength = writeAcknowledgement.size();
    request.sendTimeoutMs = 1000;
    const LinkReply reply = link.exchange(request);
    if (link.isEthernet() &&
        (reply.failure == LinkFailure::Connect || reply.failure == LinkFailure::Receive)) {
        showTcpFailure(reply.failure, prompt);
        return outcome; // the window stays
    }
    const bool acknowledged =
        !reply.failed() && reply.answer.size() >= writeAcknowledgement.size() &&
        std::equal(writeAcknowledgement.begin(), writeAcknowledgement.end(), reply.answer.begin());
    if (!acknowledged) {
        prompt.message("Download failed");
        outcome.closeWindow = true;
        return outcome;
    }
    prompt.message("Success to write the memory:" + decimalText(address) + "~" +
                   decimalText(address + static_cast<int>(memoryBlock) - 1));
    outcome.ok = true;
    return outcome;
}

} // namespace korvan
