#include "CommandTable.h"
#include "Commands.h"
#include "ExitCode.h"
#include "ProjectLoading.h"
#include "StderrPrompt.h"
#include "StopOnSignals.h"
#include "WatchedLink.h"
#include "app/AppState.h"
#include "app/StartSequence.h"
#include "app/TransferRun.h"
#include "base/Decimal.h"
#include "link/LinkMessages.h"
#include "model/CHartbus.h"
#include "model/COrlaItem.h"
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
// It remembers which of them were asked and the answers, for korvanctl's summary.
class TransferPrompt : public Prompt {
public:
    TransferPrompt(StderrPrompt& inner, bool continueWithDhcp, bool reset)
        : inner_(inner), continueWithDhcp_(continueWithDhcp), reset_(reset) {}

    void message(std::string_view text) override { inner_.message(text); }
    Answer ask(QuestionId question, std::string_view text, Buttons buttons) override {
        const bool yes = question == QuestionId::ContinueWithDhcp
                             ? continueWithDhcp_
                             : question == QuestionId::RemoteReset && reset_;
        if (question == QuestionId::ContinueWithDhcp)
            dhcpAsked_ = true;
        if (question == QuestionId::RemoteReset)
            resetAsked_ = true;
        inner_.setAnswer(yes ? Answer::Yes : Answer::No);
        return inner_.ask(question, text, buttons);
    }
    std::optional<std::string> chooseSaveFile(const FileRequest& request) override {
        return inner_.chooseSaveFile(request);
    }

    [[nodiscard]] bool dhcpAsked() const { return dhcpAsked_; }
    [[nodiscard]] bool resetAsked() const { return resetAsked_; }

private:
    StderrPrompt& inner_;
    bool continueWithDhcp_;
    bool reset_;
    bool dhcpAsked_ = false;
    bool resetAsked_ = false;
};

std::unique_ptr<WatchedLink> linkFor(const Invocation& invocation) {
    if (invocation.gateway) {
        LinkSettings settings;
        settings.host = invocation.gateway->host;
        settings.configurationPort = invocation.gateway->port;
        settings.managementPort = invocation.managementPort;
        return std::make_unique<WatchedLink>(settings);
    }
    if (invocation.serialDevice)
        return std::make_unique<WatchedLink>(*invocation.serialDevice);
    throw UsageError{"'" + invocation.command + "' needs --gateway HOST[:PORT] or --serial DEVICE"};
}

