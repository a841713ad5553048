#include "tools/CDlgDiagnose.h"

#include "link/LinkMessages.h"
#include "link/SerialGatewayLink.h"
#include "link/TcpGatewayLink.h"
#include "model/CHartbus.h"
#include "model/GatewayModel.h"
#include "shell/Session.h"
#include "tools/CDlgCommandIOData.h"
#include "tools/ItemValueModel.h"
#include "tools/PendingExchange.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTreeView>
#include <QVBoxLayout>

namespace korvan::gui {
namespace {

constexpr int ItemRole = Qt::UserRole + 1;
constexpr int ErrorRole = Qt::UserRole + 2;
constexpr int IconSize = 18;

// The strip of tree images: 0 the buses, 1 a node, 2 a node whose last status had an error.
QIcon treeImage(int image) {
    switch (image) {
    case 0:
        return QIcon(QStringLiteral(":/icons/tree-bus.svg"));
    case 1:
        return QIcon(QStringLiteral(":/icons/tree-node.svg"));
    default:
        return QIcon(QStringLiteral(":/icons/tree-node-error.svg"));
    }
}

const ProjectTreeItem* itemOf(const QModelIndex& index) {
    return static_cast<const ProjectTreeItem*>(index.data(ItemRole).value<const void*>());
}

// The link follows the model: the tree's selection sets the state's link kind back to
// serial (the project tree does it after the upload), but a TCP model is reached over TCP.
std::unique_ptr<GatewayLink> linkForModel(Session& session) {
    if (isTcpModel(session.state.model)) {
        LinkSettings settings = session.link;
        settings.host = session.state.gatewayIp;
        return std::make_unique<TcpGatewayLink>(settings);
    }
    return std::make_unique<SerialGatewayLink>(session.state.serialPortName);
}

std::string channelNameOf(const TreeTag& tag) {
    return tag.channel != nullptr ? tag.channel->busName() : std::string();
}

} // namespace

CDlgDiagnose::CDlgDiagnose(Session& session, CDlgCommandIOData* ioWindow, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session), ioWindow_(ioWindow), linkFactory_(&linkForModel),
      worker_(session.prompt()) {
    build();
    timer_.setInterval(TickMs);
    connect(&timer_, &QTimer::timeout, this, &CDlgDiagnose::tick);
}

CDlgDiagnose::~CDlgDiagnose() {
    timer_.stop();
    worker_.cancel();
}

void CDlgDiagnose::build() {
    setObjectName(QStringLiteral("CDlgDiagnose"));
    setWindowTitle(QStringLiteral("Diagnose "));
    setAccessibleName(QStringLiteral("Diagnose"));

    treeModel_ = new QStandardItemModel(this);
    tree_ = new QTreeView(this);
    tree_->setObjectName(QStringLiteral("tree"));
    tree_->setAccessibleName(QStringLiteral("Buses and nodes"));
    tree_->setModel(treeModel_);
    tree_->setHeaderHidden(true);
    tree_->setIconSize(QSize(IconSize, IconSize));
    tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree_->setMinimumWidth(180);
    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { selectItem(current); });

    rowsModel_ = new ItemValueModel(this);
    rowsModel_->setCentred(true);
    list_ = new QTableView(this);
    list_->setObjectName(QStringLiteral("list"));
    list_->setAccessibleName(QStringLiteral("Diagnosis"));
    list_->setModel(rowsModel_);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setShowGrid(true);
    list_->verticalHeader()->hide();
    list_->setColumnWidth(0, ItemWidth);
    list_->setColumnWidth(1, ValueWidth);
    list_->setMinimumWidth(ItemWidth + ValueWidth + 4);
    connect(list_, &QTableView::doubleClicked, this, &CDlgDiagnose::openCommandData);

    operation_ = new QGroupBox(QStringLiteral("Operation"), this);
    operation_->setAccessibleName(operation_->title());
    refresh_ = new QPushButton(QStringLiteral("Refresh"), operation_);
    refresh_->setObjectName(QStringLiteral("refresh"));
    reset_ = new QPushButton(QStringLiteral("Reset"), operation_);
    reset_->setObjectName(QStringLiteral("reset"));
    periodic_ = new QPushButton(QString::fromUtf8(DiagnoseState::PeriodicLabel), operation_);
    periodic_->setObjectName(QStringLiteral("periodic"));
    for (QPushButton* button : {refresh_, reset_, periodic_}) {
        button->setAccessibleName(button->text());
        button->setAutoDefault(false);
    }
    // The button changes its label: wide enough for the longest, with room around it.
    int labelWidth = 0;
    for (const std::string_view label :
         {DiagnoseState::PeriodicLabel, DiagnoseState::KeepOnUpdating, DiagnoseState::StopUpdating})
        labelWidth =
            std::max(labelWidth, periodic_->fontMetrics().horizontalAdvance(QString::fromUtf8(label)));
    periodic_->setMinimumWidth(labelWidth + 32);
    refresh_->setEnabled(false);
    reset_->setEnabled(false);
    connect(refresh_, &QPushButton::clicked, this, &CDlgDiagnose::refresh);
    connect(reset_, &QPushButton::clicked, this, &CDlgDiagnose::reset);
    connect(periodic_, &QPushButton::clicked, this, &CDlgDiagnose::togglePeriodic);
    auto* buttons = new QHBoxLayout(operation_);
    buttons->addWidget(refresh_);
    buttons->addWidget(reset_);
    buttons->addWidget(periodic_);
    buttons->addStretch(1);

