#include "project/ProjectTreePane.h"

#include "model/CHartbus.h"
#include "model/COrlaNode.h"
#include "model/ProjectTreeItem.h"
#include "project/ProjectTreeModel.h"
#include "shell/Session.h"

#include <QAction>
#include <QMenu>
#include <QTreeView>
#include <QVBoxLayout>

namespace korvan::gui {
namespace {

// A tree whose selection cannot be taken away by a Ctrl+click: an item is always what the
// grid shows, as long as one is selected.
class ProjectTreeView : public QTreeView {
public:
    using QTreeView::QTreeView;

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override {
        const QItemSelectionModel::SelectionFlags command = QTreeView::selectionCommand(index, event);
        if (command.testFlag(QItemSelectionModel::Deselect) && !command.testFlag(QItemSelectionModel::Select))
            return QItemSelectionModel::NoUpdate;
        return command;
    }
};

// The selection stays as visible when the tree loses the focus as while it has it.
void keepSelectionVisible(QWidget& view) {
    QPalette palette = view.palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    view.setPalette(palette);
}

} // namespace

ProjectTreePane::ProjectTreePane(Session& session, QWidget* parent)
    : QWidget(parent), session_(session), view_(new ProjectTreeView(this)),
      model_(new ProjectTreeModel(view_)), menu_(new QMenu(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    view_->setModel(model_);
    view_->setHeaderHidden(true);
    view_->setUniformRowHeights(true);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setIconSize(QSize(18, 18));
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    view_->setAccessibleName(tr("Project tree"));
    keepSelectionVisible(*view_);
    menu_->setAccessibleName(tr("Tree commands"));
    connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ProjectTreePane::onSelectionChanged);
    connect(view_, &QWidget::customContextMenuRequested, this, &ProjectTreePane::showContextMenu);
}

ProjectTreePane::~ProjectTreePane() = default;

QSize ProjectTreePane::sizeHint() const {
    return {250, 500};
}

void ProjectTreePane::setContextActions(const QList<QAction*>& actions) {
    menu_->clear();
    menu_->addActions(actions);
}

void ProjectTreePane::setCommandChooser(ProjectTreeEditor::CommandChooser chooser) {
    chooser_ = std::move(chooser);
}

QTreeView* ProjectTreePane::treeView() const {
    return view_;
}

ProjectTreeModel* ProjectTreePane::model() const {
    return model_;
}

void ProjectTreePane::onSelectionChanged() {
    if (quiet_)
        return;
    const QModelIndexList selected = view_->selectionModel()->selectedIndexes();
    const ProjectTreeItem* item = selected.isEmpty() ? nullptr : model_->itemAt(selected.first());
    if (item == nullptr) {
        Q_EMIT selectionCleared();
        Q_EMIT flagsChanged();
        return;
    }
    label_ = QString::fromStdString(item->label);
    // The tag is copied: showing the item may rebuild the tree (a network mode switch).
    const TreeTag tag = item->tag;
    session_.tree.select(tag, item->label);
    Q_EMIT itemSelected(tag, label_);
    Q_EMIT flagsChanged();
}

void ProjectTreePane::showContextMenu(const QPoint& position) {
    const QModelIndex index = view_->indexAt(position);
    const ProjectTreeItem* item = model_->itemAt(index);
    if (item == nullptr)
        return;
    if (!view_->selectionModel()->isSelected(index))
        selectIndex(index);
    if (item->tag.kind != TreeItemKind::None && !menu_->isEmpty())
        menu_->popup(view_->viewport()->mapToGlobal(position));
}

void ProjectTreePane::rebuildModel() {
    quiet_ = true;
    model_->setTree(buildProjectTree(session_.product));
    view_->expandAll();
    quiet_ = false;
}

void ProjectTreePane::selectIndex(const QModelIndex& index) {
    view_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    view_->scrollTo(index);
}

void ProjectTreePane::clearViewSelection() {
    quiet_ = true;
    view_->selectionModel()->clear();
    quiet_ = false;
}

void ProjectTreePane::followEditorSelection() {
    const auto& selection = session_.tree.selection();
    const QModelIndex index = selection ? model_->findTag(*selection) : QModelIndex();
    clearViewSelection();
    if (index.isValid()) {
        selectIndex(index);
        return;
    }
    Q_EMIT selectionCleared();
    Q_EMIT flagsChanged();
}

void ProjectTreePane::rebuild(bool reselect) {
    rebuildModel();
    const QModelIndex index = reselect && !label_.isEmpty() ? model_->findLabel(label_) : QModelIndex();
    if (index.isValid()) {
        selectIndex(index);
        return;
    }
    Q_EMIT selectionCleared();
    Q_EMIT flagsChanged();
}

void ProjectTreePane::resetSelection() {
    session_.tree.resetSelection();
    clearViewSelection();
    Q_EMIT selectionCleared();
    Q_EMIT flagsChanged();
}

void ProjectTreePane::selectFirstItem() {
    const QModelIndex first = model_->index(0, 0);
    if (!first.isValid())
        return;
    clearViewSelection();
    selectIndex(first);
}

void ProjectTreePane::addNode() {
    const auto selection = session_.tree.selection();
    const bool added = selection && selection->kind == TreeItemKind::Channel && session_.tree.addNode();
    if (added) {
        CHartbus* channel = selection->channel;
        COrlaNode* node = channel->currentNodes().back();
        const QModelIndex channelIndex = model_->findTag(*selection);
        quiet_ = true;
        model_->appendItem(channelIndex,
                           {{TreeItemKind::Node, nullptr, channel, node, nullptr}, node->nodeName(), {}});
        view_->expand(channelIndex);
        quiet_ = false;
    }
    Q_EMIT flagsChanged();
}

void ProjectTreePane::deleteNode() {
    removeSelected(TreeItemKind::Node, &ProjectTreeEditor::deleteNode);
}

void ProjectTreePane::deleteCommand() {
    removeSelected(TreeItemKind::Command, &ProjectTreeEditor::deleteCommand);
}

void ProjectTreePane::removeSelected(TreeItemKind kind, bool (ProjectTreeEditor::*remove)()) {
    const auto selection = session_.tree.selection();
    if (!selection || selection->kind != kind) {
        Q_EMIT flagsChanged();
        return;
    }
    const QModelIndex index = model_->findTag(*selection);
    if (!(session_.tree.*remove)()) {
        Q_EMIT flagsChanged();
        return;
    }
    quiet_ = true;
    model_->removeItem(index);
    quiet_ = false;
    followEditorSelection();
}

void ProjectTreePane::copyNode() {
    static_cast<void>(session_.tree.copyNode());
    Q_EMIT flagsChanged();
}

// Paste and Add Command leave the channel selected in the editor; the tree is built again
// and shows that selection.
void ProjectTreePane::pasteNode() {
    if (!session_.tree.pasteNode()) {
        Q_EMIT flagsChanged();
        return;
    }
    rebuildModel();
    followEditorSelection();
}

void ProjectTreePane::addCommand() {
    if (!chooser_) {
        Q_EMIT flagsChanged();
        return;
    }
    const auto before = session_.tree.selection();
    static_cast<void>(session_.tree.addCommand(chooser_));
    // The editor moves to the channel whenever the dialog ran, confirmed or not.
    if (session_.tree.selection() == before) {
        Q_EMIT flagsChanged();
        return;
    }
    rebuildModel();
    followEditorSelection();
}

void ProjectTreePane::setSelectedLabel(const QString& label) {
    const auto selection = session_.tree.selection();
    const QModelIndex index = selection ? model_->findTag(*selection) : QModelIndex();
    if (!index.isValid() || !model_->setLabel(index, label))
        return;
    label_ = label;
    // Copy Node reads the node's number from the selected label.
    session_.tree.select(*selection, label.toStdString());
    Q_EMIT flagsChanged();
}

} // namespace korvan::gui