// The link options must fit the model a project file gave (as they must fit --model).
void requireFittingLink(const CliContext& context, GatewayModel model, const std::string& path) {
    GatewayOptions options = context.invocation;
    options.model = model;
    if (const std::string conflict = gatewayOptionsConflict(options); !conflict.empty())
        throw UsageError{"'" + path + "' is a " + std::string(modelName(model)) + " project: " + conflict};
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

// Which host, port or device a failed operation's message is about.
void noteLinkFailure(const CliContext& context, const WatchedLink& link) {
    if (const std::string failure = link.failureContext(); !failure.empty())
        context.note(failure);
}

const COrlaItem* networkItem(const CProductTarn& product, std::string_view name) {
    for (const COrlaItem* item : product.networkBus().ethernetItems())
        if (item->name() == name)
            return item;
    return nullptr;
}

// What a download did beyond its messages: the answers to its questions, whether the reset
// went out, and the address the project gave the gateway when it is not the one it was
// reached at.
void noteDownloadEnd(const CliContext& context, const TransferPrompt& prompt, bool resetAnswer,
                     const TransferOutcome& outcome, const CProductTarn& product, const std::string& path) {
    if (prompt.dhcpAsked() && outcome.end == TransferEnd::Refused && !outcome.mappingConflict)
        context.note("answered No to the DHCP question (--yes answers Yes): nothing was downloaded");
    if (prompt.resetAsked()) {
        if (!resetAnswer)
            context.note("answered No to the remote reset question (--reset answers Yes): no reset was sent");
        else if (outcome.end == TransferEnd::Done || outcome.end == TransferEnd::Stopped)
            context.note("answered Yes to the remote reset question (--reset): the reset was sent");
        else
            context.note("answered Yes to the remote reset question (--reset): the reset could not be sent");
    }
    if (outcome.end != TransferEnd::Done || !context.invocation.gateway)
        return;
    const COrlaItem* mode = networkItem(product, "Assign IP Mode");
    const COrlaItem* address = networkItem(product, "IP Address");
    if (mode == nullptr || address == nullptr || mode->value() != "Manually Assign" ||
        address->value() == context.invocation.gateway->host)
        return;
    context.note("the gateway was given the IP Address " + address->value() + " of '" + path +
                 "' (it was reached at " + context.invocation.gateway->host + ")");
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
    arguments.expectPositional(1, "FILE");
    if (arguments.flag("--reset") && arguments.flag("--no-reset"))
        throw UsageError{"--reset and --no-reset exclude each other"};
    const std::string& path = arguments.positional()[0];
    std::unique_ptr<WatchedLink> link = linkFor(context.invocation);
    AppState state;
    CProductTarn product;
    if (!openProjectFile(context, state, product, path))
        return ExitBadProject;
    requireFittingLink(context, state.model, path);
    TransferPrompt prompt(context.prompt, arguments.flag("--yes"), arguments.flag("--reset"));
    const TransferOutcome outcome = [&] {
        const StopOnSignals stop;
        return korvan::runDownload(product, *link, prompt, OperationContext(stop.token()));
    }();
    if (outcome.mappingConflict)
        noteMappingOverlaps(context, product);
    if (outcome.end == TransferEnd::Failed || outcome.end == TransferEnd::Cancelled)
        noteLinkFailure(context, *link);
    noteDownloadEnd(context, prompt, arguments.flag("--reset"), outcome, product, path);
    return exitStatusOf(outcome);
}

int runUpload(CliContext& context) {
    const CommandArguments arguments(context.invocation.arguments, {"-o"}, {});
    arguments.expectPositional(0);
    const std::string output = arguments.required("-o", "FILE");
    const GatewayModel model = context.requireModel();
    std::unique_ptr<WatchedLink> link = linkFor(context.invocation);
    AppState state;
    CProductTarn product;
    startProduct(state, product, model);
    const TransferOutcome outcome = [&] {
        const StopOnSignals stop;
        return korvan::runUpload(product, state, *link, context.prompt, OperationContext(stop.token()));
    }();
    if (outcome.end != TransferEnd::Done) {
        if (outcome.end == TransferEnd::Failed || outcome.end == TransferEnd::Cancelled)
            noteLinkFailure(context, *link);
        return exitStatusOf(outcome);
    }
    return saveProjectFile(context, product, output);
}

int runSearch(CliContext& context) {
    const CommandArguments arguments(context.invocation.arguments, {}, {});
    arguments.expectPositional(0);
    if (context.invocation.model && !isTcpModel(*context.invocation.model))
        throw UsageError{"search finds gateways on Ethernet; a Vela-3H-RTU is reached with --serial"};
    AppState state;
    if (context.invocation.model)
        state.model = *context.invocation.model;
    SearchSettings settings;
    // The search port: its own option, else the port --gateway names, else the management
    // port, whose number the gateway answers searches on.
    settings.port = context.invocation.searchPort.value_or(context.invocation.gateway &&
                                                                   context.invocation.gatewayPortGiven
                                                               ? context.invocation.gateway->port
                                                               : context.invocation.managementPort);
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
    const std::vector<CEquipment> found = search.shownRecords();
    for (const CEquipment& record : found)
        printRecord(context.out, record);
    if (found.empty()) {
        const std::string port = std::to_string(settings.port);
        if (state.directAddress)
            context.note("no gateway answered at " + state.gatewayIp + " on UDP port " + port);
        else if (search.timerCount() == 0)
            context.note("no search was sent: this computer has no IPv4 address to search from");
        else
            context.note("no gateway answered the broadcast on UDP port " + port);
        return ExitFailure;
    }
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
    std::unique_ptr<WatchedLink> link = linkFor(context.invocation);
    AppState state;
    CProductTarn product;
    startProduct(state, product, model);
    // As the Diagnose window, which opens after every upload attempt that was not cancelled:
    // the status is read even when the upload failed, and the exit status then tells that.
    const TransferOutcome uploaded = korvan::runUpload(product, state, *link, context.prompt);
    if (uploaded.end == TransferEnd::Cancelled || uploaded.end == TransferEnd::Refused ||
        uploaded.end == TransferEnd::Stopped) {
        noteLinkFailure(context, *link);
        return exitStatusOf(uploaded);
    }
    // The status read after a failed upload would repeat the upload's message.
    context.prompt.dropRepeatedMessages();
    if (const ResultCode opened = link->open(); !succeeded(opened)) {
        context.prompt.message(link_text::openPortFailed);
        noteLinkFailure(context, *link);
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
            std::string configured;
            for (const COrlaNode* other : bus.currentNodes())
                configured += (configured.empty() ? "" : ", ") + other->nodeName();
            context.note(
                nodeNameFor(nodeAddress) + " is not configured on " + bus.busName() + " of the gateway (" +
                (configured.empty() ? std::string("it has no device") : "it has " + configured) + ")");
            link->close();
            return ExitFailure;
        }
        reading = readNodeStatus(*link, channel, *node, context.prompt);
    }
    link->close();
    if (!reading.ok) {
        noteLinkFailure(context, *link);
        // A status that could not be read after a failed upload: the upload's result is the
        // link's, and its message was the one shown.
        return succeeded(uploaded.code) ? ExitFailure : toInt(uploaded.code);
    }
    printRows(context.out, reading.rows);
    if (!succeeded(uploaded.code))
        noteLinkFailure(context, *link);
    return exitStatusOf(uploaded);
}

} // namespace korvan::cli
