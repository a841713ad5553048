#include "tools/CDlgMemoryDisplay.h"

#include "app/EnableFlags.h"
#include "gateway/ExchangeWorker.h"
#include "link/GatewayLink.h"
#include "model/GatewayModel.h"
#include "shell/Session.h"
#include "tools/MemoryDataFile.h"
#include "tools/MemoryExchange.h"
#include "tools/MemoryGridModel.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace korvan::gui {
namespace {

// The fixed heading above each grid.
constexpr const char* heading = "Addr    00      01      02     03     04     05      06     07      08     "
                                "09    10     11     12      13     14      15";
// 300 and 530 twips at 96 dots per inch.
constexpr int rowHeight = 20;
constexpr int columnWidth = 35;
constexpr int visibleRowsShown = 16;

QString stopLabel(bool reading) {
    return reading ? QStringLiteral("Stop") : QStringLiteral("Go on");
}

// The in-place editor of an output byte: Enter ends the edit (the text is taken or refused
// by the core's rule when the editor loses the focus); Escape does nothing.
class ByteCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        editor->setAccessibleName(QStringLiteral("Byte"));
        return editor;
    }

protected:
    bool eventFilter(QObject* editor, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            return true;
        return QStyledItemDelegate::eventFilter(editor, event);
    }
};

} // namespace

CDlgMemoryDisplay::CDlgMemoryDisplay(Session& session, QWidget* parent)
    : ConverterWindow(parent), session_(session), linkFactory_(&CDlgupdown::makeLink),
      chooseFile_(&CDlgMemoryDisplay::chooseDataFile) {
    worker_ = new ExchangeWorker(session.prompt(), this);
    timer_ = new QTimer(this);
    timer_->setInterval(TickMs);
    build();
    connect(timer_, &QTimer::timeout, this, &CDlgMemoryDisplay::tick);
    connect(worker_, &ExchangeWorker::idle, this, &CDlgMemoryDisplay::runPendingSend);
}

CDlgMemoryDisplay::~CDlgMemoryDisplay() {
    // The exchange in flight ends and the link closes before any widget a result would touch
    // is gone.
    delete worker_;
    worker_ = nullptr;
}

void CDlgMemoryDisplay::build() {
    setObjectName(QStringLiteral("CDlgMemoryDisplay"));
    setWindowTitle(QStringLiteral("Memory Display"));
    setAccessibleName(windowTitle());
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(buildArea(QStringLiteral("Input Data"), input_, inputMemoryArea, false));
    layout->addWidget(buildArea(QStringLiteral("Output Data"), output_, outputMemoryArea, true));

    connect(input_.stop, &QPushButton::clicked, this, [this] { toggle(input_); });
    connect(output_.stop, &QPushButton::clicked, this, [this] { toggle(output_); });
    connect(inputSave_, &QPushButton::clicked, this, [this] { save(input_); });
    connect(outputSave_, &QPushButton::clicked, this, [this] { save(output_); });
    connect(outputLoad_, &QPushButton::clicked, this, &CDlgMemoryDisplay::load);
    connect(send_, &QPushButton::clicked, this, &CDlgMemoryDisplay::send);
}

