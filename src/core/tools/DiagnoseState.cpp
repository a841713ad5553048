#include "tools/DiagnoseState.h"

#include "hart/CommandSegments.h"
#include "hart/HartReply.h"
#include "model/COrlaCommand.h"
#include "model/COrlaNode.h"

namespace korvan {
namespace {

void dropCommands(std::vector<ProjectTreeItem>& items) {
    std::erase_if(items, [](const ProjectTreeItem& item) { return item.tag.kind == TreeItemKind::Command; });
    for (ProjectTreeItem& item : items)
        dropCommands(item.children);
}

} // namespace

std::vector<ProjectTreeItem> buildDiagnoseTree(CProductTarn& product) {
    std::vector<ProjectTreeItem> tree = buildProjectTree(product);
    dropCommands(tree);
    return tree;
}

std::optional<std::uint8_t> diagnoseChannelIndex(std::string_view channelName) {
    if (channelName.empty())
        return std::nullopt;
    const char last = channelName.back();
    if (last < '1' || last > '9')
        return std::nullopt;
    return static_cast<std::uint8_t>(last - '1');
}

void DiagnoseState::select(const TreeTag& tag, std::string_view channelName) {
    const auto channel = diagnoseChannelIndex(channelName);
    const bool isChannel = tag.kind == TreeItemKind::Channel;
    const bool isNode = tag.kind == TreeItemKind::Node && tag.node != nullptr;
    if ((!isChannel && !isNode) || !channel) {
        reads_ = DiagnoseRead::Nothing;
        node_ = nullptr;
        return;
    }
    reads_ = isChannel ? DiagnoseRead::Channel : DiagnoseRead::Node;
    channel_ = *channel;
    node_ = isNode ? tag.node : nullptr;
    refreshEnabled_ = true;
    resetEnabled_ = isChannel;
}

std::optional<CommandIoTarget> commandIoTarget(const COrlaNode& node, std::uint8_t channel, int hartCommand) {
    if (hartCommand < 0 || !isCommandIoCommand(hartCommand))
        return std::nullopt;
    const COrlaCommand* command = node.commandByNumber(static_cast<std::uint32_t>(hartCommand));
    if (command == nullptr)
        return std::nullopt;
    CommandIoTarget target;
    target.command = hartCommand;
    target.channel = channel;
    target.node = static_cast<std::uint8_t>(command->lookupKey());
    target.segments = configuredSegments(*command);
    if (target.segments.size() > MaxCommandIoSegments)
        target.segments.resize(MaxCommandIoSegments);
    return target;
}

} // namespace korvan
