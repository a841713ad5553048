#include "project/ParameterGridView.h"

#include "model/COrlaItem.h"
#include "model/COrlaNode.h"
#include "project/ParameterGridModel.h"
#include "shell/Session.h"

#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <functional>

namespace korvan::gui {

// The drop-down list over a value cell; tells its view when the list closes, picked or not.
class GridChoiceList : public QComboBox {
public:
    using QComboBox::QComboBox;

    std::function<void()> popupClosed;

    void hidePopup() override {
        QComboBox::hidePopup();
        if (popupClosed)
            popupClosed();
    }
};

namespace {

constexpr int wheelNotch = 120;

bool isEnterKey(const QEvent& event) {
    if (event.type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent&>(event).key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// A popup (the edit box's own menu, the list's drop-down) takes the focus only for a while.
bool losesFocus(const QEvent& event) {
    return event.type() == QEvent::FocusOut &&
           static_cast<const QFocusEvent&>(event).reason() != Qt::PopupFocusReason;
}

} // namespace

ParameterGridView::ParameterGridView(Session& session, QWidget* parent)
    : QWidget(parent), grid_(session.grid), table_(new QTableView(this)),
      model_(new ParameterGridModel(session.grid, this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(table_);

    table_->setModel(model_);
    table_->setAccessibleName(tr("Parameters"));
    table_->horizontalHeader()->hide();
    table_->verticalHeader()->hide();
    // Two columns of equal width that together fill the view.
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 12);
    table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    // The current cell shows by its focus frame; a highlight would hide the white and grey.
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    table_->setTextElideMode(Qt::ElideRight);
    table_->installEventFilter(this);
    table_->viewport()->installEventFilter(this);
    connect(table_, &QAbstractItemView::clicked, this, &ParameterGridView::clickCell);
    connect(table_->verticalScrollBar(), &QScrollBar::valueChanged, this, &ParameterGridView::placeOverlays);
    connect(table_->horizontalHeader(), &QHeaderView::sectionResized, this,
            &ParameterGridView::placeOverlays);

    QWidget* cells = table_->viewport();
    edit_ = new QLineEdit(cells);
    edit_->setFrame(false);
    edit_->hide();
    edit_->installEventFilter(this);
    // Enter moves the focus to the grid, and losing the focus commits.
    connect(edit_, &QLineEdit::returnPressed, table_, [this] { table_->setFocus(Qt::OtherFocusReason); });

    list_ = new GridChoiceList(cells);
    list_->hide();
    list_->installEventFilter(this);
    connect(list_, &QComboBox::activated, this, &ParameterGridView::commitChoice);
    // A list closed without a pick is cancelled once the pick, if any, has been handled.
    list_->popupClosed = [this] {
        QTimer::singleShot(0, this, [this] {
            if (choosing_ && !list_->view()->isVisible())
                cancelChoiceList();
        });
    };

    button_ = new QPushButton(tr("Configuration"), cells);
    button_->setAccessibleName(button_->text());
    button_->setFocusPolicy(Qt::NoFocus);
    button_->hide();
}

// The editors lose the focus while the view goes: nothing is left to commit or cancel then.
ParameterGridView::~ParameterGridView() {
    editing_ = false;
    choosing_ = false;
    list_->popupClosed = nullptr;
}

void ParameterGridView::setAdvancedDialog(ParameterGrid::AdvancedDialog dialog) {
    dialog_ = std::move(dialog);
}

QTableView* ParameterGridView::table() const {
    return table_;
}

QLineEdit* ParameterGridView::editBox() const {
    return edit_;
}

QComboBox* ParameterGridView::choiceList() const {
    return list_;
}

QRect ParameterGridView::editorGeometry(const QRect& cell, int columnWidth, int rowHeight) {
    return {cell.left(), cell.top(), columnWidth - FreeCellPart, rowHeight + 1};
}

QRect ParameterGridView::valueCellGeometry(int row) const {
    const QRect cell = table_->visualRect(model_->index(row, ParameterGridModel::ValueColumn));
    return editorGeometry(cell, table_->columnWidth(ParameterGridModel::ValueColumn), table_->rowHeight(row));
}

void ParameterGridView::showItem(const korvan::TreeTag& tag, const QString& label) {
    hideEditors();
    button_->hide();
    grid_.show(tag, label.toStdString());
    tag_ = tag;
    label_ = label;
    // A new item starts at its first row, with no cell of the previous item marked.
    table_->setCurrentIndex({});
    table_->scrollToTop();
    redraw();
    Q_EMIT annotationChanged(QString());
    // Showing the network side applies its protocol's flags.
    if (tag.kind == TreeItemKind::NetworkBus)
        Q_EMIT flagsChanged();
}

void ParameterGridView::clear() {
    hideEditors();
    grid_.clear();
    tag_.reset();
    label_.clear();
    table_->setCurrentIndex({});
    redraw();
    Q_EMIT annotationChanged(QString());
}

void ParameterGridView::redraw() {
    model_->refresh();
    showConfigurationButton();
}

void ParameterGridView::showConfigurationButton() {
    if (!grid_.showsAdvancedLayout()) {
        button_->hide();
        return;
    }
    button_->setGeometry(valueCellGeometry(6));
    button_->show();
}

void ParameterGridView::placeOverlays() {
    if (editing_)
        edit_->setGeometry(valueCellGeometry(editRow_));
    if (choosing_)
        list_->setGeometry(valueCellGeometry(editRow_));
    if (button_->isVisible())
        button_->setGeometry(valueCellGeometry(6));
}

void ParameterGridView::hideEditors() {
    editing_ = false;
    choosing_ = false;
    edit_->hide();
    list_->hidePopup();
    list_->hide();
    list_->clear();
}

void ParameterGridView::clickCell(const QModelIndex& index) {
    showConfigurationButton();
    Q_EMIT cellClicked();
    cancelChoiceList();
    if (!index.isValid())
        return;
    const CellAction action = grid_.clickCell(index.row(), index.column());
    Q_EMIT annotationChanged(QString::fromStdString(grid_.annotation()));
    switch (action) {
    case CellAction::EditText:
        openEditBox(index.row());
        break;
    case CellAction::ChooseFromList:
        openChoiceList(index.row());
        break;
    case CellAction::OpenAdvanced:
        openAdvancedConfiguration();
        break;
    case CellAction::None:
        break;
    }
}

void ParameterGridView::openEditBox(int row) {
    const GridRow& shown = grid_.rows()[static_cast<std::size_t>(row)];
    editRow_ = row;
    edit_->setText(QString::fromStdString(shown.value));
    edit_->setAccessibleName(QString::fromStdString(shown.name));
    edit_->setGeometry(valueCellGeometry(row));
    edit_->show();
    edit_->raise();
    editing_ = true;
    edit_->setFocus(Qt::OtherFocusReason);
    edit_->selectAll();
}

void ParameterGridView::commitEditBox() {
    if (!editing_)
        return;
    editing_ = false;
    const QString text = edit_->text();
    edit_->hide();
    const ResultCode code = grid_.commitText(text.toStdString());
    redraw();
    if (succeeded(code) && tag_ && tag_->kind == TreeItemKind::Node && editRow_ == 0 &&
        tag_->node != nullptr) {
        const QString name = QString::fromStdString(tag_->node->nodeName());
        if (name != label_) {
            label_ = name;
            Q_EMIT selectedLabelChanged(name);
        }
    }
    Q_EMIT flagsChanged();
}

void ParameterGridView::openChoiceList(int row) {
    const GridRow& shown = grid_.rows()[static_cast<std::size_t>(row)];
    editRow_ = row;
    list_->clear();
    for (const std::string& choice : shown.item->choices())
        list_->addItem(QString::fromStdString(choice));
    list_->setAccessibleName(QString::fromStdString(shown.name));
    list_->setGeometry(valueCellGeometry(row));
    list_->setCurrentIndex(0);
    list_->show();
    list_->raise();
    choosing_ = true;
    list_->setFocus(Qt::OtherFocusReason);
    list_->showPopup();
}

void ParameterGridView::commitChoice(int entry) {
    if (!choosing_)
        return;
    choosing_ = false;
    const QString text = list_->itemText(entry);
    const int row = editRow_;
    list_->hide();
    list_->clear();
    const ListCommitEffect effect =
        grid_.commitChoice(entry >= 0 ? std::optional<std::string>(text.toStdString()) : std::nullopt);
    redraw();
    if (effect.rebuildTree)
        Q_EMIT treeRebuildRequested();
    table_->setCurrentIndex(model_->index(row, ParameterGridModel::ValueColumn));
    table_->setFocus(Qt::OtherFocusReason);
    Q_EMIT flagsChanged();
}

void ParameterGridView::cancelChoiceList() {
    if (!choosing_)
        return;
    choosing_ = false;
    list_->hide();
    list_->clear();
}

void ParameterGridView::openAdvancedConfiguration() {
    if (!dialog_)
        return;
    hideEditors();
    grid_.openAdvancedConfiguration(dialog_);
    hideEditors();
    redraw();
    table_->setCurrentIndex(model_->index(6, ParameterGridModel::NameColumn));
}

bool ParameterGridView::scrollByWheel(const QWheelEvent& event) {
    // One row per notch, whatever the desktop's lines-per-notch setting.
    wheelRemainder_ += event.angleDelta().y();
    const int notches = wheelRemainder_ / wheelNotch;
    wheelRemainder_ -= notches * wheelNotch;
    QScrollBar* bar = table_->verticalScrollBar();
    bar->setValue(bar->value() - notches);
    return true;
}

bool ParameterGridView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && losesFocus(*event))
        commitEditBox();
    else if (watched == list_ && losesFocus(*event) && !list_->view()->isVisible())
        cancelChoiceList();
    else if (watched == table_ && isEnterKey(*event)) {
        commitEditBox();
        return true;
    } else if (watched == table_->viewport() && event->type() == QEvent::Wheel)
        return scrollByWheel(static_cast<QWheelEvent&>(*event));
    else if (watched == table_->viewport() && event->type() == QEvent::Resize)
        QTimer::singleShot(0, this, &ParameterGridView::placeOverlays);
    return QWidget::eventFilter(watched, event);
}

} // namespace korvan::gui
