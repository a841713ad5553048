#include "hart/DecodedReply.h"

#include "hart/HartReply.h"

#include <algorithm>

namespace korvan {

DecodedReply::DecodedReply(int command, std::span<const std::uint8_t> payload)
    : command_(command), bytes_(static_cast<std::size_t>(commandReplySize(command)), 0) {
    if (bytes_.empty())
        return;
    bytes_[0] = payload.empty() ? 0 : payload[0];
    if (bytes_[0] != 0)
        return;
    const std::size_t kept = std::min(payload.size(), bytes_.size());
    std::copy_n(payload.begin(), kept, bytes_.begin());
    if (bytes_.size() > 1)
        bytes_[1] = mapResponseCode(command, payload.size() > 1 ? payload[1] : 0);
}

DecodedReply DecodedReply::zero(int command) {
    DecodedReply reply;
    reply.command_ = command;
    reply.bytes_.assign(static_cast<std::size_t>(commandReplySize(command)), 0);
    return reply;
}

std::vector<std::uint8_t> DecodedReply::dataBytes(int start, int count) const {
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < count; ++i)
        bytes.push_back(data(start + i));
    return bytes;
}

} // namespace korvan
