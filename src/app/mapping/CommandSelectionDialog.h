#pragma once

#include "app/ProjectTreeEditor.h"

#include <QDialog>
#include <optional>

class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace korvan {
class CommandSelection;
class Prompt;
} // namespace korvan

namespace korvan::gui {

// "Select the command": the offered and chosen HART commands of a node, over the core's
// CommandSelection. The two lists show the core's lists; each entry carries its command
// number in Qt::UserRole, so entries are told apart by number, not by text.
class CommandSelectionDialog : public QDialog {
    Q_OBJECT
public:
    CommandSelectionDialog(CommandSelection& selection, Prompt& prompt, QWidget* parent = nullptr);

    // ">>" and "<<": the selected entry of the left or the right list changes sides.
    void moveRight();
    void moveLeft();

private:
    void moveNumberRight(std::optional<int> number);
    void moveNumberLeft(std::optional<int> number);
    void showLists();
    void describeSelection(const QListWidget* list);

    CommandSelection& selection_;
    Prompt& prompt_;
    QListWidget* offered_ = nullptr;
    QListWidget* selected_ = nullptr;
    QPlainTextEdit* description_ = nullptr;
};

// Add Command's chooser: runs the dialog modally over `parent`; the chosen flags on OK.
[[nodiscard]] ProjectTreeEditor::CommandChooser commandChooser(QWidget* parent, Prompt& prompt);

} // namespace korvan::gui
