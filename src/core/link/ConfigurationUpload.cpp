#include "link/ConfigurationUpload.h"

#include "base/Prompt.h"
#include "link/CommandRestore.h"
#include "link/GatewayLink.h"
#include "link/LinkFailureReport.h"
#include "link/LinkMessages.h"
#include "link/NetworkSideLink.h"
#include "link/SegmentTable.h"
#include "link/UploadFrames.h"
#include "model/CHartbus.h"
#include "model/CProductTarn.h"
#include "model/CProfilebus.h"
#include "model/CommandItems.h"
#include "os/FreedMemory.h"

#include <memory>
#include <utility>
#include <vector>

namespace korvan {
namespace {

constexpr std::uint8_t channelReadType = 0x06;
constexpr std::uint8_t commandReadType = 0x07;
constexpr std::size_t channelAnswerTcp = 26;
constexpr std::size_t commandAnswerTcp = 280;
constexpr std::size_t countAnswerTcp = 160;
// The tunnel answer carries 3 bytes of private header before the table bytes at byte 14.
constexpr std::size_t tableAnswerTcpBase = 15;

LinkRequest readRequest(Bytes frame, std::uint8_t transaction, std::uint8_t frameType, std::size_t tcpLength,
                        std::size_t serialLength, int timeoutMs) {
    LinkRequest request;
    request.frame = std::move(frame);
    request.transaction = transaction;
    request.frameType = frameType;
    request.tcpAnswerLength = tcpLength;
    request.serialAnswerLength = serialLength;
    request.receiveTimeoutMs = timeoutMs;
    request.sendTimeoutMs = timeoutMs;
    request.serialPauseMs = 0; // the upload's reads only wait the read's own 50 ms
    return request;
}

} // namespace

ConfigurationUpload::ConfigurationUpload(CProductTarn& product, GatewayLink& link, Prompt& prompt,
                                         OperationContext context)
    : product_(product), link_(link), prompt_(prompt), context_(std::move(context)) {}

void ConfigurationUpload::frameDone() {
    ++framesDone_;
    context_.reportProgress(framesDone_, std::max(frameTotal_, framesDone_));
}

ResultCode ConfigurationUpload::failure(LinkFailure what) const {
    return reportLinkFailure(what, prompt_);
}

// The buses an upload reads into, each beside the bus of the open project it replaces. The
// network side starts as a copy of the open one, since the Ethernet read changes only some of
// its items; a channel starts empty, as the upload rebuilds it whole.
struct ConfigurationUpload::StagedBuses {
    ObjectRegistries& registries;
    std::vector<std::pair<CProfilebus*, std::unique_ptr<CProfilebus>>> networkSides;
    std::vector<std::pair<CHartbus*, std::unique_ptr<CHartbus>>> channels;

