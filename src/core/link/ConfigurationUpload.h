#pragma once

#include "base/OperationContext.h"
#include "base/ResultCode.h"
#include "link/ConfigurationFrames.h"
#include "link/LinkRequest.h"
#include "link/SegmentTable.h"

#include <string>
#include <vector>

namespace korvan {

class CHartbus;
class CProfilebus;
class CProductTarn;
class GatewayLink;
class Prompt;

// Reads the gateway's configuration back into the product: the network side's block, then
// per HART channel its record and every command, from which the channel's nodes and commands
// are rebuilt. Every length and count a reply gives is checked against what arrived. The
// context's progress is told after every record; a stop it requests ends the upload before
// the next exchange with Stopped, the link closed.
class ConfigurationUpload {
public:
    ConfigurationUpload(CProductTarn& product, GatewayLink& link, Prompt& prompt,
                        OperationContext context = {});

    // The configuration is read into objects of its own and the product takes it over only
    // when the whole upload succeeded: a failed upload leaves the open project as it was.
    // The objects the upload leaves unused are freed. A network side of the other protocol
    // than the model's is refused with the message a file of that protocol gets; nodes kept
    // outside their channel's mode (see restoreBasicCommand) are told after a success.
    [[nodiscard]] ReportedResult uploadAll();

private:
    struct StagedBuses;

    [[nodiscard]] ResultCode uploadStaged(StagedBuses& staged);
    [[nodiscard]] ResultCode uploadChannel(CHartbus& channel);
    [[nodiscard]] ResultCode uploadCommand(CHartbus& channel, std::uint8_t index);
    [[nodiscard]] ResultCode readSegments(std::uint8_t channel, std::uint8_t transaction,
                                          std::uint16_t offset, std::vector<SegmentRecord>& segments);
    [[nodiscard]] ResultCode failure(LinkFailure what) const;
    [[nodiscard]] ResultCode checkProtocol(const CProfilebus& networkSide);
    void frameDone();

    CProductTarn& product_;
    GatewayLink& link_;
    Prompt& prompt_;
    OperationContext context_;
    int framesDone_ = 0;
    int frameTotal_ = 0;
    bool reportedHere_ = false;      // a failure the upload has told the engineer itself
    std::vector<std::string> notes_; // told once the upload has succeeded
};

} // namespace korvan
