#pragma once

#include "app/NodeClipboard.h"
#include "app/TreeEnableFlags.h"
#include "model/ObjectHolder.h"
#include "model/TreeTag.h"

#include <array>
#include <functional>
#include <optional>
#include <string>

namespace korvan {

class CProductTarn;
class CommandSelection;
class Prompt;
struct AppState;

// The project tree's editing rules over the product, with the current selection as input:
// the enable rules, Add/Delete/Copy/Paste Node, Add/Delete Command and the node clipboard.
// The tree widget rebuilds itself from buildProjectTree() and shows selection(). The objects
// of the selection stay alive while it holds them, also across a new project, a load or an
// upload that replaces them; it must not outlive the product.
class ProjectTreeEditor : private ObjectHolder {
public:
    // Runs the command selection dialog; the chosen flags on OK, nothing on Cancel.
    using CommandChooser = std::function<std::optional<std::array<bool, 255>>(CommandSelection&)>;

    ProjectTreeEditor(CProductTarn& product, AppState& state, Prompt& prompt);

    // Selection change: a channel becomes the current channel; the enable rules run.
    void select(const TreeTag& tag, const std::string& label);
    // After new/template/open: nothing selected, every command off, the transfer flags reset.
    void resetSelection();

    [[nodiscard]] const std::optional<TreeTag>& selection() const { return selection_; }
    [[nodiscard]] const std::string& selectedLabel() const { return label_; }
    [[nodiscard]] const TreeEnableFlags& enableFlags() const { return flags_; }
    [[nodiscard]] const NodeClipboard& clipboard() const { return clipboard_; }

    bool addNode();
    bool deleteNode();
    bool addCommand(const CommandChooser& chooser);
    bool deleteCommand();
    bool copyNode();
    bool pasteNode();

    // Re-evaluates the enable rules for the current selection.
    void evaluateEnableRules();

private:
    void markHeld(ReachableObjects& reachable) const override;
    [[nodiscard]] bool isSelected(TreeItemKind kind) const;
    void selectQuietly(const TreeTag& tag);
    void resetSelectionOnly();

    CProductTarn& product_;
    AppState& state_;
    Prompt& prompt_;
    std::optional<TreeTag> selection_;
    std::string label_;
    TreeEnableFlags flags_;
    NodeClipboard clipboard_;
};

} // namespace korvan
