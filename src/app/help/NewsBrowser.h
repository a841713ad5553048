#pragma once

#include <QTextBrowser>
#include <QUrl>

namespace korvan::gui {

// The rich-text view of the news pane. A local page loads its pictures from beside itself;
// a page from the maker's server is shown as text only, since the view never reaches the
// network and must not read local files on a remote page's behalf.
class NewsBrowser : public QTextBrowser {
    Q_OBJECT
public:
    explicit NewsBrowser(QWidget* parent = nullptr);

    void showLocalPage(const QString& path);
    void showOnlinePage(const QString& html, const QUrl& pageUrl);

    [[nodiscard]] bool showsOnlinePage() const { return !onlinePage_.isEmpty(); }
    // Whether a link leads to a place on the page shown.
    [[nodiscard]] bool isOnThisPage(const QUrl& link) const;

    QVariant loadResource(int type, const QUrl& name) override;

private:
    QUrl onlinePage_;
    QString onlineHtml_;
};

} // namespace korvan::gui
