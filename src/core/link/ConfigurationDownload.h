#pragma once

#include "base/OperationContext.h"
#include "base/ResultCode.h"
#include "link/SegmentTable.h"

namespace korvan {

class CHartbus;
class COrlaCommand;
class CProductTarn;
class GatewayLink;
class Prompt;

// Writes the project into the gateway: the network side's block, then per HART channel its
// 'C' frame, one 'D' frame per command of the current mode's nodes and the pieces of the
// segment table; then the remote reset question and, on Ethernet, the identity exchange.
// The first failure ends the download with its result code; a project holding a value that
// does not fit its frame is refused before the first frame (see DownloadRanges.h). The context's progress is
// told after every frame; a stop it requests ends the download before the next frame with Stopped, the link
// closed.
class ConfigurationDownload {
public:
    ConfigurationDownload(CProductTarn& product, GatewayLink& link, Prompt& prompt,
                          OperationContext context = {});

    // A failure is never reported by the download itself: the link's messages only say where
    // it happened, and the result's own message is the caller's to show.
    [[nodiscard]] ReportedResult downloadAll();
    [[nodiscard]] ResultCode downloadChannel(const CHartbus& channel);
    [[nodiscard]] ResultCode remoteReset();
    [[nodiscard]] ResultCode identityExchange();

    // The frames a download of the product sends before the reset question.
    [[nodiscard]] static int frameTotal(const CProductTarn& product, bool ethernet);

private:
    struct ChannelState {
        std::uint8_t channel = 0;
        std::uint8_t sequence = 0;
        SegmentTable table;
    };

    [[nodiscard]] ResultCode downloadBuses();
    [[nodiscard]] ResultCode sendChannelFrame(const CHartbus& channel, std::uint8_t index);
    [[nodiscard]] ResultCode downloadCommand(const COrlaCommand& command, std::uint32_t address,
                                             ChannelState& state);
    [[nodiscard]] ResultCode sendTable(const ChannelState& state);
    [[nodiscard]] ResultCode sendTablePiece(std::span<const std::uint8_t> frame);
    void closeSerialChannel();
    void frameDone();

    CProductTarn& product_;
    GatewayLink& link_;
    Prompt& prompt_;
    OperationContext context_;
    int commandCounter_ = 0;
    int framesDone_ = 0;
    int frameTotal_ = 0;
};

} // namespace korvan
