#include "model/ProjectTreeItem.h"

#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"

namespace korvan {
namespace {

ProjectTreeItem channelItem(CHartbus& channel) {
    ProjectTreeItem item{{TreeItemKind::Channel, nullptr, &channel, nullptr, nullptr}, channel.busName(), {}};
    for (COrlaNode* node : channel.currentNodes()) {
        if (node == nullptr)
            continue;
        ProjectTreeItem nodeItem{
            {TreeItemKind::Node, nullptr, &channel, node, nullptr}, node->nodeName(), {}};
        for (COrlaCommand* command : node->commands())
            if (command != nullptr)
                nodeItem.children.push_back(
                    {{TreeItemKind::Command, nullptr, &channel, node, command}, command->commandName(), {}});
        item.children.push_back(std::move(nodeItem));
    }
    return item;
}

} // namespace

std::vector<ProjectTreeItem> buildProjectTree(CProductTarn& product) {
    std::vector<ProjectTreeItem> tree;
    tree.push_back(
        {{TreeItemKind::NetworkBus, &product.networkBus(), nullptr, nullptr, nullptr}, "Fieldbus", {}});
    for (CHartbus* channel : product.channels())
        if (channel != nullptr)
            tree.push_back(channelItem(*channel));
    return tree;
}

const ProjectTreeItem* findTreeItemByLabel(const std::vector<ProjectTreeItem>& tree,
                                           const std::string& label) {
    for (const ProjectTreeItem& item : tree) {
        if (item.label == label)
            return &item;
        if (const ProjectTreeItem* found = findTreeItemByLabel(item.children, label))
            return found;
    }
    return nullptr;
}

} // namespace korvan
