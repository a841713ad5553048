#include "link/TunnelFrame.h"

#include <algorithm>

namespace korvan {

Bytes tunnelFrame(std::uint16_t transaction, std::uint8_t frameType,
                  std::span<const std::uint8_t> privateFrame) {
    // The length field counts from the unit byte: 8 header bytes after it plus the frame.
    const std::size_t rest = 8 + privateFrame.size();
    const std::uint8_t header[] = {static_cast<std::uint8_t>(transaction >> 8),
                                   static_cast<std::uint8_t>(transaction & 0xFF),
                                   0x00,
                                   0x00,
                                   static_cast<std::uint8_t>(rest >> 8),
                                   static_cast<std::uint8_t>(rest & 0xFF),
                                   0x01,
                                   0x03,
                                   0xFE,
                                   0x6F,
                                   0x00,
                                   frameType,
                                   0x0D,
                                   0x0D};
    Bytes frame;
    frame.reserve(sizeof header + privateFrame.size());
    frame.assign(std::begin(header), std::end(header));
    frame.insert(frame.end(), privateFrame.begin(), privateFrame.end());
    return frame;
}

std::optional<TunnelFields> parseTunnelFrame(std::span<const std::uint8_t> frame) {
    if (frame.size() < tunnelHeaderLength)
        return std::nullopt;
    const std::size_t rest = static_cast<std::size_t>(frame[4] << 8 | frame[5]);
    if (frame[2] != 0 || frame[3] != 0 || rest + 6 != frame.size() || frame[6] != 0x01 || frame[7] != 0x03 ||
        frame[8] != 0xFE || frame[9] != 0x6F || frame[12] != 0x0D || frame[13] != 0x0D)
        return std::nullopt;
    return TunnelFields{static_cast<std::uint16_t>(frame[0] << 8 | frame[1]), frame[11],
                        frame.subspan(tunnelHeaderLength)};
}

Bytes tunnelAnswer(std::uint16_t transaction, std::uint8_t frameType,
                   std::span<const std::uint8_t> privateAnswer, std::size_t length) {
    Bytes answer = tunnelFrame(transaction, frameType, {});
    answer.resize(tunnelAnswerOffset);
    answer.insert(answer.end(), privateAnswer.begin(), privateAnswer.end());
    answer.resize(std::max(length, tunnelAnswerOffset), 0);
    return answer;
}

} // namespace korvan
