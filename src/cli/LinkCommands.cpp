#include "CommandTable.h"
#include "Commands.h"
#include "ExitCode.h"
#include "ProjectLoading.h"
#include "StderrPrompt.h"
#include "StopOnSignals.h"
#include "app/AppState.h"
#include "app/StartSequence.h"
#include "app/TransferRun.h"
#include "base/Decimal.h"
#include "link/LinkMessages.h"
#include "link/SerialGatewayLink.h"
#include "link/TcpGatewayLink.h"
#include "model/CHartbus.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"
#include "network/GatewaySearch.h"
#include "os/FileSystem.h"
#include "os/Pause.h"
#include "tools/DiagnoseExchange.h"

#include <memory>
#include <ostream>

namespace korvan::cli {
namespace {

// Answers the download's two questions from their own flags: the DHCP question from --yes,
// the remote reset question from --reset. Everything is still printed by korvanctl's prompt.
class TransferPrompt : public Prompt {
public:
    TransferPrompt(StderrPrompt& inner, bool continueWithDhcp, bool reset)
        : inner_(inner), continueWithDhcp_(continueWithDhcp), reset_(reset) {}

    void message(std::string_view text) override { inner_.message(text); }
    Answer ask(QuestionId question, std::string_view text, Buttons buttons) override {
        const bool yes = question == QuestionId::ContinueWithDhcp
                             ? continueWithDhcp_
                             : question == QuestionId::RemoteReset && reset_;
        inner_.setAnswer(yes ? Answer::Yes : Answer::No);
        return inner_.ask(question, text, buttons);
    }
    std::optional<std::string> chooseSaveFile(const FileRequest& request) override {
        return inner_.chooseSaveFile(request);
    }

private:
    StderrPrompt& inner_;
    bool continueWithDhcp_;
    bool reset_;
};

std::unique_ptr<GatewayLink> linkFor(const Invocation& invocation) {
    if (invocation.gateway) {
        LinkSettings settings;
        settings.host = invocation.gateway->host;
        settings.configurationPort = invocation.gateway->port;
        settings.managementPort = invocation.managementPort;
        return std::make_unique<TcpGatewayLink>(settings);
    }
    if (invocation.serialDevice)
        return std::make_unique<SerialGatewayLink>(*invocation.serialDevice);
    throw UsageError{"'" + invocation.command + "' needs --gateway HOST[:PORT] or --serial DEVICE"};
}

int exitStatusOf(const TransferOutcome& outcome) {
    switch (outcome.end) {
    case TransferEnd::Done:
        return ExitOk;
    case TransferEnd::Failed:
    case TransferEnd::Stopped:
        return toInt(outcome.code);
    case TransferEnd::Refused:
        return outcome.mappingConflict ? ExitMappingConflict : ExitFailure;
    case TransferEnd::Cancelled:
        return succeeded(outcome.code) ? ExitFailure : toInt(outcome.code);
    }
    return ExitFailure;
}

constexpr int searchTimerMs = 300;

void printRecord(std::ostream& out, const CEquipment& record) {
    out << record.number << '\t' << record.model << '\t' << record.ipAddress << '\t' << record.macAddress
        << '\t' << record.firmwareVersion << '\t' << record.state << '\n';
}

int parseNumberOption(const std::optional<std::string>& text, const char* option, int low, int high) {
    if (!text || !isDigitsOnly(*text) || decimalValue(*text) < low || decimalValue(*text) > high)
        throw UsageError{std::string(option) + " needs a number from " + decimalText(low) + " to " +
                         decimalText(high)};
    return decimalValue(*text);
}

void printRows(std::ostream& out, const std::vector<DiagnoseRow>& rows) {
    for (const DiagnoseRow& row : rows)
        out << row.item << '\t' << row.value << '\n';
}

} // namespace

int runDownload(CliContext& context) {
    const CommandArguments arguments(context.invocation.arguments, {}, {"--yes", "--reset", "--no-reset"});
    arguments.expectPositional(1);
    if (arguments.flag("--reset") && arguments.flag("--no-reset"))
        throw UsageError{"--reset and --no-reset exclude each other"};
    std::unique_ptr<GatewayLink> link = linkFor(context.invocation);
    AppState state;
    CProductTarn product;
    if (!openProjectFile(context, state, product, arguments.positional()[0]))
        return ExitBadProject;
    TransferPrompt prompt(context.prompt, arguments.flag("--yes"), arguments.flag("--reset"));
    const StopOnSignals stop;
    return exitStatusOf(korvan::runDownload(product, *link, prompt, OperationContext(stop.token())));
}

int runUpload(CliContext& context) {
    const CommandArguments arguments(context.invocation.arguments, {"-o"}, {});
    arguments.expectPositional(0);
    const std::string output = arguments.required("-o", "FILE");
    const GatewayModel model = context.requireModel();
    std::unique_ptr<GatewayLink> link = linkFor(context.invocation);
    AppState state;
    CProductTarn product;
    startProduct(state, product, model);
    const TransferOutcome outcome = [&] {
        const StopOnSignals stop;
        return korvan::runUpload(product, state, *link, context.prompt, OperationContext(stop.token()));
    }();
    if (outcome.end != TransferEnd::Done)
        return exitStatusOf(outcome);
    return saveProjectFile(context, product, output);
}

} // namespace korvan::cli

