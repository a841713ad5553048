#include "network/CSearch.h"

#include "shell/Session.h"
#include "support/Courier.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace korvan::gui {
namespace {

struct ListColumn {
    const char* heading;
    int width;
};
constexpr ListColumn columns[] = {
    {"No.", 45},   {"Model", 108}, {"IP Address", 98}, {"MAC Address", 128}, {"Firmware Version", 110},
    {"State", 180}};

SearchSettings withPort(std::optional<SearchSettings> settings, const Session& session) {
    if (settings)
        return std::move(*settings);
    if (session.search)
        return *session.search;
    SearchSettings fromSession;
    fromSession.port = session.link.managementPort;
    return fromSession;
}

QPushButton* addButton(QDialogButtonBox* box, const QString& text, QDialogButtonBox::ButtonRole role) {
    QPushButton* button = box->addButton(text, role);
    button->setAccessibleName(text);
    button->setAutoDefault(false);
    return button;
}

} // namespace

CSearch::CSearch(Session& session, std::optional<SearchSettings> settings, QWidget* parent)
    : QDialog(parent), session_(session), search_(withPort(std::move(settings), session)) {
    setWindowTitle(QStringLiteral("Search Equipment"));
    setAccessibleName(windowTitle());

    records_ = new QStandardItemModel(0, static_cast<int>(std::size(columns)), this);
    list_ = new QTableView(this);
    list_->setModel(records_);
    list_->setAccessibleName(QStringLiteral("Equipment"));
    list_->verticalHeader()->hide();
    list_->setShowGrid(true);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int c = 0; c < static_cast<int>(std::size(columns)); ++c) {
        auto* heading = new QStandardItem(QString::fromLatin1(columns[c].heading));
        heading->setTextAlignment(Qt::AlignCenter);
        records_->setHorizontalHeaderItem(c, heading);
        // The headings are bold here: a column is never narrower than its heading.
        QFont bold = list_->horizontalHeader()->font();
        bold.setBold(true);
        const int headingWidth =
            QFontMetrics(bold).horizontalAdvance(QString::fromLatin1(columns[c].heading)) + 16;
        list_->setColumnWidth(c, std::max(columns[c].width, headingWidth));
    }
    list_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    list_->horizontalHeader()->setStretchLastSection(true);

    progress_ = new QProgressBar(this);
    progress_->setRange(0, 100);
    progress_->setAccessibleName(QStringLiteral("Search progress"));
    status_ = new QLabel(QStringLiteral("Searching"), this);
    status_->setAccessibleName(QStringLiteral("Search state"));
    status_->setMinimumWidth(status_->fontMetrics().horizontalAdvance(QStringLiteral("Search completed")) +
                             8);

    auto* buttons = new QDialogButtonBox(this);
    signIn_ = addButton(buttons, QStringLiteral("Sign In"), QDialogButtonBox::AcceptRole);
    refresh_ = addButton(buttons, QStringLiteral("Refresh"), QDialogButtonBox::ActionRole);
    cancel_ = addButton(buttons, QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(status_);
    bottom->addWidget(progress_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(bottom);
    layout->addWidget(buttons);
    resize(760, 320);

    connect(list_, &QTableView::clicked, this, &CSearch::clickRow);
    connect(signIn_, &QPushButton::clicked, this, &CSearch::signIn);
    connect(refresh_, &QPushButton::clicked, this, &CSearch::refresh);
    connect(cancel_, &QPushButton::clicked, this, &CSearch::reject);
    signIn_->setEnabled(false);
    refresh_->setEnabled(false);
}

CSearch::~CSearch() {
    stopAll();
}

void CSearch::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!started_) {
        started_ = true;
        start();
    }
}

void CSearch::start() {
    const AppState& state = session_.state;
    if (!state.directAddress) {
        search_.open(false, state.gatewayIp);
        startTimers();
        return;
    }
    // The one query waits up to a second for its answer: it runs off the window's thread,
    // and nothing here reads the search until it has finished.
    status_->setText(QStringLiteral("Searching"));
    // The answer comes back by the courier, which orders the worker's writes before the
    // window's reads.
    Courier* courier = Courier::of(this);
    query_ = std::jthread([this, courier, address = state.gatewayIp] {
        search_.open(true, address);
        courier->post([this] {
            if (!query_.joinable()) // closed meanwhile: the dialog has waited for it already
                return;
            query_.join(); // it has nothing left to do but return
            showState();
            showRecords();
            Q_EMIT searchCompleted();
        });
    });
}

void CSearch::refresh() {
    if (querying())
        return;
    stopAll();
    records_->removeRows(0, records_->rowCount());
    list_->clearSelection();
    search_.refresh(session_.state.directAddress, session_.state.gatewayIp);
    startTimers();
}

void CSearch::startTimers() {
    for (std::size_t i = 0; i < search_.timerCount(); ++i) {
        auto* timer = new QTimer(this);
        timer->setInterval(TickMs);
        connect(timer, &QTimer::timeout, this, [this, i] { tick(static_cast<int>(i)); });
        timers_.append(timer);
        if (search_.timerRunning(i))
            timer->start();
    }
    showState();
    if (!search_.anyTimerRunning()) {
        showRecords();
        Q_EMIT searchCompleted();
    }
}

void CSearch::tick(int i) {
    const bool keeps = search_.tick(static_cast<std::size_t>(i));
    if (!keeps)
        timers_.at(i)->stop();
    showState();
    if (!search_.anyTimerRunning()) {
        for (QTimer* timer : timers_)
            timer->stop();
        showRecords();
        Q_EMIT searchCompleted();
    }
}

void CSearch::clickRow(const QModelIndex& index) {
    if (!index.isValid() || querying())
        return;
    search_.clickRow(index.row(), session_.state.gatewayIp);
    showState();
}

void CSearch::signIn() {
    if (search_.signIn(session_.state.model, session_.prompt()))
        accept();
}

void CSearch::showState() {
    status_->setText(QString::fromStdString(search_.statusText()));
    progress_->setValue(search_.progress());
    signIn_->setEnabled(search_.signInEnabled());
    refresh_->setEnabled(search_.refreshEnabled());
}

void CSearch::showRecords() {
    records_->removeRows(0, records_->rowCount());
    for (const CEquipment& record : search_.shownRecords()) {
        QList<QStandardItem*> row;
        for (const std::string* field : {&record.number, &record.model, &record.ipAddress, &record.macAddress,
                                         &record.firmwareVersion, &record.state}) {
            auto* item = new QStandardItem(QString::fromStdString(*field));
            item->setTextAlignment(Qt::AlignCenter);
            item->setData(item->text(), Qt::AccessibleTextRole);
            row.append(item);
        }
        records_->appendRow(row);
    }
}

void CSearch::stopAll() {
    for (QTimer* timer : timers_)
        timer->stop();
    qDeleteAll(timers_);
    timers_.clear();
    // The query ends by its own receive time-out, within a second.
    if (query_.joinable())
        query_.join();
}

void CSearch::done(int result) {
    stopAll();
    search_.close();
    QDialog::done(result);
}

std::optional<std::string> runGatewaySearch(Session& session, QWidget* parent,
                                            std::optional<SearchSettings> settings) {
    CSearch dialog(session, std::move(settings), parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return session.state.gatewayIp;
}

} // namespace korvan::gui
