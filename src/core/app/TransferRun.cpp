#include "app/TransferRun.h"

#include "app/AppState.h"
#include "base/Prompt.h"
#include "link/ConfigurationDownload.h"
#include "link/ConfigurationFrames.h"
#include "link/ConfigurationUpload.h"
#include "link/DownloadRanges.h"
#include "link/GatewayLink.h"
#include "link/LinkMessages.h"
#include "mapping/ConflictCheck.h"
#include "model/CProductTarn.h"

#include <optional>

namespace korvan {
namespace {

bool dhcpRefused(const CProductTarn& product, Prompt& prompt) {
    if (!isTcpModel(product.gatewayModel()))
        return false;
    for (const COrlaItem* item : product.networkBus().ethernetItems()) {
        if (item->name() != "Assign IP Mode")
            continue;
        if (item->value() != "DHCP")
            return false;
        return prompt.ask(QuestionId::ContinueWithDhcp, link_text::dhcpQuestion, Buttons::YesNoCancel) !=
               Answer::Yes;
    }
    return false;
}

// Written and read before the identification; its answer's content is not looked at.
void sendSerialPreamble(GatewayLink& link) {
    if (link.serialWrite(serialPreambleFrame) != LinkFailure::None)
        return;
    const LinkReply head = link.serialRead(2);
    if (head.answer.size() == 2)
        (void)link.serialRead(static_cast<std::size_t>(head.answer[1]) + 1);
}

// The end of a transfer that did not succeed: the result's message, unless the step that
// failed has told the engineer already.
TransferOutcome ended(ReportedResult result, Prompt& prompt) {
    reportResult(result.code, !result.reported, prompt);
    const bool stopped = result.code == ResultCode::Stopped;
    return {stopped ? TransferEnd::Stopped : TransferEnd::Failed, result.code, false};
}

// A stop seen before the serial line's own exchanges: nothing more goes out.
std::optional<TransferOutcome> stopSeen(const OperationContext& context, GatewayLink& link, Prompt& prompt) {
    if (!context.stopRequested())
        return std::nullopt;
    link.close();
    return ended({ResultCode::Stopped, false}, prompt);
}

TransferOutcome openSerial(GatewayLink& link, Prompt& prompt) {
    if (const ResultCode opened = link.open(); !succeeded(opened)) {
        prompt.message(link_text::openPortFailed);
        return {TransferEnd::Cancelled, opened, false};
    }
    return {TransferEnd::Done, ResultCode::Success, false};
}

} // namespace

ResultCode identifyGateway(GatewayLink& link, Prompt& prompt, bool& typeMismatch) {
    typeMismatch = false;
    if (const LinkFailure written = link.serialWrite(identificationFrame); written != LinkFailure::None)
        return ResultCode::SerialReadFailed;
    const LinkReply reply = link.serialRead(identificationAnswerLength);
    if (reply.failed())
        return ResultCode::SerialReadFailed;
    if (reply.answer.size() < 3 || reply.answer[2] != serialGatewayType) {
        prompt.message(link_text::deviceTypeMismatch);
        typeMismatch = true;
    }
    return ResultCode::Success;
}

namespace {

// Identifies the gateway on the serial line; an outcome when the transfer ends there.
std::optional<TransferOutcome> identifySerialGateway(GatewayLink& link, Prompt& prompt,
                                                     const OperationContext& context) {
    if (auto stopped = stopSeen(context, link, prompt))
        return stopped;
    bool mismatch = false;
    if (const ResultCode identified = identifyGateway(link, prompt, mismatch); !succeeded(identified)) {
        link.close();
        return ended({identified, false}, prompt);
    }
    if (mismatch) {
        link.close();
        return TransferOutcome{TransferEnd::Cancelled, ResultCode::Success, false};
    }
    return std::nullopt;
}

} // namespace

TransferOutcome runDownload(CProductTarn& product, GatewayLink& link, Prompt& prompt,
                            const OperationContext& context) {
    const bool serial = !link.isEthernet();
    if (serial)
        if (TransferOutcome opened = openSerial(link, prompt); opened.end != TransferEnd::Done)
            return opened;
    if (hasMappingConflict(product)) {
        prompt.message(link_text::mappingConflicts);
        link.close();
        return {TransferEnd::Refused, ResultCode::MemoryConflict, true};
    }
    if (const auto unsendable = unsendableValue(product)) {
        prompt.message(*unsendable);
        link.close();
        return {TransferEnd::Refused, ResultCode::OutOfRange, false};
    }
    if (!serial && dhcpRefused(product, prompt))
        return {TransferEnd::Refused, ResultCode::Success, false};
    if (serial) {
        if (auto stopped = stopSeen(context, link, prompt))
            return *stopped;
        sendSerialPreamble(link);
        if (const auto identified = identifySerialGateway(link, prompt, context))
            return *identified;
    }
    ConfigurationDownload download(product, link, prompt, context);
    const ReportedResult result = download.downloadAll();
    link.close();
    if (!succeeded(result.code))
        return ended(result, prompt);
    return {TransferEnd::Done, ResultCode::Success, false};
}

TransferOutcome runUpload(CProductTarn& product, AppState& state, GatewayLink& link, Prompt& prompt,
                          const OperationContext& context) {
    if (!link.isEthernet()) {
        if (TransferOutcome opened = openSerial(link, prompt); opened.end != TransferEnd::Done)
            return opened;
        if (const auto identified = identifySerialGateway(link, prompt, context))
            return *identified;
    }
    ConfigurationUpload upload(product, link, prompt, context);
    const ReportedResult result = upload.uploadAll();
    link.close();
    if (!succeeded(result.code))
        return ended(result, prompt);
    state.projectDirty = true;
    prompt.message(link_text::uploadSucceeded);
    return {TransferEnd::Done, ResultCode::Success, false};
}

} // namespace korvan
