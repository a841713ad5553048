#include "ProjectLoading.h"

#include "CommandTable.h"
#include "ExitCode.h"
#include "StderrPrompt.h"
#include "app/ProjectLoad.h"
#include "app/StartSequence.h"
#include "os/FileSystem.h"
#include "projectfile/ProjectFile.h"
#include "projectfile/ProjectFileModel.h"

#include <algorithm>
#include <cctype>

namespace korvan::cli {
namespace {

// "Channel2", "Channel2 and Channel3", "Channel1, Channel2 and Channel3" (or "or").
std::string channelList(const std::vector<int>& channels, std::string_view conjunction = "and") {
    std::string text;
    for (std::size_t i = 0; i < channels.size(); ++i) {
        if (i > 0)
            text += i + 1 == channels.size() ? " " + std::string(conjunction) + " " : std::string(", ");
        text += "Channel" + std::to_string(channels[i]);
    }
    return text;
}

// The model's name as --model takes it: "vela-3h-tcp".
std::string optionName(GatewayModel model) {
    std::string name(modelName(model));
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

// The model's channels the file holds no element for: a load leaves them without parameters.
std::vector<int> channelsMissing(const ProjectFileFacts& facts, GatewayModel model) {
    std::vector<int> missing;
    for (int channel = 1; channel <= channelTotal(model); ++channel)
        if (std::find(facts.channels.begin(), facts.channels.end(), channel) == facts.channels.end())
            missing.push_back(channel);
    return missing;
}

GatewayModel chooseModel(const CliContext& context, const ProjectFileFacts& facts, const std::string& path) {
    if (context.invocation.model)
        return *context.invocation.model;
    if (const auto inferred = inferredModel(facts))
        return *inferred;
    throw UsageError{"'" + path + "' does not say which gateway model it is for (its network side has " +
                     (facts.protocolMode ? "protocol mode " + std::to_string(*facts.protocolMode)
                                         : std::string("no protocol mode")) +
                     "): give --model"};
}

} // namespace

bool openProjectFile(CliContext& context, AppState& state, CProductTarn& product, const std::string& path) {
    if (!os::fileExists(path)) {
        context.prompt.message("File not exisit");
        context.note("cannot find the project file '" + path + "'");
        return false;
    }
    const ProjectFileFacts facts = readProjectFileFacts(path);
    if (!facts.isProject()) {
        context.prompt.message(facts.message);
        return false;
    }
    const GatewayModel model = chooseModel(context, facts, path);
    const std::optional<GatewayModel> fileModel = inferredModel(facts);
    const std::string useInstead =
        fileModel ? "leave --model out, or give --model " + optionName(*fileModel) : std::string();
    startProduct(state, product, model);
    const LoadResult loaded = loadProject(product, state, context.prompt, path);
    if (!loaded.ok()) {
        context.prompt.message(loaded.message);
        if (loaded.status == LoadStatus::ModelMismatch && fileModel)
            context.note("'" + path + "' is a " + std::string(modelName(*fileModel)) + " project, not a " +
                         std::string(modelName(model)) + " one: " + useInstead);
        return false;
    }
    if (const std::vector<int> beyond = channelsBeyondModel(facts, model); !beyond.empty()) {
        context.note("'" + path + "' holds " + channelList(beyond) + ", which a " +
                     std::string(modelName(model)) + " does not have (they would be lost)" +
                     (fileModel && *fileModel != model ? ": " + useInstead : std::string()));
        return false;
    }
    if (const std::vector<int> missing = channelsMissing(facts, model); !missing.empty())
        context.note("warning: '" + path + "' holds no " + channelList(missing, "or") + ": in this " +
                     std::string(modelName(model)) + " project " +
                     (missing.size() == 1 ? "it has" : "they have") + " no parameters");
    return true;
}

int saveProjectFile(CliContext& context, const CProductTarn& product, const std::string& path) {
    if (const SaveResult saved = saveToFile(product, path); !saved.ok) {
        context.prompt.message(saved.message);
        return ExitFailure;
    }
    return ExitOk;
}

} // namespace korvan::cli
