#include "help/DownloadFile.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QSaveFile>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <memory>

namespace korvan::gui {
namespace {

enum class AttemptResult { Done, Failed, NoAnswer };

bool isWebUrl(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() && (scheme == u"http" || scheme == u"https");
}

int statusOf(const QNetworkReply& reply) {
    return reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

// A body shorter than its announced length was cut off, whatever the transport said. A
// compressed body is measured after decompression, so its announced length says nothing.
bool cutShort(const QNetworkReply& reply, qint64 received) {
    const QVariant announced = reply.header(QNetworkRequest::ContentLengthHeader);
    if (!announced.isValid() || reply.hasRawHeader("Content-Encoding"))
        return false;
    return received != announced.toLongLong();
}

// One request for the file; the body streams into a file beside the target that replaces it
// only when everything arrived.
class Attempt {
public:
    Attempt(QNetworkAccessManager& manager, const QUrl& url, const QString& path,
            const DownloadLimits& limits)
        : limits_(limits), file_(path) {
        QNetworkRequest request(url);
        // Always the server's copy, and nothing kept in a cache.
        request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
        request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
        reply_.reset(manager.get(request));
    }

    AttemptResult run(const QDeadlineTimer& deadline) {
        QEventLoop loop;
        QTimer answerTimer, stallTimer, overallTimer;
        for (QTimer* timer : {&answerTimer, &stallTimer, &overallTimer})
            timer->setSingleShot(true);
        QNetworkReply* reply = reply_.get();
        QObject::connect(reply, &QNetworkReply::metaDataChanged, &loop, [&] {
            answered_ = true;
            answerTimer.stop();
            stallTimer.start(limits_.stallTimeout);
        });
        QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] {
            stallTimer.start(limits_.stallTimeout);
            takeBody();
        });
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        // No answer in time: this attempt ends and may be tried again.
        QObject::connect(&answerTimer, &QTimer::timeout, reply, &QNetworkReply::abort);
        QObject::connect(&stallTimer, &QTimer::timeout, &loop, [this] { fail(); });
        QObject::connect(&overallTimer, &QTimer::timeout, &loop, [this] { fail(); });
        answerTimer.start(limits_.answerTimeout);
        overallTimer.start(std::chrono::milliseconds(deadline.remainingTime()));
        if (!reply->isFinished())
            loop.exec();
        // The loop also ends when the thread is asked to quit: the download is given up.
        if (!reply->isFinished())
            fail();
        takeBody();
        return finish();
    }

private:
    void fail() {
        failed_ = true;
        reply_->abort();
    }

    void takeBody() {
        if (!reply_->isOpen())
            return;
        const QByteArray bytes = reply_->readAll();
        // The body of an answer other than 200 is an error page, not the file.
        if (failed_ || bytes.isEmpty() || statusOf(*reply_) != 200)
            return;
        received_ += bytes.size();
        if (received_ > limits_.maxBytes || (!file_.isOpen() && !file_.open(QIODevice::WriteOnly)) ||
            file_.write(bytes) != bytes.size())
            fail();
    }

    AttemptResult finish() {
        const bool complete = !failed_ && reply_->error() == QNetworkReply::NoError &&
                              statusOf(*reply_) == 200 && !cutShort(*reply_, received_);
        if (complete) {
            if (!file_.isOpen() && !file_.open(QIODevice::WriteOnly))
                return AttemptResult::Failed;
            return file_.commit() ? AttemptResult::Done : AttemptResult::Failed;
        }
        file_.cancelWriting();
        // A certificate that does not verify will not verify on a second try either.
        if (!answered_ && !failed_ && reply_->error() != QNetworkReply::SslHandshakeFailedError)
            return AttemptResult::NoAnswer;
        return AttemptResult::Failed;
    }

    const DownloadLimits& limits_;
    QSaveFile file_;
    std::unique_ptr<QNetworkReply> reply_;
    bool answered_ = false;
    bool failed_ = false;
    qint64 received_ = 0;
};

} // namespace

QNetworkProxy proxyFor(const QUrl& url) {
    const QHostAddress address(url.host());
    if (url.host().compare(u"localhost", Qt::CaseInsensitive) == 0 || address.isLoopback())
        return QNetworkProxy(QNetworkProxy::NoProxy);
    const QList<QNetworkProxy> proxies = QNetworkProxyFactory::systemProxyForQuery(QNetworkProxyQuery(url));
    return proxies.isEmpty() ? QNetworkProxy(QNetworkProxy::NoProxy) : proxies.first();
}

bool downloadFile(const QString& url, const QString& path, const DownloadLimits& limits) {
    const QUrl target(url);
    if (!isWebUrl(target) || path.isEmpty())
        return false;
    QNetworkAccessManager manager;
    manager.setProxy(proxyFor(target));
    const QDeadlineTimer deadline(limits.overallLimit);
    for (int attempt = 0; attempt <= limits.answerRetries; ++attempt) {
        if (deadline.hasExpired() || QThread::currentThread()->isInterruptionRequested())
            return false;
        switch (Attempt(manager, target, path, limits).run(deadline)) {
        case AttemptResult::Done:
            return true;
        case AttemptResult::Failed:
            return false;
        case AttemptResult::NoAnswer:
            break;
        }
    }
    return false;
}

} // namespace korvan::gui
