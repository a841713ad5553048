#include "mapping/CommandSelectionDialog.h"

#include "mapping/CommandSelection.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

namespace korvan::gui {
namespace {

constexpr int NumberRole = Qt::UserRole;

int numberOf(const QListWidgetItem* item) {
    return item->data(NumberRole).toInt();
}

std::optional<int> selectedNumber(const QListWidget* list) {
    const QList<QListWidgetItem*> items = list->selectedItems();
    if (items.isEmpty())
        return std::nullopt;
    return numberOf(items.front());
}

QListWidgetItem* entryFor(int number) {
    auto* item = new QListWidgetItem(QString::fromStdString(CommandSelection::entryText(number)));
    item->setData(NumberRole, number);
    return item;
}

// Brings the list widget in line with the core's list by removing and inserting entries,
// so that the entries that stay keep their place, selection and scroll position.
void showNumbers(QListWidget* list, const std::vector<int>& numbers) {
    for (int row = list->count() - 1; row >= 0; --row)
        if (std::find(numbers.begin(), numbers.end(), numberOf(list->item(row))) == numbers.end())
            delete list->takeItem(row);
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        const int row = static_cast<int>(i);
        QListWidgetItem* item = list->item(row);
        if (item != nullptr && numberOf(item) == numbers[i])
            continue;
        // An entry further down with this number is out of order: it moves here.
        for (int later = row + 1; later < list->count(); ++later)
            if (numberOf(list->item(later)) == numbers[i]) {
                delete list->takeItem(later);
                break;
            }
        list->insertItem(row, entryFor(numbers[i]));
    }
}

QListWidget* commandList(const QString& caption) {
    auto* list = new QListWidget;
    list->setObjectName(caption);
    list->setAccessibleName(caption);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setMinimumSize(190, 260);
    return list;
}

QVBoxLayout* captioned(const QString& caption, QListWidget* list) {
    auto* column = new QVBoxLayout;
    auto* label = new QLabel(caption);
    label->setBuddy(list);
    column->addWidget(label);
    column->addWidget(list, 1);
    return column;
}

} // namespace

CommandSelectionDialog::CommandSelectionDialog(CommandSelection& selection, Prompt& prompt, QWidget* parent)
    : QDialog(parent), selection_(selection), prompt_(prompt) {
    setWindowTitle(QStringLiteral("Select the command"));
    setModal(true);

    offered_ = commandList(QStringLiteral("Command list"));
    selected_ = commandList(QStringLiteral("Selected command"));
    auto* right = new QPushButton(QStringLiteral(">>"));
    auto* left = new QPushButton(QStringLiteral("<<"));
    for (QPushButton* button : {right, left}) {
        button->setAccessibleName(button->text());
        button->setAutoDefault(false);
    }
    description_ = new QPlainTextEdit;
    description_->setObjectName(QStringLiteral("Description"));
    description_->setAccessibleName(QStringLiteral("Description"));
    description_->setReadOnly(true);
    description_->setFixedHeight(description_->fontMetrics().lineSpacing() * 4 + 12);

    auto* buttons = new QDialogButtonBox;
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);

    auto* arrows = new QVBoxLayout;
    arrows->addStretch();
    arrows->addWidget(right);
    arrows->addWidget(left);
    arrows->addStretch();

    auto* lists = new QHBoxLayout;
    lists->addLayout(captioned(QStringLiteral("Command list"), offered_), 1);
    lists->addLayout(arrows);
    lists->addLayout(captioned(QStringLiteral("Selected command"), selected_), 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addWidget(description_);
    layout->addWidget(buttons);

    connect(right, &QPushButton::clicked, this, &CommandSelectionDialog::moveRight);
    connect(left, &QPushButton::clicked, this, &CommandSelectionDialog::moveLeft);
    connect(offered_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { moveNumberRight(numberOf(item)); });
    connect(selected_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { moveNumberLeft(numberOf(item)); });
    for (QListWidget* list : {offered_, selected_})
        connect(list, &QListWidget::itemSelectionChanged, this, [this, list] { describeSelection(list); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    showLists();
}

void CommandSelectionDialog::moveRight() {
    moveNumberRight(selectedNumber(offered_));
}

void CommandSelectionDialog::moveLeft() {
    moveNumberLeft(selectedNumber(selected_));
}

void CommandSelectionDialog::moveNumberRight(std::optional<int> number) {
    selection_.moveRight(number, prompt_);
    showLists();
}

void CommandSelectionDialog::moveNumberLeft(std::optional<int> number) {
    selection_.moveLeft(number);
    showLists();
}

void CommandSelectionDialog::showLists() {
    showNumbers(offered_, selection_.offeredList());
    showNumbers(selected_, selection_.selectedList());
}

void CommandSelectionDialog::describeSelection(const QListWidget* list) {
    // An entry leaving its list takes its selection with it; the text stays until the
    // engineer selects another entry.
    if (const std::optional<int> number = selectedNumber(list)) {
        const std::string_view text = CommandSelection::description(*number);
        description_->setPlainText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }
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
