#pragma once

#include "app/GridRow.h"
#include "base/ResultCode.h"
#include "model/ObjectHolder.h"
#include "model/TreeTag.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvan {

class AdvancedConfiguration;
class AdvancedSelectionTable;
class CProductTarn;
class Prompt;
struct AppState;

// The parameter grid's rules over the model: which rows the selected tree item shows, what a
// click opens, how a typed or picked value is checked, stored and followed by its derived
// items and dependencies, the Basic/Advanced switch of a command, and the open-and-store
// sequence of the Advanced configuration. The grid widget draws rows() and forwards clicks.
// The objects it shows stay alive while it shows them, also across a new project, a load or
// an upload that replaces them; it must not outlive the product.
class ParameterGrid : private ObjectHolder {
public:
    // Shows the Advanced Configuration dialog modally over the prepared state.
    using AdvancedDialog = std::function<void(AdvancedConfiguration&)>;

    // The selection table is the project document's working copy of the Advanced
    // configurations, shared with the Advanced Configuration dialog.
    ParameterGrid(CProductTarn& product, AppState& state, Prompt& prompt, AdvancedSelectionTable& selection);

    void show(const TreeTag& tag, const std::string& label);
    void clear();

    [[nodiscard]] const std::vector<GridRow>& rows() const { return rows_; }
    [[nodiscard]] const std::string& annotation() const { return annotation_; }
    [[nodiscard]] bool showsAdvancedLayout() const;
    // The selected command's HART number, from its label ("Command ID48" gives 48).
    [[nodiscard]] int currentHartCommand() const { return hartCommand_; }

    // A click on (row, column): the annotation shows the help text, and the answer says
    // which editor opens.
    CellAction clickCell(int row, int column);
    // The edit box lost the focus with this text (for the row last clicked).
    ResultCode commitText(std::string_view text);
    // A list entry was picked (nothing: no entry selected).
    ListCommitEffect commitChoice(std::optional<std::string> choice);
    // Row 6 of a command in Advanced layout was clicked: loads the stored segments, shows the
    // dialog, stores the selection back.
    void openAdvancedConfiguration(const AdvancedDialog& dialog);

private:
    void markHeld(ReachableObjects& reachable) const override;
    void fillCommandRows();
    void fillItemRows(const std::vector<COrlaItem*>& items);
    void applyNetworkFlags();
    [[nodiscard]] COrlaItem* clickedItem() const;
    ResultCode validateText(std::string_view text) const;
    void writeDerived(int row);
    ListCommitEffect applyChoice(COrlaItem& item, const std::string& choice);
    ListCommitEffect switchToAdvanced(COrlaItem& item);
    ListCommitEffect switchToBasic(COrlaItem& item);
    void redraw();

    CProductTarn& product_;
    AppState& state_;
    Prompt& prompt_;
    AdvancedSelectionTable& selection_;
    std::optional<TreeTag> tag_;
    std::vector<GridRow> rows_;
    std::string annotation_;
    int hartCommand_ = -1;
    int clickedRow_ = -1;
    std::string rowZeroAtClick_;
    bool relabelBasicRows_ = false;
};

} // namespace korvan
