#include "CommandTable.h"
#include "Commands.h"
#include "ExitCode.h"
#include "StderrPrompt.h"

#include "app/AppState.h"
#include "app/StartSequence.h"
#include "link/LinkMessages.h"
#include "link/SerialGatewayLink.h"
#include "link/TcpGatewayLink.h"
#include "link/TransferRun.h"
#include "model/CProductTarn.h"
#include "os/FileSystem.h"
#include "projectfile/ProjectFile.h"

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
    Answer ask(std::string_view text, Buttons buttons) override {
        const bool yes = text == link_text::dhcpQuestion ? continueWithDhcp_
                                                         : text == link_text::remoteResetQuestion && reset_;
        inner_.setAnswer(yes ? Answer::Yes : Answer::No);
        return inner_.ask(text, buttons);
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
        return toInt(outcome.code);
    case TransferEnd::Refused:
        return outcome.mappingConflict ? ExitMappingConflict : ExitFailure;
    case TransferEnd::Cancelled:
        return succeeded(outcome.code) ? ExitFailure : toInt(outcome.code);
    }
    return ExitFailure;
}

} // namespace

int runDownload(CliContext& context) {
    const CommandArguments arguments(context.invocation.arguments, {}, {"--yes", "--reset", "--no-reset"});
    arguments.expectPositional(1);
    if (arguments.flag("--reset") && arguments.flag("--no-reset"))
        throw UsageError{"--reset and --no-reset exclude each other"};
    const GatewayModel model = context.requireModel();
    std::unique_ptr<GatewayLink> link = linkFor(context.invocation);
    const std::string& path = arguments.positional()[0];
    if (!os::fileExists(path)) {
        context.prompt.message("File not exisit");
        return ExitBadProject;
    }
    AppState state;
    CProductTarn product;
    startProduct(state, product, model);
    if (const LoadResult loaded = loadFromFile(product, state, context.prompt, path); !loaded.ok()) {
        context.prompt.message(loaded.message);
        return ExitBadProject;
    }
    TransferPrompt prompt(context.prompt, arguments.flag("--yes"), arguments.flag("--reset"));
    return exitStatusOf(korvan::runDownload(product, *link, prompt));
}

int runUpload(CliContext& context) {
    const CommandArguments arguments(context.invocation.arguments, {"-o"}, {});
    arguments.expectPositional(0);
    const auto output = arguments.value("-o");
    if (!output)
        throw UsageError{"upload needs -o FILE"};
    const GatewayModel model = context.requireModel();
    std::unique_ptr<GatewayLink> link = linkFor(context.invocation);
    AppState state;
    CProductTarn product;
    startProduct(state, product, model);
    const TransferOutcome outcome = korvan::runUpload(product, state, *link, context.prompt);
    if (outcome.end != TransferEnd::Done)
        return exitStatusOf(outcome);
    if (const SaveResult saved = saveToFile(product, *output); !saved.ok) {
        context.prompt.message(saved.message);
        return ExitFailure;
    }
    return ExitOk;
}

} // namespace korvan::cli
