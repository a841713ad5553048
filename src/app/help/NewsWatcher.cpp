#include "help/NewsWatcher.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QThread>
#include <QTimer>

namespace korvan::gui {
namespace {

// A news page is small; anything larger is not one.
constexpr qint64 pageLimit = 1024 * 1024;

} // namespace

NewsWatcher::NewsWatcher(NewsSources sources, DownloadLimits limits)
    : sources_(std::move(sources)), limits_(limits) {}

NewsWatcher::~NewsWatcher() = default;

void NewsWatcher::start() {
    manager_ = new QNetworkAccessManager(this);
    manager_->setProxy(proxyFor(sources_.onlinePageUrl()));
    next_ = new QTimer(this);
    next_->setSingleShot(true);
    connect(next_, &QTimer::timeout, this, &NewsWatcher::check);
    check();
}

void NewsWatcher::check() {
    QNetworkRequest request(sources_.onlinePageUrl());
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setTransferTimeout(static_cast<int>(limits_.answerTimeout.count()));
    QNetworkReply* reply = manager_->get(request);
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > pageLimit)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { checkFinished(reply); });
}

void NewsWatcher::checkFinished(QNetworkReply* reply) {
    reply->deleteLater();
    const bool reachable = reply->error() == QNetworkReply::NoError &&
                           reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() == 200;
    const bool turnedReachable = reachable && reachable_.has_value() && !*reachable_;
    const bool firstReachable = reachable && !seenReachable_;
    reachable_ = reachable;
    seenReachable_ = seenReachable_ || reachable;
    Q_EMIT checked(reachable);
    if (turnedReachable)
        Q_EMIT onlinePageArrived(QString::fromUtf8(reply->readAll()), reply->url());
    // Until a copy of the manual has arrived: the first time the server answers, and again
    // each time it comes back.
    if (!manualSaved_ && (firstReachable || turnedReachable))
        fetchManual();
    if (!QThread::currentThread()->isInterruptionRequested())
        next_->start(sources_.checkInterval);
}

void NewsWatcher::fetchManual() {
    manualSaved_ = downloadFile(sources_.manualUrl().toString(), sources_.manualPath(), limits_);
    Q_EMIT manualFetched(manualSaved_);
}

} // namespace korvan::gui
