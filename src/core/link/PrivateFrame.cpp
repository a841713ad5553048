#include "link/PrivateFrame.h"

#include "base/Checksum.h"

#include <algorithm>

namespace korvan {

Bytes closeFrame(Bytes bytes) {
    bytes.push_back(linkChecksum(bytes));
    return bytes;
}

bool hasValidChecksum(std::span<const std::uint8_t> frame) {
    return frame.size() >= 2 && linkChecksum(frame.first(frame.size() - 1)) == frame.back();
}

ResultCode checkAnswer(std::span<const std::uint8_t> answer, std::span<const std::uint8_t> expected) {
    if (expected.empty() || answer.size() < expected.size() || answer[0] != expected[0])
        return ResultCode::UploadCheckError;
    const auto reply = answer.first(expected.size());
    if (!hasValidChecksum(reply) || !std::equal(reply.begin(), reply.end(), expected.begin()))
        return ResultCode::UploadCheckError;
    return ResultCode::Success;
}

} // namespace korvan
