#include "mapping/CommandSelectionDialog.h"

#include "mapping/CommandSelection.h"

namespace korvan::gui {

// A placeholder until the dialog is built.
CommandSelectionDialog::CommandSelectionDialog(CommandSelection&, Prompt&, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Select the command"));
}

ProjectTreeEditor::CommandChooser commandChooser(QWidget* parent, Prompt& prompt) {
    return [parent, &prompt](CommandSelection& selection) -> std::optional<std::array<bool, 255>> {
        CommandSelectionDialog dialog(selection, prompt, parent);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return selection.chosen();
    };
}

} // namespace korvan::gui
