#include "tools/dlgSet.h"

#include "hart/AdvancedConfiguration.h"
#include "tools/SelectionRowsModel.h"
#include "tools/UnselectedEntriesModel.h"

#include <QAction>
#include <QComboBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

namespace korvan::gui {
namespace {

// The grid's column widths in twips, as laid out for a stored selection and for one just
// converted from Basic (its range texts are longer).
constexpr int storedWidths[] = {1500, 1500, 2000, 1780};
constexpr int convertedWidths[] = {1000, 1500, 2500, 1780};
constexpr int twipsPerInch = 1440;
constexpr int cellPadding = 16;

int twipsToPixels(int twips, int dotsPerInch) {
    return twips * dotsPerInch / twipsPerInch;
}

QLabel* caption(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAccessibleName(text);
    return label;
}

} // namespace

dlgSet::dlgSet(AdvancedConfiguration& configuration, QWidget* parent)
    : QDialog(parent), configuration_(configuration) {
    setWindowTitle(QStringLiteral("Advanced Configuration"));
    setAccessibleName(windowTitle());
    buildGrid();
    buildTree();

    description_ = new QPlainTextEdit(this);
    description_->setReadOnly(true);
    description_->setAccessibleName(QStringLiteral("Description"));
    description_->setFixedHeight(90);
    description_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto* left = new QVBoxLayout;
    left->addWidget(caption(QStringLiteral("Mapping address"), this));
    left->addWidget(grid_, 1);
    left->addWidget(description_);
    auto* right = new QVBoxLayout;
    right->addWidget(caption(QStringLiteral("Response data"), this));
    right->addWidget(tree_, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 3);
    layout->addLayout(right, 1);

    layOutColumns();
    showDescription();
    resize(grid_->horizontalHeader()->length() + 260, 460);
}

dlgSet::~dlgSet() = default;

void dlgSet::buildGrid() {
    rows_ = new SelectionRowsModel(configuration_, this);
    grid_ = new QTableView(this);
    grid_->setModel(rows_);
    grid_->setAccessibleName(QStringLiteral("Mapping address"));
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setHighlightSections(false);
    grid_->installEventFilter(this);
    connect(grid_, &QTableView::clicked, this, &dlgSet::clickCell);
    connect(grid_, &QTableView::doubleClicked, this, &dlgSet::doubleClickCell);

    number_ = new QLineEdit(grid_->viewport());
    number_->setAccessibleName(QStringLiteral("Memory Address"));
    number_->setAlignment(Qt::AlignCenter);
    number_->hide();
    number_->installEventFilter(this);

    swap_ = new QComboBox(grid_->viewport());
    swap_->setAccessibleName(QStringLiteral("Byte swap"));
    swap_->addItem(QString::fromUtf8(AdvancedConfiguration::RegisterSwap.data(),
                                     static_cast<qsizetype>(AdvancedConfiguration::RegisterSwap.size())));
    swap_->addItem(QString::fromUtf8(AdvancedConfiguration::NoSwap.data(),
                                     static_cast<qsizetype>(AdvancedConfiguration::NoSwap.size())));
    swap_->hide();
    swap_->installEventFilter(this);
    connect(swap_, &QComboBox::activated, this, [this] { commitSwapList(true); });
}

void dlgSet::buildTree() {
    entries_ = new UnselectedEntriesModel(configuration_, this);
    tree_ = new QTreeView(this);
    tree_->setModel(entries_);
    tree_->setAccessibleName(QStringLiteral("Response data"));
    tree_->setHeaderHidden(true);
    tree_->setRootIsDecorated(false);
    tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tree_, &QTreeView::clicked, this, [this](const QModelIndex& index) {
        configuration_.showTreeDescription(static_cast<std::size_t>(index.row()));
        showDescription();
    });
    connect(tree_, &QTreeView::doubleClicked, this,
            [this](const QModelIndex& index) { addTreeItem(index.row()); });
    connect(tree_, &QTreeView::customContextMenuRequested, this, &dlgSet::showTreeMenu);

    menu_ = new QMenu(this);
    addByte_ = menu_->addAction(QStringLiteral("Add byte"));
    menu_->addSeparator();
    // Offered greyed, as it always was: rows are removed in the grid.
    menu_->addAction(QStringLiteral("Delete bytes"))->setEnabled(false);
    connect(addByte_, &QAction::triggered, this, [this] {
        if (tree_->currentIndex().isValid())
            addTreeItem(tree_->currentIndex().row());
    });
}

