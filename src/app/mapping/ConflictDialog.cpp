#include "mapping/ConflictDialog.h"

#include "mapping/ConflictDetection.h"
#include "mapping/ConflictTreeView.h"
#include "mapping/UsageMapModel.h"
#include "project/ProjectTreeModel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace korvan::gui {
namespace {

// How many rows of each grid the dialog shows at least, and when it opens.
constexpr int MinimumRowsShown = 6;
constexpr int PreferredRowsShown = 12;

constexpr CellState LegendStates[] = {CellState::Unused, CellState::Valid, CellState::Conflict,
                                      CellState::Exceeded, CellState::Selected};

QString gridCaption(UsageGrid grid) {
    return grid == UsageGrid::Send ? QStringLiteral("Send-data-memory")
                                   : QStringLiteral("Receive-data-memory");
}

QColor colourOf(CellState state) {
    const Rgb rgb = cellColour(state);
    return {rgb.red, rgb.green, rgb.blue};
}

// One colour box of the legend with its text beside it.
QWidget* legendEntry(CellState state) {
    const QString text = QString::fromLatin1(legendText(state));
    auto* entry = new QWidget;
    auto* layout = new QHBoxLayout(entry);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);

    auto* box = new QLabel;
    box->setObjectName(QStringLiteral("legend box ") + text.trimmed());
    box->setAccessibleName(text.trimmed() + QStringLiteral(" colour"));
    box->setFixedSize(28, 16);
    box->setFrameShape(QFrame::Box);
    box->setAutoFillBackground(true);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Window, colourOf(state));
    box->setPalette(palette);

    auto* label = new QLabel(text);
    label->setObjectName(QStringLiteral("legend text ") + text.trimmed());
    layout->addWidget(box);
    layout->addWidget(label);
    return entry;
}

QWidget* legend() {
    auto* legend = new QWidget;
    auto* layout = new QHBoxLayout(legend);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->setSpacing(24);
    for (CellState state : LegendStates)
        layout->addWidget(legendEntry(state));
    layout->addStretch();
    return legend;
}

} // namespace

ConflictDialog::ConflictDialog(CProductTarn& product, QWidget* parent)
    : QDialog(parent), detection_(std::make_unique<ConflictDetection>(product)) {
    setWindowTitle(QStringLiteral("Conflict Detection"));
    setModal(true);

    treeModel_ = new ProjectTreeModel(this);
    treeModel_->showTree(&detection_->tree());
    treeModel_->setCheckState([this](const ProjectTreeItem& item) { return detection_->isChecked(item); });
    tree_ = new ConflictTreeView;
    tree_->setObjectName(QStringLiteral("Project tree"));
    tree_->setAccessibleName(QStringLiteral("Project tree"));
    tree_->setModel(treeModel_);
    tree_->expandAll();
    tree_->setMinimumWidth(tree_->fittingWidth());

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(tree_, 1);
    layout->addWidget(buildGrids(), 0);

    resize(sizeHint().width(), sizeHint().height() + 2 * (preferredGridHeight_ - grids_[0]->minimumHeight()));

    connect(treeModel_, &ProjectTreeModel::checkClicked, this, &ConflictDialog::checkClicked);
    connect(tree_, &ConflictTreeView::labelClicked, this, &ConflictDialog::labelClicked);
    connect(tree_, &ConflictTreeView::emptySpaceClicked, this, &ConflictDialog::emptySpaceClicked);
}

ConflictDialog::~ConflictDialog() = default;

QWidget* ConflictDialog::buildGrids() {
    auto* grids = new QWidget;
    auto* column = new QVBoxLayout(grids);
    column->setContentsMargins(0, 0, 0, 0);
    for (UsageGrid grid : {UsageGrid::Send, UsageGrid::Receive}) {
        QTableView* view = buildGrid(grid);
        auto* caption = new QLabel(gridCaption(grid));
        caption->setBuddy(view);
        column->addWidget(caption);
        column->addWidget(view, 1);
    }
    column->addWidget(legend());
    return grids;
}

QTableView* ConflictDialog::buildGrid(UsageGrid grid) {
    auto* model = new UsageMapModel(*detection_, grid, this);
    maps_[grid == UsageGrid::Send ? 0 : 1] = model;

    auto* view = new QTableView;
    grids_[grid == UsageGrid::Send ? 0 : 1] = view;
    view->setObjectName(gridCaption(grid));
    view->setAccessibleName(gridCaption(grid));
    view->setModel(model);
    view->setSelectionMode(QAbstractItemView::NoSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setCornerButtonEnabled(false);

    // Compact byte columns, just wide enough for the two-digit column numbers, and an
    // address column of fixed width, so that all 32 columns are seen at once beside it.
    const QFontMetrics metrics = view->horizontalHeader()->fontMetrics();
    const int byteWidth = metrics.horizontalAdvance(QStringLiteral("00")) + 10;
    const int rowHeight = metrics.height() + 4;
    const int addressWidth = metrics.horizontalAdvance(QStringLiteral("0000")) + 16;
    QHeaderView* columns = view->horizontalHeader();
    columns->setMinimumSectionSize(byteWidth);
    columns->setDefaultSectionSize(byteWidth);
    columns->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView* rows = view->verticalHeader();
    rows->setMinimumSectionSize(rowHeight);
    rows->setDefaultSectionSize(rowHeight);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setFixedWidth(addressWidth);

    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    const int frame = 2 * view->frameWidth();
    view->setMinimumWidth(addressWidth + UsageGridColumns * byteWidth +
                          view->verticalScrollBar()->sizeHint().width() + frame);
    view->setMinimumHeight(columns->sizeHint().height() + MinimumRowsShown * rowHeight + frame);
    preferredGridHeight_ = columns->sizeHint().height() + PreferredRowsShown * rowHeight + frame;
    return view;
}

void ConflictDialog::checkClicked(const ProjectTreeItem& item) {
    detection_->clickCheckBox(item);
    showDetection();
}

void ConflictDialog::labelClicked(const QModelIndex& index) {
    if (const ProjectTreeItem* item = treeModel_->itemAt(index))
        detection_->clickLabel(*item);
    showDetection();
}

void ConflictDialog::emptySpaceClicked() {
    detection_->clickEmptySpace();
    showDetection();
}

void ConflictDialog::showDetection() {
    for (UsageMapModel* map : maps_)
        map->refresh();
    QItemSelectionModel* selection = tree_->selectionModel();
    if (const ProjectTreeItem* item = detection_->selectedItem())
        selection->setCurrentIndex(treeModel_->indexOf(item), QItemSelectionModel::ClearAndSelect);
    else
        selection->setCurrentIndex({}, QItemSelectionModel::Clear);
}

} // namespace korvan::gui
