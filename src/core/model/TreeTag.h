#pragma once

namespace korvan {

class CHartbus;
class COrlaCommand;
class COrlaNode;
class CProfilebus;

// The kind of a project tree item, with the codes the tree tags carry.
enum class TreeItemKind : int {
    None = 0,
    Command = 2,
    Node = 3,
    NetworkBus = 4,
    Channel = 5,
};

// What a project tree item stands for: its kind and model object, with the channel and node
// it sits under, so that an edit finds its parents without searching.
struct TreeTag {
    TreeItemKind kind = TreeItemKind::None;
    CProfilebus* network = nullptr;
    CHartbus* channel = nullptr;
    COrlaNode* node = nullptr;
    COrlaCommand* command = nullptr;

    friend bool operator==(const TreeTag&, const TreeTag&) = default;
};

} // namespace korvan
