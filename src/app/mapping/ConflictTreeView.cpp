#include "mapping/ConflictTreeView.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>

namespace korvan::gui {
namespace {

// The view's delegate, opened up so that the view can ask where it puts the check box.
class TreeItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::initStyleOption;
    using QStyledItemDelegate::QStyledItemDelegate;
};

} // namespace

ConflictTreeView::ConflictTreeView(QWidget* parent) : QTreeView(parent) {
    setItemDelegate(new TreeItemDelegate(this));
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A click that lands on the check box is handled by the delegate and the model; every
    // other click on an item is a click on its label.
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (!checkBoxRect(index).contains(releasePosition_))
            Q_EMIT labelClicked(index);
    });
}

QRect ConflictTreeView::checkBoxRect(const QModelIndex& index) const {
    if (!index.isValid() || !(index.flags() & Qt::ItemIsUserCheckable))
        return {};
    // The same option the view gives its delegate when it forwards a mouse event.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    if (index == currentIndex())
        option.state |= QStyle::State_HasFocus;
    if (auto* delegate = qobject_cast<TreeItemDelegate*>(itemDelegate()))
        delegate->initStyleOption(&option, index);
    return style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, this);
}

int ConflictTreeView::fittingWidth() const {
    const int icon = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    const int commandLabel =
        3 * indentation() + 2 * icon + fontMetrics().horizontalAdvance(QStringLiteral("Command ID254")) + 24;
    return std::max(commandLabel, sizeHintForColumn(0)) + 2 * frameWidth() +
           verticalScrollBar()->sizeHint().width();
}

void ConflictTreeView::mousePressEvent(QMouseEvent* event) {
    const bool onNothing = !indexAt(event->position().toPoint()).isValid();
    QTreeView::mousePressEvent(event);
    if (onNothing && event->button() == Qt::LeftButton)
        Q_EMIT emptySpaceClicked();
}

void ConflictTreeView::mouseReleaseEvent(QMouseEvent* event) {
    releasePosition_ = event->position().toPoint();
    QTreeView::mouseReleaseEvent(event);
}

void ConflictTreeView::keyPressEvent(QKeyEvent* event) {
    // Return on an item does what a click on its label does, for keyboard users.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentIndex().isValid()) {
        Q_EMIT labelClicked(currentIndex());
        return;
    }
    QTreeView::keyPressEvent(event);
}

} // namespace korvan::gui

#include "ConflictTreeView.moc"
