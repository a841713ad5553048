#include "help/NewsPane.h"

#include "app/AppState.h"
#include "help/NewsBrowser.h"
#include "help/NewsWatcher.h"
#include "support/Courier.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QThread>
#include <QVBoxLayout>

namespace korvan::gui {
namespace {

bool isSwallowedClick(const QEvent& event) {
    switch (event.type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
        const auto button = static_cast<const QMouseEvent&>(event).button();
        return button == Qt::LeftButton || button == Qt::RightButton;
    }
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

} // namespace

NewsPane::NewsPane(AppState& state, QWidget* parent) : NewsPane(state, newsSourcesFromSettings(), parent) {}

NewsPane::NewsPane(AppState& state, NewsSources sources, QWidget* parent, DownloadLimits limits)
    : QWidget(parent), state_(state), sources_(std::move(sources)), browser_(new NewsBrowser(this)) {
    setAccessibleName(QStringLiteral("News"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    browser_->viewport()->installEventFilter(this);
    connect(browser_, &QTextBrowser::anchorClicked, this, &NewsPane::followLink);
    browser_->showLocalPage(sources_.localPagePath());
    if (!sources_.server.isEmpty())
        startWatcher(limits);
}

NewsPane::~NewsPane() {
    stopWatcher();
}

bool NewsPane::watcherRunning() const {
    return thread_ != nullptr && thread_->isRunning();
}

bool NewsPane::eventFilter(QObject* watched, QEvent* event) {
    if (watched == browser_->viewport() && state_.newsOnline == 0 && isSwallowedClick(*event))
        return true;
    return QWidget::eventFilter(watched, event);
}

void NewsPane::startWatcher(const DownloadLimits& limits) {
    thread_ = new QThread(this);
    thread_->setObjectName(QStringLiteral("News watcher"));
    auto* watcher = new NewsWatcher(sources_, limits);
    watcher->moveToThread(thread_);
    connect(thread_, &QThread::started, watcher, &NewsWatcher::start);
    connect(thread_, &QThread::finished, watcher, &QObject::deleteLater);
    // What the watcher finds is carried to the pane's thread by its courier, which orders the
    // watcher's work before the pane's; the connections themselves stay on the watcher's thread.
    Courier* courier = Courier::of(this);
    connect(
        watcher, &NewsWatcher::checked, watcher,
        [this, courier](bool reachable) {
            courier->post([this, reachable] {
                state_.newsOnline = reachable ? 1 : 0;
                Q_EMIT newsChecked(reachable);
            });
        },
        Qt::DirectConnection);
    connect(
        watcher, &NewsWatcher::onlinePageArrived, watcher,
        [this, courier](const QString& html, const QUrl& url) {
            courier->post([this, html, url] {
                browser_->showOnlinePage(html, url);
                Q_EMIT onlinePageShown();
            });
        },
        Qt::DirectConnection);
    connect(
        watcher, &NewsWatcher::manualFetched, watcher,
        [this, courier](bool saved) { courier->post([this, saved] { Q_EMIT manualFetched(saved); }); },
        Qt::DirectConnection);
    thread_->start();
}

void NewsPane::stopWatcher() {
    if (thread_ == nullptr)
        return;
    // Quitting also ends a download in progress: its wait returns and it gives up.
    thread_->requestInterruption();
    thread_->quit();
    thread_->wait();
    thread_ = nullptr;
}

void NewsPane::followLink(const QUrl& link) {
    if (state_.newsOnline == 0)
        return;
    // The view hands over links already taken relative to the page shown.
    const QUrl target = browser_->source().resolved(link);
    if (browser_->isOnThisPage(target))
        browser_->scrollToAnchor(target.fragment());
    else
        QDesktopServices::openUrl(target);
}

} // namespace korvan::gui
