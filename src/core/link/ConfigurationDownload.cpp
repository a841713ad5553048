#include "link/ConfigurationDownload.h"

#include "base/Decimal.h"
#include "base/Prompt.h"
#include "link/ConfigurationFrames.h"
#include "link/DownloadRanges.h"
#include "link/GatewayLink.h"
#include "link/LinkFailureReport.h"
#include "link/LinkMessages.h"
#include "link/NetworkSideLink.h"
#include "link/TunnelFrame.h"
#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"
#include "model/CommandItems.h"

#include <string>

namespace korvan {
namespace {

constexpr int channelTimeoutMs = 1000;
constexpr int commandTimeoutMs = 3000;
constexpr std::size_t channelAnswerTcp = 15;
constexpr std::size_t commandAnswerTcp = 15;
constexpr std::size_t tableAnswerTcp = 14;
constexpr std::uint8_t configurationFrameType = 0x11;
constexpr std::uint8_t commandFrameType = 0x10;

const PtrList<COrlaNode>* downloadedNodes(const CHartbus& channel) {
    if (channel.mode() == PointToPointMode)
        return &channel.pointToPointNodes();
    if (channel.mode() == MultiDropMode)
        return &channel.multiDropNodes();
    return nullptr;
}

std::string numbered(std::string_view format, int number) {
    std::string text(format);
    if (const auto at = text.find("%d"); at != std::string::npos)
        text.replace(at, 2, decimalText(number));
    return text;
}

int serialBlockCount(std::size_t dataCount) {
    return static_cast<int>((dataCount + serialBlockData - 1) / serialBlockData);
}

} // namespace

ConfigurationDownload::ConfigurationDownload(CProductTarn& product, GatewayLink& link, Prompt& prompt,
                                             OperationContext context)
    : product_(product), link_(link), prompt_(prompt), context_(std::move(context)) {}

int ConfigurationDownload::frameTotal(const CProductTarn& product, bool ethernet) {
    int total = 1; // the network side's block
    for (const CHartbus* channel : product.channels()) {
        ++total;
        const PtrList<COrlaNode>* nodes = downloadedNodes(*channel);
        if (nodes == nullptr)
            continue;
        bool first = true;
        for (const COrlaNode* node : *nodes)
            for (const COrlaCommand* command : node->commands()) {
                ++total;
                if (!command->isAdvanced())
                    continue;
                const auto data = static_cast<std::size_t>(4 * command->segmentCount() + 1 + (first ? 4 : 0));
                total += ethernet ? 1 : serialBlockCount(data);
                first = false;
            }
    }
    return total;
}

void ConfigurationDownload::frameDone() {
    ++framesDone_;
    context_.reportProgress(framesDone_, frameTotal_);
}

ReportedResult ConfigurationDownload::downloadAll() {
    // The dialog's pre-check refuses such a project already; a direct caller is refused here,
    // before the first frame, as well.
    if (const auto unsendable = unsendableValue(product_)) {
        prompt_.message(*unsendable);
        return {ResultCode::OutOfRange, true};
    }
    const ResultCode result = downloadBuses();
    if (result == ResultCode::Stopped)
        link_.close();
    return {result, false};
}

ResultCode ConfigurationDownload::downloadBuses() {
    commandCounter_ = 0;
    framesDone_ = 0;
    frameTotal_ = frameTotal(product_, link_.isEthernet());
    for (COrlaBus* bus : product_.buses()) {
        if (context_.stopRequested())
            return ResultCode::Stopped;
        ResultCode result = ResultCode::Success;
        if (bus->isKindOf(CProfilebus::classCProfilebus)) {
            result = downloadNetworkSide(static_cast<CProfilebus&>(*bus), link_, prompt_, context_);
            frameDone();
        } else if (bus->isKindOf(CHartbus::classCHartbus)) {
            result = downloadChannel(static_cast<const CHartbus&>(*bus));
        } else {
            prompt_.message(link_text::unknownBusType);
        }
        if (!succeeded(result))
            return result;
    }
    // A stop seen here leaves the gateway unreset: the engineer is not asked any more.
    if (context_.stopRequested())
        return ResultCode::Stopped;
    if (prompt_.ask(QuestionId::RemoteReset, link_text::remoteResetQuestion, Buttons::YesNoCancel) ==
        Answer::Yes) {
        const ResultCode reset = remoteReset();
        if (!link_.isEthernet() || !succeeded(reset))
            return reset;
    }
    if (link_.isEthernet()) {
        if (context_.stopRequested())
            return ResultCode::Stopped;
        (void)identityExchange();
    }
    return ResultCode::Success;
}

ResultCode ConfigurationDownload::sendChannelFrame(const CHartbus& channel, std::uint8_t index) {
    LinkRequest request;
    request.frame = channelFrame(channel, index);
    request.transaction = 0x0001;
    request.frameType = configurationFrameType;
    request.tcpAnswerLength = channelAnswerTcp;
    request.serialAnswerLength = 4;
    request.receiveTimeoutMs = channelTimeoutMs;
    const LinkReply reply = link_.exchange(request);
    frameDone();
    if (reply.failed())
        return reportLinkFailure(reply.failure, prompt_);
    return checkAnswer(reply.answer, channelAcknowledgement(index));
}

ResultCode ConfigurationDownload::downloadChannel(const CHartbus& channel) {
    if (context_.stopRequested())
        return ResultCode::Stopped;
    ChannelState state;
    state.channel = static_cast<std::uint8_t>(channel.channelIndex());
    if (const ResultCode result = sendChannelFrame(channel, state.channel); !succeeded(result))
        return result;
    const PtrList<COrlaNode>* nodes = downloadedNodes(channel);
    if (nodes == nullptr)
        return ResultCode::Success;
    // A refused command ends the channel in both network modes: the gateway would otherwise
    // run a configuration it only half took.
    for (const COrlaNode* node : *nodes)
        for (const COrlaCommand* command : node->commands())
            if (const ResultCode result = downloadCommand(*command, node->address(), state);
                !succeeded(result))
                return result;
    if (const ResultCode result = sendTable(state); !succeeded(result))
        return result;
    if (!link_.isEthernet())
        closeSerialChannel();
    return ResultCode::Success;
}

ResultCode ConfigurationDownload::downloadCommand(const COrlaCommand& command, std::uint32_t address,
                                                  ChannelState& state) {
    CommandFields fields = commandFields(command, state.channel, state.sequence, address);
    // Advanced by the value shown, as the pre-check, the frame count and every view read it,
    // not by its place in the item's choice list, which a damaged file may lack or reorder.
    if (command.isAdvanced()) {
        const std::vector<SegmentRecord> segments = commandSegments(command);
        fields.advanced = true;
        fields.tableOffset = state.table.addCommand(segments);
    }
    if (context_.stopRequested())
        return ResultCode::Stopped;
    ++commandCounter_;
    LinkRequest request;
    request.frame = commandFrame(fields, !link_.isEthernet());
    request.transaction = static_cast<std::uint16_t>((state.sequence + 1) % 256);
    request.frameType = commandFrameType;
    request.tcpAnswerLength = commandAnswerTcp;
    request.serialAnswerLength = 4;
    request.receiveTimeoutMs = commandTimeoutMs;
    const LinkReply reply = link_.exchange(request);
    frameDone();
    if (reply.failure == LinkFailure::Receive) {
        prompt_.message(numbered(link_text::commandFailed, commandCounter_));
        prompt_.message(link_text::commandReadFails);
        return ResultCode::CheckError;
    }
    if (reply.failed())
        return reportLinkFailure(reply.failure, prompt_);
    if (const ResultCode result = checkAnswer(reply.answer, commandAcknowledgement(state.channel));
        !succeeded(result))
        return result;
    ++state.sequence;
    return ResultCode::Success;
}

ResultCode ConfigurationDownload::sendTable(const ChannelState& state) {
    for (const SegmentTable::Piece& piece : state.table.pieces()) {
        const Bytes frame = tableFrame(state.channel, piece.offset, piece.data);
        if (const ResultCode result = sendTablePiece(frame); !succeeded(result))
            return result;
    }
    return ResultCode::Success;
}

ResultCode ConfigurationDownload::sendTablePiece(std::span<const std::uint8_t> frame) {
    LinkRequest request;
    request.transaction = 0x0002;
    request.frameType = configurationFrameType;
    request.tcpAnswerLength = tableAnswerTcp;
    request.serialAnswerLength = tableAcknowledgement.size();
    request.receiveTimeoutMs = channelTimeoutMs;
    const std::vector<Bytes> frames =
        link_.isEthernet() ? std::vector<Bytes>{Bytes(frame.begin(), frame.end())} : serialBlocks(frame);
    for (const Bytes& each : frames) {
        if (context_.stopRequested())
            return ResultCode::Stopped;
        request.frame = each;
        const LinkReply reply = link_.exchange(request);
        frameDone();
        if (reply.failed())
            return reportLinkFailure(reply.failure, prompt_);
        if (const ResultCode result = checkAnswer(reply.answer, tableAcknowledgement); !succeeded(result))
            return result;
    }
    return ResultCode::Success;
}

void ConfigurationDownload::closeSerialChannel() {
    // The answer and the results are not used: the gateway only leaves its configuration state.
    // After a stop nothing more is written; the next bus ends the download.
    if (context_.stopRequested())
        return;
    if (link_.serialWrite(serialChannelEndFrame) != LinkFailure::None)
        return;
    const LinkReply head = link_.serialRead(2);
    if (head.answer.size() == 2)
        (void)link_.serialRead(static_cast<std::size_t>(head.answer[1]) + 1);
}

ResultCode ConfigurationDownload::remoteReset() {
    if (!link_.isEthernet())
        return link_.serialWrite(resetFrame) == LinkFailure::None ? ResultCode::Success
                                                                  : ResultCode::SerialReadFailed;
    LinkRequest request;
    request.frame.assign(resetFrame.begin(), resetFrame.end());
    request.transaction = 0x0000;
    request.frameType = configurationFrameType;
    request.receiveTimeoutMs = 1000;
    request.sendTimeoutMs = 1000;
    const LinkFailure failure = link_.sendOnly(request);
    if (failure == LinkFailure::Connect)
        prompt_.message(link_text::resetConnectFailed);
    return failure == LinkFailure::None ? ResultCode::Success : ResultCode::ResponseTimeout;
}

ResultCode ConfigurationDownload::identityExchange() {
    const auto request = identityRequest();
    const LinkReply reply = link_.managementExchange(request, 8, 16, 1000, 0);
    if (reply.failed())
        return reportLinkFailure(reply.failure, prompt_, managementWriteFailureMessages);
    if (!isIdentityAnswer(reply.answer)) {
        prompt_.message(link_text::readingConfigurationFailed);
        return ResultCode::TcpFailure;
    }
    return ResultCode::Success;
}

} // namespace korvan
