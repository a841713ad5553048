#include "help/NewsBrowser.h"

#include <QFileInfo>

namespace korvan::gui {

NewsBrowser::NewsBrowser(QWidget* parent) : QTextBrowser(parent) {
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setAccessibleName(QStringLiteral("News"));
}

void NewsBrowser::showLocalPage(const QString& path) {
    onlinePage_.clear();
    if (QFileInfo(path).isFile())
        setSource(QUrl::fromLocalFile(path), QTextDocument::HtmlResource);
    else
        setPlainText(QStringLiteral("No news page is installed beside the program."));
}

void NewsBrowser::showOnlinePage(const QString& html, const QUrl& pageUrl) {
    // The page becomes the view's source, so that its links are taken relative to it; the
    // view asks loadResource for it and gets the text fetched.
    onlinePage_ = pageUrl;
    onlineHtml_ = html;
    if (source() == pageUrl)
        reload();
    else
        setSource(pageUrl, QTextDocument::HtmlResource);
    clearHistory();
}

bool NewsBrowser::isOnThisPage(const QUrl& link) const {
    return link.hasFragment() &&
           link.adjusted(QUrl::RemoveFragment) == source().adjusted(QUrl::RemoveFragment);
}

QVariant NewsBrowser::loadResource(int type, const QUrl& name) {
    if (!showsOnlinePage())
        return QTextBrowser::loadResource(type, name);
    if (type == QTextDocument::HtmlResource &&
        name.adjusted(QUrl::RemoveFragment) == onlinePage_.adjusted(QUrl::RemoveFragment))
        return onlineHtml_;
    return {};
}

} // namespace korvan::gui
