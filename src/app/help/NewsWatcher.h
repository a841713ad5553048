#pragma once

#include "help/DownloadFile.h"
#include "help/NewsSources.h"

#include <QObject>
#include <QUrl>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

namespace korvan::gui {

// The news pane's watcher, run on a thread of its own: it asks the maker's server for the
// online news page, one check after the other with the sources' interval between them, and
// reports every answer. The first time the page answers it fetches the manual beside the
// program; when the page turns from unreachable to reachable it hands over the page's text,
// since the rich-text view cannot fetch it itself. It touches no widget and no application
// state: its signals reach the user-interface thread queued.
class NewsWatcher : public QObject {
    Q_OBJECT
public:
    explicit NewsWatcher(NewsSources sources, DownloadLimits limits = {});
    ~NewsWatcher() override;

public Q_SLOTS:
    // Starts checking; called on the watcher's thread.
    void start();

Q_SIGNALS:
    void checked(bool reachable);
    void onlinePageArrived(const QString& html, const QUrl& pageUrl);
    void manualFetched(bool saved);

private:
    void check();
    void checkFinished(QNetworkReply* reply);
    void fetchManual();

    NewsSources sources_;
    DownloadLimits limits_;
    QNetworkAccessManager* manager_ = nullptr;
    QTimer* next_ = nullptr;
    // Unknown until the first answer: a page that answers at once is not a transition.
    std::optional<bool> reachable_;
    bool seenReachable_ = false;
    bool manualSaved_ = false;
};

} // namespace korvan::gui
