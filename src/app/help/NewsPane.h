#pragma once

#include "help/DownloadFile.h"
#include "help/NewsSources.h"

#include <QWidget>

class QThread;

namespace korvan {
struct AppState;
}

namespace korvan::gui {

class NewsBrowser;
class NewsWatcher;

// The "News" tab: the local news page beside the program, shown as rich text, and, when a
// maker's server is configured, the watcher that switches to the online page.
//
// Clicks into the page are swallowed while the maker's page is not reachable (newsOnline 0);
// once it is, a click on a link opens its target with the desktop's default handler. The
// watcher runs on its own thread and posts what it finds to this pane, which alone writes
// newsOnline, on the user-interface thread. It stops with the pane.
class NewsPane : public QWidget {
    Q_OBJECT
public:
    // The sources of the running program: the server from the settings (none by default).
    explicit NewsPane(AppState& state, QWidget* parent = nullptr);
    NewsPane(AppState& state, NewsSources sources, QWidget* parent = nullptr, DownloadLimits limits = {});
    ~NewsPane() override;

    [[nodiscard]] NewsBrowser* browser() const { return browser_; }
    // Whether a watcher thread was started (a server is configured).
    [[nodiscard]] bool watcherRunning() const;

Q_SIGNALS:
    // Each answer of the watcher, after newsOnline has been set from it.
    void newsChecked(bool reachable);
    // The online page is shown.
    void onlinePageShown();
    void manualFetched(bool saved);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void startWatcher(const DownloadLimits& limits);
    void followLink(const QUrl& link);
    void stopWatcher();

    AppState& state_;
    NewsSources sources_;
    NewsBrowser* browser_;
    QThread* thread_ = nullptr;
};

} // namespace korvan::gui
