#include "link/SerialGatewayLink.h"

#include "os/Pause.h"

namespace korvan {
namespace {

// The line's time-outs: 200 ms between bytes, and 200 ms per byte plus 200 ms in all.
constexpr int byteIntervalMs = 200;
constexpr int perByteMs = 200;
constexpr int constantMs = 200;
constexpr int readWaitMs = 50;

int totalTimeMs(std::size_t n) {
    return perByteMs * static_cast<int>(std::min<std::size_t>(n, 1000)) + constantMs;
}

} // namespace

ResultCode SerialGatewayLink::open() {
    return port_.open(device_) ? ResultCode::Success : ResultCode::OpenPortFailed;
}

LinkFailure SerialGatewayLink::serialWrite(std::span<const std::uint8_t> bytes) {
    if (bytes.empty() || !port_.write(bytes, totalTimeMs(bytes.size()))) {
        port_.close();
        return LinkFailure::Write;
    }
    return LinkFailure::None;
}

bool SerialGatewayLink::serialWriteKeepOpen(std::span<const std::uint8_t> bytes) {
    return !bytes.empty() && port_.write(bytes, totalTimeMs(bytes.size()));
}

LinkReply SerialGatewayLink::serialRead(std::size_t n) {
    os::pauseMilliseconds(readWaitMs);
    // An answer not yet begun after the 50 ms wait gets the line's constant time-out to start:
    // the read ends at the expected length or a time-out, never at the first moment of quiet.
    if (port_.inputQueueLength() == 0 && !port_.waitReadable(constantMs)) {
        port_.close();
        return {LinkFailure::Read, {}};
    }
    // Reads on until the whole answer is in (or the line's time-outs pass): one read may
    // return only the part that has arrived so far.
    Bytes answer = port_.read(n, byteIntervalMs, totalTimeMs(n));
    if (answer.empty()) {
        port_.close();
        return {LinkFailure::Read, {}};
    }
    return {LinkFailure::None, std::move(answer)};
}

Bytes SerialGatewayLink::serialPollRead(std::size_t n) {
    os::pauseMilliseconds(readWaitMs);
    if (port_.inputQueueLength() == 0)
        return {};
    return port_.read(n, byteIntervalMs, totalTimeMs(n));
}

LinkReply SerialGatewayLink::exchange(const LinkRequest& request) {
    if (const LinkFailure failure = serialWrite(request.frame); failure != LinkFailure::None)
        return {failure, {}};
    os::pauseMilliseconds(request.serialPauseMs);
    return serialRead(request.serialAnswerLength);
}

} // namespace korvan
