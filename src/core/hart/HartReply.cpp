#include "hart/HartReply.h"

#include <algorithm>
#include <array>

namespace korvan {
namespace {

struct CodeMapping {
    std::uint8_t raw;
    std::uint8_t index;
};

constexpr std::array<CodeMapping, 4> readMapping{{{0, 0}, {6, 4}, {8, 5}, {16, 1}}};
constexpr std::array<CodeMapping, 8> pollingMapping{
    {{0, 0}, {2, 6}, {5, 7}, {6, 4}, {7, 2}, {12, 8}, {16, 1}, {32, 3}}};
constexpr std::array<CodeMapping, 3> textMapping{{{0, 0}, {16, 1}, {32, 3}}};
constexpr std::array<CodeMapping, 1> identifierMapping{{{0, 0}}};
constexpr std::uint8_t UndefinedIndex = 9;

std::span<const CodeMapping> mappingOf(int command) {
    switch (command) {
    case 0:
    case 11:
        return identifierMapping;
    case 1:
    case 2:
    case 3:
        return readMapping;
    case 6:
        return pollingMapping;
    case 12:
    case 13:
    case 14:
    case 15:
    case 16:
        return textMapping;
    default:
        return {};
    }
}

} // namespace

bool isCommandIoCommand(int command) {
    return commandReplySize(command) > 0;
}

int commandReplySize(int command) {
    switch (command) {
    case 0:
    case 11:
        return 14;
    case 1:
        return 7;
    case 2:
        return 10;
    case 3:
    case 12:
    case 17:
        return 26;
    case 6:
        return 4;
    case 13:
    case 18:
        return 23;
    case 14:
        return 18;
    case 15:
        return 20;
    case 16:
    case 19:
        return 5;
    default:
        return 0;
    }
}

std::uint8_t mapResponseCode(int command, std::uint8_t raw) {
    for (const CodeMapping& mapping : mappingOf(command))
        if (mapping.raw == raw)
            return mapping.index;
    return UndefinedIndex;
}

std::vector<std::uint8_t> replyPayload(std::span<const std::uint8_t> reply) {
    constexpr std::size_t PayloadStart = 4;
    const int length = reply.size() > 1 ? reply[1] - 2 : 0;
    std::vector<std::uint8_t> payload(static_cast<std::size_t>(std::max(length, 0)), 0);
    for (std::size_t i = 0; i < payload.size() && PayloadStart + i < reply.size(); ++i)
        payload[i] = reply[PayloadStart + i];
    return payload;
}

std::span<const std::uint8_t> withoutTunnelHeader(std::span<const std::uint8_t> reply) {
    constexpr std::size_t TunnelHeader = 11;
    return reply.size() > TunnelHeader ? reply.subspan(TunnelHeader) : std::span<const std::uint8_t>{};
}

} // namespace korvan