namespace korvan::cli {

int runSearch(CliContext& context) {
    const CommandArguments arguments(context.invocation.arguments, {}, {});
    arguments.expectPositional(0);
    AppState state;
    state.model = context.requireModel();
    SearchSettings settings;
    settings.port = context.invocation.managementPort;
    if (context.invocation.gateway) {
        state.directAddress = true;
        state.gatewayIp = context.invocation.gateway->host;
    }
    GatewaySearch search(settings);
    search.open(state.directAddress, state.gatewayIp);
    // The dialog's timers, one per local address; the search ends itself after five ticks
    // per address at the latest. As a timer's, each tick comes one period after the request
    // before it, whose answers it reads without waiting.
    for (int round = 0; search.anyTimerRunning() && round <= 5 * static_cast<int>(search.timerCount());
         ++round) {
        os::pauseMilliseconds(searchTimerMs);
        for (std::size_t i = 0; i < search.timerCount(); ++i)
            (void)search.tick(i);
    }
    for (const CEquipment& record : search.shownRecords())
        printRecord(context.out, record);
    return ExitOk;
}

int runDiagnose(CliContext& context) {
    const CommandArguments arguments(context.invocation.arguments, {"--channel", "--node"}, {});
    arguments.expectPositional(0);
    const GatewayModel model = context.requireModel();
    const int channelNumber =
        parseNumberOption(arguments.value("--channel"), "--channel", 1, channelTotal(model));
    const auto nodeText = arguments.value("--node");
    const int nodeAddress = nodeText ? parseNumberOption(nodeText, "--node", 0, 15) : -1;
    std::unique_ptr<GatewayLink> link = linkFor(context.invocation);
    AppState state;
    CProductTarn product;
    startProduct(state, product, model);
    // As the Diagnose window, which opens after every upload attempt that was not cancelled:
    // the status is read even when the upload failed, and the exit status then tells that.
    const TransferOutcome uploaded = korvan::runUpload(product, state, *link, context.prompt);
    if (uploaded.end == TransferEnd::Cancelled || uploaded.end == TransferEnd::Refused ||
        uploaded.end == TransferEnd::Stopped)
        return exitStatusOf(uploaded);
    if (const ResultCode opened = link->open(); !succeeded(opened)) {
        context.prompt.message(link_text::openPortFailed);
        return toInt(opened);
    }
    const auto channel = static_cast<std::uint8_t>(channelNumber - 1);
    DiagnoseReading reading;
    if (nodeAddress < 0) {
        reading = readChannelStatus(*link, channel, context.prompt);
    } else {
        const CHartbus& bus = *product.channel(channel);
        const COrlaNode* node =
            COrlaBus::findNodeIn(bus.currentNodes(), static_cast<std::uint32_t>(nodeAddress));
        if (node == nullptr) {
            context.prompt.message(nodeNameFor(nodeAddress) + " is not configured on " + bus.busName());
            link->close();
            return ExitFailure;
        }
        reading = readNodeStatus(*link, channel, *node, context.prompt);
    }
    link->close();
    if (!reading.ok)
        return ExitFailure;
    printRows(context.out, reading.rows);
    return exitStatusOf(uploaded);
}

} // namespace korvan::cli