QGroupBox* CDlgMemoryDisplay::buildArea(const QString& title, Area& area, MemoryArea memory, bool output) {
    auto* group = new QGroupBox(title, this);
    group->setAccessibleName(title);

    area.model = new MemoryGridModel(memory, output, this);
    area.view = new QTableView(group);
    area.view->setObjectName(output ? QStringLiteral("outputGrid") : QStringLiteral("inputGrid"));
    area.view->setAccessibleName(title);
    area.view->setModel(area.model);
    // The heading is the grid's own column header, so each label sits over its column in any
    // font; the fixed heading text stays its accessible name.
    area.view->horizontalHeader()->setAccessibleName(QString::fromLatin1(heading));
    area.view->horizontalHeader()->setSectionsClickable(false);
    area.view->horizontalHeader()->setHighlightSections(false);
    area.view->verticalHeader()->hide();
    area.view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    area.view->verticalHeader()->setDefaultSectionSize(rowHeight);
    area.view->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    area.view->horizontalHeader()->setDefaultSectionSize(columnWidth);
    area.view->setSelectionMode(QAbstractItemView::SingleSelection);
    area.view->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    area.view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area.view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The address column is as wide as its four digits need, so that none is cut off.
    const int addressWidth =
        std::max(columnWidth, area.view->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 14);
    area.view->setColumnWidth(0, addressWidth);
    const int width = addressWidth + MemoryGridModel::ByteColumns * columnWidth +
                      2 * area.view->frameWidth() + area.view->verticalScrollBar()->sizeHint().width();
    area.view->setFixedWidth(width);
    // Sixteen rows on screen: four reads a tick keep every row shown up to date.
    area.view->setMinimumHeight(visibleRowsShown * rowHeight + area.view->horizontalHeader()->sizeHint().height() +
                                2 * area.view->frameWidth());
    if (output) {
        area.view->setItemDelegate(new ByteCellDelegate(area.view));
        area.view->setEditTriggers(QAbstractItemView::AllEditTriggers);
    } else {
        area.view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    if (output) {
        outputSave_ = makeButton(QStringLiteral("Save"));
        outputLoad_ = makeButton(QStringLiteral("Load"));
        send_ = makeButton(QStringLiteral("Send"));
        buttons->addWidget(outputSave_);
        buttons->addWidget(outputLoad_);
        buttons->addWidget(send_);
    } else {
        inputSave_ = makeButton(QStringLiteral("Save"));
        buttons->addWidget(inputSave_);
    }
    area.stop = makeButton(stopLabel(true));
    buttons->addWidget(area.stop);

    auto* column = new QVBoxLayout(group);
    column->addWidget(area.view, 1);
    column->addLayout(buttons);
    return group;
}

std::optional<QString> CDlgMemoryDisplay::chooseDataFile(QWidget* parent, bool save) {
    QFileDialog dialog(parent);
    dialog.setNameFilter(
        QString::fromLatin1(memoryDataFilter.data(), static_cast<int>(memoryDataFilter.size())));
    dialog.setDefaultSuffix(
        QString::fromLatin1(memoryDataExtension.data(), static_cast<int>(memoryDataExtension.size())));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // An existing file is replaced without asking.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, save);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::size_t CDlgMemoryDisplay::topVisibleRow(const QTableView* view) {
    const int row = view->rowAt(0);
    return row < 0 ? 0 : static_cast<std::size_t>(row);
}

std::size_t CDlgMemoryDisplay::visibleRows(const QTableView* view) {
    const int top = view->rowAt(0);
    if (top < 0)
        return memoryBlockRows;
    int bottom = view->rowAt(view->viewport()->height() - 1);
    if (bottom < 0)
        bottom = view->model()->rowCount() - 1;
    return static_cast<std::size_t>(std::max(bottom - top + 1, 1));
}

bool CDlgMemoryDisplay::start(const CDlgupdown::Choosers& choosers) {
    AppState& state = session_.state;
    if (state.model == GatewayModel::Vela3hRtu) {
        if (!choosers.serialPort || !choosers.serialPort(session_, this)) {
            enable_flags::memoryDisplayClosed(state);
            return false;
        }
    } else {
        state.linkKind = LinkKind::Ethernet;
        if (!choosers.gateway || !choosers.gateway(session_, this)) {
            enable_flags::memoryDisplaySearchCancelled(state);
            return false;
        }
    }
    std::unique_ptr<GatewayLink> link = linkFactory_(session_);
    if (!link)
        return false;
    const bool ethernet = link->isEthernet();
    worker_->setLink(std::move(link));
    if (ethernet) {
        beginReading();
        return true;
    }
    // The serial port opens on the worker: a port that does not answer never holds up the
    // user interface.
    worker_->run(
        [this](GatewayLink& port, Prompt& prompt, const OperationContext&) -> ExchangeWorker::Result {
            if (port.open() != ResultCode::Success) {
                prompt.message("Failed openning serial port");
                return [this] { close(); };
            }
            return [this] { beginReading(); };
        });
    return true;
}

void CDlgMemoryDisplay::beginReading() {
    for (Area* area : {&input_, &output_}) {
        area->reading = true;
        area->stop->setText(stopLabel(true));
        area->stop->setAccessibleName(area->stop->text());
        area->model->clear();
    }
    outputTurn_ = false;
    present();
    timer_->start();
}

void CDlgMemoryDisplay::tick() {
    if (shutDown_ || worker_->busy())
        return;
    if (pendingSend_) {
        runPendingSend();
        return;
    }
    Area& area = outputTurn_ ? output_ : input_;
    // A read the worker refused leaves the turn with this area.
    if (area.reading && !read(area))
        return;
    outputTurn_ = !outputTurn_;
}

bool CDlgMemoryDisplay::read(Area& area) {
    MemoryGridModel* model = area.model;
    // The rows on screen, four to a read, the first read at the top row; the last read is
    // kept inside the area, so it may overlap the one before.
    const MemoryGrid& grid = model->grid();
    const std::size_t top = topVisibleRow(area.view);
    std::vector<std::uint16_t> addresses;
    for (std::size_t row = top; row < top + visibleRows(area.view); row += memoryBlockRows)
        if (addresses.empty() || grid.blockAddress(row) != addresses.back())
            addresses.push_back(grid.blockAddress(row));
    return worker_->run([this, model, addresses](GatewayLink& link, Prompt& prompt,
                                                 const OperationContext& context) -> ExchangeWorker::Result {
        std::vector<MemoryBlock> blocks;
        bool closeWindow = false;
        for (const std::uint16_t address : addresses) {
            MemoryOutcome outcome = readMemory(link, address, prompt, context);
            if (outcome.block)
                blocks.push_back(std::move(*outcome.block));
            closeWindow = outcome.closeWindow;
            if (!outcome.ok)
                break; // its message has been shown; the next tick tries again
        }
        return [this, model, blocks = std::move(blocks), closeWindow] {
            for (const MemoryBlock& block : blocks)
                model->showBlock(block);
            if (closeWindow)
                close();
        };
    });
}

void CDlgMemoryDisplay::send() {
    const MemoryGrid& grid = output_.model->grid();
    const std::size_t top = topVisibleRow(output_.view);
    // What the engineer sees now is sent, once the exchange in flight has ended.
    pendingSend_ = PendingSend{grid.blockAddress(top), grid.sendBytes(top)};
    runPendingSend();
}

void CDlgMemoryDisplay::runPendingSend() {
    if (!pendingSend_ || shutDown_ || worker_->busy() || !worker_->hasLink())
        return;
    const PendingSend write = *pendingSend_;
    if (!worker_->run([this, write](GatewayLink& link, Prompt& prompt,
                                    const OperationContext& context) -> ExchangeWorker::Result {
            const MemoryOutcome outcome = writeMemory(link, write.address, write.bytes, prompt, context);
            return [this, outcome] {
                if (outcome.closeWindow)
                    close();
            };
        }))
        return;
    pendingSend_.reset();
}

void CDlgMemoryDisplay::toggle(Area& area) {
    area.reading = !area.reading;
    area.stop->setText(stopLabel(area.reading));
    area.stop->setAccessibleName(area.stop->text());
}

void CDlgMemoryDisplay::save(const Area& area) {
    const std::optional<QString> path = chooseFile_(this, true);
    if (path && !path->isEmpty())
        (void)saveMemoryData(path->toStdString(), area.model->grid(), session_.prompt());
}

void CDlgMemoryDisplay::load() {
    const std::optional<QString> path = chooseFile_(this, false);
    if (!path || path->isEmpty())
        return;
    if (loadMemoryData(path->toStdString(), output_.model->grid(), session_.prompt()))
        output_.model->refreshAll();
}

void CDlgMemoryDisplay::shutDown() {
    if (shutDown_)
        return;
    shutDown_ = true;
    timer_->stop();
    pendingSend_.reset();
    worker_->cancel();
    worker_->closeLink();
    enable_flags::memoryDisplayClosed(session_.state);
    Q_EMIT closed();
}

void CDlgMemoryDisplay::closeEvent(QCloseEvent* event) {
    shutDown();
    ConverterWindow::closeEvent(event);
}

void CDlgMemoryDisplay::deleteWhenIdle() {
    if (worker_->busy())
        connect(worker_, &ExchangeWorker::idle, this, &QObject::deleteLater, Qt::SingleShotConnection);
    else
        deleteLater();
}

} // namespace korvan::gui