void dlgSet::layOutColumns() {
    // The widths were chosen for a smaller font than this desktop's: a column is never
    // narrower than its header or its texts need.
    const int* widths = configuration_.convertedFromBasic() ? convertedWidths : storedWidths;
    for (int column = 0; column < SelectionRowsModel::ColumnCount; ++column) {
        const QFontMetrics metrics = grid_->fontMetrics();
        int needed =
            metrics.horizontalAdvance(rows_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
        for (int row = 0; row < rows_->rowCount(); ++row)
            needed = std::max(needed, metrics.horizontalAdvance(rows_->index(row, column).data().toString()));
        grid_->setColumnWidth(column,
                              std::max(twipsToPixels(widths[column], logicalDpiX()), needed + cellPadding));
    }
}

QRect dlgSet::cellRect(int row, int column) const {
    return grid_->visualRect(rows_->index(row, column));
}

void dlgSet::clickCell(const QModelIndex& index) {
    if (!index.isValid())
        return;
    closeEditors();
    configuration_.showRowDescription(static_cast<std::size_t>(index.row()));
    showDescription();
    if (index.column() == SelectionRowsModel::MemoryAddressColumn)
        openNumberBox(index.row());
    else if (index.column() == SelectionRowsModel::ByteSwapColumn &&
             configuration_.row(static_cast<std::size_t>(index.row())).swapEditable)
        openSwapList(index.row());
}

void dlgSet::doubleClickCell(const QModelIndex& index) {
    if (!index.isValid() || index.column() == SelectionRowsModel::MemoryAddressColumn)
        return;
    closeEditors();
    removeRow(index.row());
}

void dlgSet::openNumberBox(int row) {
    numberRow_ = row;
    number_->setGeometry(cellRect(row, SelectionRowsModel::MemoryAddressColumn));
    number_->setText(rows_->index(row, SelectionRowsModel::MemoryAddressColumn).data().toString());
    number_->show();
    number_->setFocus();
    number_->selectAll();
}

void dlgSet::commitNumberBox() {
    if (numberRow_ < 0)
        return;
    const int row = numberRow_;
    numberRow_ = -1;
    number_->hide();
    // A refused value shows its message and the cell keeps what it had.
    (void)configuration_.commitAddress(static_cast<std::size_t>(row), number_->text().toStdString());
    rows_->refresh();
}

void dlgSet::openSwapList(int row) {
    swapRow_ = row;
    swap_->setGeometry(cellRect(row, SelectionRowsModel::ByteSwapColumn));
    swap_->setCurrentIndex(-1);
    swap_->show();
    swap_->setFocus();
    swap_->showPopup();
}

void dlgSet::commitSwapList(bool chosen) {
    if (swapRow_ < 0)
        return;
    const int row = swapRow_;
    swapRow_ = -1;
    const std::string text = swap_->currentText().toStdString();
    swap_->hidePopup();
    swap_->hide();
    configuration_.commitSwap(static_cast<std::size_t>(row), chosen && swap_->currentIndex() >= 0
                                                                 ? std::optional<std::string_view>(text)
                                                                 : std::nullopt);
    rows_->refresh();
}

void dlgSet::closeEditors() {
    commitNumberBox();
    commitSwapList(false);
}

void dlgSet::addTreeItem(int item) {
    if (item < 0)
        return;
    closeEditors();
    if (configuration_.addTreeItem(static_cast<std::size_t>(item)))
        refresh();
}

void dlgSet::removeRow(int row) {
    if (row < 0 || row >= rows_->rowCount())
        return;
    configuration_.removeRow(static_cast<std::size_t>(row));
    refresh();
}

void dlgSet::showTreeMenu(const QPoint& at) {
    const QModelIndex index = tree_->indexAt(at);
    if (!index.isValid())
        return;
    tree_->setCurrentIndex(index);
    configuration_.showTreeDescription(static_cast<std::size_t>(index.row()));
    showDescription();
    menu_->popup(tree_->viewport()->mapToGlobal(at));
}

void dlgSet::showDescription() {
    description_->setPlainText(QString::fromStdString(configuration_.description()));
}

void dlgSet::refresh() {
    rows_->refresh();
    entries_->refresh();
    layOutColumns();
}

void dlgSet::done(int result) {
    closeEditors();
    QDialog::done(result);
}

bool dlgSet::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (watched == number_)
            commitNumberBox();
        // The list's own pop-up takes the focus while it is open; that is no commit.
        else if (watched == swap_ && reason != Qt::PopupFocusReason && !swap_->view()->isVisible())
            commitSwapList(false);
    }
    if (watched == grid_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        const QModelIndex current = grid_->currentIndex();
        if (current.isValid() && current.column() != SelectionRowsModel::MemoryAddressColumn)
            removeRow(current.row());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void dlgSet::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Enter never closes the dialog; in the address column it hands the focus back to
        // the grid, which commits an open address.
        const QModelIndex current = grid_->currentIndex();
        if (current.isValid() && current.column() == SelectionRowsModel::MemoryAddressColumn) {
            commitNumberBox();
            grid_->setFocus();
        }
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

ParameterGrid::AdvancedDialog advancedConfigurationDialog(QWidget* parent) {
    return [parent](AdvancedConfiguration& configuration) {
        dlgSet dialog(configuration, parent);
        dialog.exec();
    };
}

} // namespace korvan::gui
