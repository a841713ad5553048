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
    // Set first, so that the pictures the page names are not looked up beside the program.
    onlinePage_ = pageUrl;
    setHtml(html);
}

QUrl NewsBrowser::resolveLink(const QUrl& link) const {
    return showsOnlinePage() ? onlinePage_.resolved(link) : source().resolved(link);
}

QVariant NewsBrowser::loadResource(int type, const QUrl& name) {
    if (showsOnlinePage())
        return {};
    return QTextBrowser::loadResource(type, name);
}

} // namespace korvan::gui