    CProfilebus& stage(CProfilebus& open) {
        auto& staged = networkSides.emplace_back(&open, std::make_unique<CProfilebus>(registries)).second;
        staged->copyContents(open);
        return *staged;
    }
    CHartbus& stage(CHartbus& open) {
        auto& staged = channels.emplace_back(&open, std::make_unique<CHartbus>(registries)).second;
        staged->setChannelIndex(open.channelIndex());
        return *staged;
    }
    void takeOver() {
        for (auto& [open, staged] : networkSides)
            open->swapContents(*staged);
        for (auto& [open, staged] : channels)
            open->swapContents(*staged);
    }
};

// A block of the other protocol would give a project that the same model refuses to open
// (a serial block read for a TCP model, or the Ethernet block for the serial model): the
// upload is refused as the file would be.
ResultCode ConfigurationUpload::checkProtocol(const CProfilebus& networkSide) {
    if (protocolFitsModel(networkSide.mode(), product_.gatewayModel()))
        return ResultCode::Success;
    prompt_.message(protocolMismatchMessage);
    reportedHere_ = true;
    return ResultCode::VersionMismatch;
}

ReportedResult ConfigurationUpload::uploadAll() {
    framesDone_ = 0;
    reportedHere_ = false;
    notes_.clear();
    // The command counts are known only from the channel records: the total grows as they come.
    frameTotal_ = 1 + static_cast<int>(product_.channelCount());
    ResultCode result = ResultCode::Success;
    {
        StagedBuses staged{product_.registries(), {}, {}};
        result = uploadStaged(staged);
        if (succeeded(result))
            staged.takeOver();
    }
    if (succeeded(result))
        for (const std::string& note : notes_)
            prompt_.message(note);
    // The contents the upload replaced, or all it read when it failed, are freed at once.
    product_.releaseUnused();
    os::returnFreedMemory();
    if (result == ResultCode::Stopped) {
        link_.close();
        return {result, false};
    }
    // Over Ethernet a failure is told where it happens, by the link's message, or by nothing
    // at all for a record that fails its check: the upload dialog adds no message of its own.
    return {result, !succeeded(result) && (link_.isEthernet() || reportedHere_)};
}

ResultCode ConfigurationUpload::uploadStaged(StagedBuses& staged) {
    for (COrlaBus* bus : product_.buses()) {
        if (context_.stopRequested())
            return ResultCode::Stopped;
        ResultCode result = ResultCode::Success;
        if (bus->isKindOf(CProfilebus::classCProfilebus)) {
            CProfilebus& networkSide = staged.stage(static_cast<CProfilebus&>(*bus));
            result = uploadNetworkSide(networkSide, link_, prompt_, context_);
            frameDone();
            if (succeeded(result))
                result = checkProtocol(networkSide);
        } else if (bus->isKindOf(CHartbus::classCHartbus)) {
            CHartbus& channel = staged.stage(static_cast<CHartbus&>(*bus));
            result = uploadChannel(channel);
            if (succeeded(result))
                for (std::string& note : misplacedNodes(channel))
                    notes_.push_back(std::move(note));
        } else {
            prompt_.message(link_text::unknownBusType);
        }
        if (!succeeded(result))
            return result;
    }
    return ResultCode::Success;
}

ResultCode ConfigurationUpload::uploadChannel(CHartbus& channel) {
    if (context_.stopRequested())
        return ResultCode::Stopped;
    channel.initialise();
    const auto index = static_cast<std::uint8_t>(channel.channelIndex());
    const LinkReply reply = link_.exchange(readRequest(channelRecordRequest(index), 1, channelReadType,
                                                       channelAnswerTcp, channelRecordLength, 1000));
    frameDone();
    if (reply.failed())
        return failure(reply.failure);
    const std::optional<int> commands = applyChannelRecord(channel, reply.answer);
    if (!commands)
        return ResultCode::UploadCheckError;
    frameTotal_ += *commands;
    for (int i = 0; i < *commands; ++i)
        if (const ResultCode result = uploadCommand(channel, static_cast<std::uint8_t>(i));
            !succeeded(result))
            return result;
    return ResultCode::Success;
}

ResultCode ConfigurationUpload::uploadCommand(CHartbus& channel, std::uint8_t i) {
    const auto index = static_cast<std::uint8_t>(channel.channelIndex());
    const auto transaction = static_cast<std::uint8_t>(2 + i);
    if (context_.stopRequested())
        return ResultCode::Stopped;
    if (const LinkFailure opened = link_.beginSession(3000, 3000); opened != LinkFailure::None)
        return failure(opened);
    const LinkReply reply =
        link_.exchange(readRequest(commandRecordRequest(index, i), transaction, commandReadType,
                                   commandAnswerTcp, commandRecordLength, 3000));
    frameDone();
    if (reply.failed())
        return failure(reply.failure);
    const std::optional<CommandFields> record = decodeCommandRecord(reply.answer);
    if (!record) {
        link_.endSession();
        return ResultCode::UploadCheckError;
    }
    if (!record->advanced) {
        link_.endSession();
        restoreBasicCommand(channel, product_.registries(), *record);
        return ResultCode::Success;
    }
    if (reply.answer[0] != 0x04 || !hasValidChecksum(std::span(reply.answer).first(commandRecordLength))) {
        link_.endSession();
        return ResultCode::UploadCheckError;
    }
    std::vector<SegmentRecord> segments;
    const ResultCode read =
        readSegments(index, static_cast<std::uint8_t>(transaction + 1), record->tableOffset, segments);
    link_.endSession();
    if (!succeeded(read))
        return read;
    restoreAdvancedCommand(channel, product_.registries(), *record, segments);
    return ResultCode::Success;
}

ResultCode ConfigurationUpload::readSegments(std::uint8_t channel, std::uint8_t transaction,
                                             std::uint16_t offset, std::vector<SegmentRecord>& segments) {
    if (context_.stopRequested())
        return ResultCode::Stopped;
    const LinkReply count =
        link_.exchange(readRequest(tableReadRequest(channel, offset, 1), transaction, commandReadType,
                                   countAnswerTcp, tableReplyHeader + 2, 3000));
    if (count.failed())
        return failure(count.failure);
    // A count the command cannot hold, or a reply too short to carry it, is a failed check.
    if (count.answer.size() < tableReplyHeader + 1 ||
        count.answer[tableReplyHeader] > command_item::SegmentRecordCount)
        return ResultCode::UploadCheckError;
    const std::size_t n = count.answer[tableReplyHeader];
    if (context_.stopRequested())
        return ResultCode::Stopped;
    const LinkReply records = link_.exchange(readRequest(
        tableReadRequest(channel, static_cast<std::uint16_t>(offset + 1), static_cast<std::uint8_t>(4 * n)),
        transaction, commandReadType, tableAnswerTcpBase + 4 * n, tableReplyHeader + 1 + 4 * n, 3000));
    if (records.failed())
        return failure(records.failure);
    if (records.answer.size() < tableReplyHeader + 4 * n)
        return ResultCode::UploadCheckError;
    for (std::size_t k = 0; k < n; ++k)
        segments.push_back(
            decodeSegmentRecord(std::span(records.answer).subspan(tableReplyHeader + 4 * k).first<4>()));
    return ResultCode::Success;
}

} // namespace korvan