    pending_ = new PendingExchange(this);
    pending_->setWorker(&worker_);

    auto* panes = new QHBoxLayout;
    panes->addWidget(tree_, 1);
    panes->addWidget(list_, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(panes, 1);
    layout->addWidget(operation_);
    resize(620, 420);
}

void CDlgDiagnose::start() {
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    if (worker_.busy()) {
        // The exchange of an earlier opening is still ending: open once it has.
        connect(&worker_, &ExchangeWorker::idle, this, &CDlgDiagnose::start, Qt::SingleShotConnection);
        return;
    }
    std::unique_ptr<GatewayLink> link = linkFactory_(session_);
    if (!link)
        return;
    const bool ethernet = link->isEthernet();
    worker_.setLink(std::move(link));
    if (ethernet) {
        showOpened();
        return;
    }
    QPointer<CDlgDiagnose> window(this);
    (void)worker_.run([window](GatewayLink& opening, Prompt& prompt, const OperationContext&) {
        const bool open = opening.open() == ResultCode::Success;
        if (!open)
            prompt.message(link_text::openPortFailed);
        return ExchangeWorker::Result([window, open] {
            if (window == nullptr)
                return;
            if (open)
                window->showOpened();
            else
                Q_EMIT window->closed();
        });
    });
}

void CDlgDiagnose::showOpened() {
    state_ = DiagnoseState{};
    ++selection_;
    shownRows_.clear();
    rowsModel_->clear();
    periodic_->setText(QString::fromUtf8(DiagnoseState::PeriodicLabel));
    periodic_->setAccessibleName(periodic_->text());
    refresh_->setEnabled(false);
    reset_->setEnabled(false);
    show();
    rebuildTree();
    timer_.start();
    Q_EMIT opened();
}

void CDlgDiagnose::rebuildTree() {
    const QSignalBlocker quiet(tree_->selectionModel());
    treeModel_->clear();
    treeItems_ = buildDiagnoseTree(session_.product);
    appendItems(treeModel_->invisibleRootItem(), treeItems_);
    tree_->expandAll();
}

void CDlgDiagnose::appendItems(QStandardItem* parent, const std::vector<ProjectTreeItem>& items) {
    for (const ProjectTreeItem& item : items) {
        auto* entry = new QStandardItem(QString::fromStdString(item.label));
        entry->setData(QVariant::fromValue(static_cast<const void*>(&item)), ItemRole);
        entry->setData(false, ErrorRole);
        entry->setAccessibleText(entry->text());
        entry->setIcon(treeImage(item.tag.kind == TreeItemKind::Node ? 1 : 0));
        entry->setEditable(false);
        parent->appendRow(entry);
        appendItems(entry, item.children);
    }
}

QModelIndex CDlgDiagnose::indexOf(const QString& label) const {
    const QModelIndexList found = treeModel_->match(treeModel_->index(0, 0), Qt::DisplayRole, label, 1,
                                                    Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? QModelIndex() : found.front();
}

bool CDlgDiagnose::showsError(const QModelIndex& index) const {
    return index.data(ErrorRole).toBool();
}

void CDlgDiagnose::selectItem(const QModelIndex& index) {
    const ProjectTreeItem* item = itemOf(index);
    if (item == nullptr)
        return;
    state_.select(item->tag, channelNameOf(item->tag));
    if (state_.reads() == DiagnoseRead::Nothing)
        return;
    ++selection_;
    refresh_->setEnabled(state_.refreshEnabled());
    reset_->setEnabled(state_.resetEnabled());
    readSelected();
}

void CDlgDiagnose::refresh() {
    if (state_.reads() != DiagnoseRead::Nothing)
        readSelected();
}

void CDlgDiagnose::readSelected() {
    (void)pending_->run(readJob());
}

void CDlgDiagnose::tick() {
    if (!state_.tickReads() || reporting_ || worker_.busy())
        return;
    (void)worker_.run(readJob());
}

ExchangeWorker::Job CDlgDiagnose::readJob() {
    QPointer<CDlgDiagnose> window(this);
    const std::uint8_t channel = state_.channel();
    const int selection = selection_;
    if (state_.reads() == DiagnoseRead::Node) {
        COrlaNode* node = state_.node();
        return [window, channel, node, selection](GatewayLink& link, Prompt& prompt,
                                                  const OperationContext& context) {
            StatusReply reply = exchangeNodeStatus(link, channel, prompt, context);
            return ExchangeWorker::Result([window, reply = std::move(reply), node, selection] {
                if (window != nullptr)
                    window->showNodeReply(reply, node, selection);
            });
        };
    }
    return [window, channel, selection](GatewayLink& link, Prompt& prompt, const OperationContext& context) {
        DiagnoseReading reading = readChannelStatus(link, channel, prompt, context);
        return ExchangeWorker::Result([window, reading = std::move(reading), selection] {
            if (window != nullptr)
                window->showReading(reading, selection);
        });
    };
}

void CDlgDiagnose::reset() {
    if (!state_.resetClears())
        return;
    QPointer<CDlgDiagnose> window(this);
    const std::uint8_t channel = state_.channel();
    const int selection = selection_;
    (void)pending_->run(
        [window, channel, selection](GatewayLink& link, Prompt& prompt, const OperationContext& context) {
            DiagnoseReading reading;
            const bool cleared = clearChannelError(link, channel, prompt, context);
            if (cleared)
                reading = readChannelStatus(link, channel, prompt, context);
            return ExchangeWorker::Result([window, reading = std::move(reading), cleared, selection] {
                if (window == nullptr)
                    return;
                if (cleared)
                    window->showReading(reading, selection);
                else
                    Q_EMIT window->readingShown();
            });
        });
}

void CDlgDiagnose::togglePeriodic() {
    state_.togglePeriodic();
    periodic_->setText(QString::fromUtf8(state_.periodicLabel()));
    periodic_->setAccessibleName(periodic_->text());
}

void CDlgDiagnose::reportStopped(bool stop) {
    if (!stop || !state_.periodic())
        return;
    state_.stopPeriodic();
    periodic_->setText(QString::fromUtf8(state_.periodicLabel()));
    periodic_->setAccessibleName(periodic_->text());
}

void CDlgDiagnose::showReading(const DiagnoseReading& reading, int selection) {
    reportStopped(reading.stopRefresh);
    if (reading.ok && selection == selection_) {
        shownRows_ = reading.rows;
        std::vector<ItemValueModel::Row> rows;
        for (const DiagnoseRow& row : shownRows_)
            rows.push_back({row.item, row.value});
        rowsModel_->setRows(std::move(rows));
    }
    Q_EMIT readingShown();
}

void CDlgDiagnose::showNodeReply(const StatusReply& reply, COrlaNode* node, int selection) {
    if (!reply.reply || node == nullptr) {
        DiagnoseReading failed;
        failed.stopRefresh = reply.stopRefresh;
        showReading(failed, selection);
        return;
    }
    // The node is read here, on the thread that edits it; the check's message may show.
    reporting_ = true;
    const DiagnoseReading reading = nodeStatusReading(*reply.reply, *node, session_.prompt());
    reporting_ = false;
    if (reading.ok)
        markNode(node, reading.anyError);
    showReading(reading, selection);
}

void CDlgDiagnose::markNode(COrlaNode* node, bool error) {
    std::function<void(QStandardItem*)> visit = [&](QStandardItem* parent) {
        for (int row = 0; row < parent->rowCount(); ++row) {
            QStandardItem* child = parent->child(row);
            const auto* item =
                static_cast<const ProjectTreeItem*>(child->data(ItemRole).value<const void*>());
            if (item != nullptr && item->tag.kind == TreeItemKind::Node && item->tag.node == node) {
                child->setData(error, ErrorRole);
                child->setIcon(treeImage(error ? 2 : 1));
            }
            visit(child);
        }
    };
    visit(treeModel_->invisibleRootItem());
}

void CDlgDiagnose::openCommandData(const QModelIndex& index) {
    if (!index.isValid() || state_.reads() != DiagnoseRead::Node || state_.node() == nullptr ||
        ioWindow_ == nullptr)
        return;
    const auto row = static_cast<std::size_t>(index.row());
    if (row >= shownRows_.size())
        return;
    const auto target = commandIoTarget(*state_.node(), state_.channel(), shownRows_[row].commandNumber);
    if (target)
        (void)ioWindow_->present(*target, &worker_);
}

void CDlgDiagnose::closeEvent(QCloseEvent* event) {
    timer_.stop();
    pending_->drop();
    worker_.cancel();
    worker_.closeLink();
    if (ioWindow_ != nullptr)
        ioWindow_->detach();
    QWidget::closeEvent(event);
    Q_EMIT closed();
}

void CDlgDiagnose::keyPressEvent(QKeyEvent* event) {
    // Enter and Escape do not close the window.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace korvan::gui
