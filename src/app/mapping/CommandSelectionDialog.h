#pragma once

#include "app/ProjectTreeEditor.h"

#include <QDialog>

namespace korvan {
class CommandSelection;
class Prompt;
} // namespace korvan

namespace korvan::gui {

// "Select the command": the offered and chosen HART commands of a node, over the core's
// CommandSelection.
class CommandSelectionDialog : public QDialog {
    Q_OBJECT
public:
    CommandSelectionDialog(CommandSelection& selection, Prompt& prompt, QWidget* parent = nullptr);
};

// Add Command's chooser: runs the dialog modally over `parent`; the chosen flags on OK.
[[nodiscard]] ProjectTreeEditor::CommandChooser commandChooser(QWidget* parent, Prompt& prompt);

} // namespace korvan::gui
