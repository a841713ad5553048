#include "app/ProjectTreeEditor.h"

#include "app/AppState.h"
#include "app/EnableFlags.h"
#include "base/Prompt.h"
#include "mapping/CommandSelection.h"
#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"
#include "model/ReachableObjects.h"

#include <algorithm>

namespace korvan {
namespace {

// The item that takes the selection after one is deleted: the next sibling, else the
// previous one, else none.
template <class T> T* siblingAfterRemoval(const PtrList<T>& list, const T* removed) {
    const auto it = std::find(list.begin(), list.end(), removed);
    if (it == list.end())
        return nullptr;
    if (std::next(it) != list.end())
        return *std::next(it);
    return it != list.begin() ? *std::prev(it) : nullptr;
}

TreeTag channelTag(CHartbus* channel) {
    return {TreeItemKind::Channel, nullptr, channel, nullptr, nullptr};
}
TreeTag nodeTag(CHartbus* channel, COrlaNode* node) {
    return {TreeItemKind::Node, nullptr, channel, node, nullptr};
}

} // namespace

ProjectTreeEditor::ProjectTreeEditor(CProductTarn& product, AppState& state, Prompt& prompt)
    : ObjectHolder(product.registries()), product_(product), state_(state), prompt_(prompt) {}

void ProjectTreeEditor::markHeld(ReachableObjects& reachable) const {
    if (selection_)
        reachable.mark(*selection_);
}

bool ProjectTreeEditor::isSelected(TreeItemKind kind) const {
    return selection_ && selection_->kind == kind;
}

void ProjectTreeEditor::select(const TreeTag& tag, const std::string& label) {
    selection_ = tag;
    label_ = label;
    if (tag.kind == TreeItemKind::Channel && tag.channel != nullptr)
        product_.setCurrentChannel(tag.channel);
    evaluateEnableRules();
}

void ProjectTreeEditor::selectQuietly(const TreeTag& tag) {
    std::string label;
    if (tag.kind == TreeItemKind::Channel)
        label = tag.channel->busName();
    else if (tag.kind == TreeItemKind::Node)
        label = tag.node->nodeName();
    else if (tag.kind == TreeItemKind::Command)
        label = tag.command->commandName();
    select(tag, label);
}

void ProjectTreeEditor::resetSelectionOnly() {
    selection_.reset();
    label_.clear();
    evaluateEnableRules();
}

void ProjectTreeEditor::resetSelection() {
    selection_.reset();
    label_.clear();
    flags_ = {};
    enable_flags::projectTreeReset(state_);
}

// Paste and Add Command are judged on the channel that would receive the node or the
// commands, which for a selected node is its own channel, not the last channel selected.
void ProjectTreeEditor::evaluateEnableRules() {
    enable_flags::treeSelectionChanged(state_);
    flags_ = {};
    if (!selection_)
        return;
    const CHartbus* channel = selection_->channel;
    switch (selection_->kind) {
    case TreeItemKind::Channel:
        flags_.addNode = channel->canAddNode();
        flags_.pasteNode = clipboard_.hasNode() && channel->canAddNode();
        break;
    case TreeItemKind::Node:
        flags_.deleteNode = true;
        flags_.copyNode = true;
        flags_.pasteNode = clipboard_.hasNode() && channel->canAddNode();
        flags_.addCommand = channel->canAddCommand();
        break;
    case TreeItemKind::Command:
        flags_.deleteCommand = true;
        break;
    default:
        break;
    }
}

bool ProjectTreeEditor::addNode() {
    if (!isSelected(TreeItemKind::Channel) || !flags_.addNode)
        return false;
    state_.projectDirty = true;
    COrlaNode* node = selection_->channel->addNode();
    evaluateEnableRules();
    return node != nullptr;
}

// Deleting a node also renumbers the channel, so that the command indexes stay 0, 1, 2 ...
// without a gap.
bool ProjectTreeEditor::deleteNode() {
    if (!isSelected(TreeItemKind::Node))
        return false;
    state_.projectDirty = true;
    CHartbus* channel = selection_->channel;
    COrlaNode* node = selection_->node;
    COrlaNode* next = siblingAfterRemoval(channel->currentNodes(), node);
    if (!channel->removeNode(node))
        return false;
    channel->renumberChannelCommands();
    if (next != nullptr)
        selectQuietly(nodeTag(channel, next));
    else
        resetSelectionOnly();
    return true;
}

bool ProjectTreeEditor::addCommand(const CommandChooser& chooser) {
    if (!isSelected(TreeItemKind::Node) || !flags_.addCommand)
        return false;
    CHartbus* channel = selection_->channel;
    COrlaNode* node = selection_->node;
    CommandSelection selection(*node, channel->commandCount());
    const auto chosen = chooser(selection);
    state_.projectDirty = true;
    if (chosen) {
        for (unsigned number = 0; number < chosen->size(); ++number)
            if ((*chosen)[number])
                node->addHartCommand(product_.registries(), number);
        channel->renumberChannelCommands();
    }
    selectQuietly(channelTag(channel));
    return chosen.has_value();
}

bool ProjectTreeEditor::deleteCommand() {
    if (!isSelected(TreeItemKind::Command))
        return false;
    state_.projectDirty = true;
    CHartbus* channel = selection_->channel;
    COrlaNode* node = selection_->node;
    COrlaCommand* command = selection_->command;
    COrlaCommand* next = siblingAfterRemoval(node->commands(), command);
    if (!node->removeCommand(command))
        return false;
    if (next != nullptr)
        selectQuietly({TreeItemKind::Command, nullptr, channel, node, next});
    else
        resetSelectionOnly();
    channel->renumberChannelCommands();
    return true;
}

bool ProjectTreeEditor::copyNode() {
    if (!isSelected(TreeItemKind::Node))
        return false;
    clipboard_.copy(*selection_->node, label_);
    evaluateEnableRules();
    return true;
}

bool ProjectTreeEditor::pasteNode() {
    if (!selection_ ||
        (selection_->kind != TreeItemKind::Channel && selection_->kind != TreeItemKind::Node) ||
        !clipboard_.hasNode())
        return false;
    CHartbus* channel = selection_->channel;
    if (!channel->canAddNode()) {
        prompt_.message("The current node has more than 15, can not paste the node!");
        return false;
    }
    state_.projectDirty = true;
    const int total = channel->commandCount();
    COrlaNode* node = channel->addNode();
    if (node == nullptr)
        return false;
    // The pasted commands carry the source's command indexes; the channel is renumbered so
    // that no index repeats.
    if (clipboard_.pasteInto(*node, product_.registries(), total) > 0)
        channel->renumberChannelCommands();
    selectQuietly(channelTag(channel));
    return true;
}

} // namespace korvan
