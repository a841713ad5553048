#include "help/NewsSources.h"

#include "app/StartSequence.h"

#include <QDir>
#include <QSettings>

namespace korvan::gui {
namespace {

constexpr const char* onlinePagePath = "/advertising_bottom/Korvan.html";
constexpr const char* onlineManualPath = "/DownloadData/SoftwareContent/Korvan_V3.0.pdf";

QUrl onServer(const QString& server, const char* path) {
    if (server.isEmpty())
        return {};
    QString base = server;
    while (base.endsWith(u'/'))
        base.chop(1);
    return QUrl(base + QLatin1String(path));
}

} // namespace

QString NewsSources::localPagePath() const {
    return QDir(programDirectory).filePath(QStringLiteral("advertising_bottom/Korvan.html"));
}

QString NewsSources::manualPath() const {
    return QDir(programDirectory).filePath(QStringLiteral("Korvan.pdf"));
}

QUrl NewsSources::onlinePageUrl() const {
    return onServer(server, onlinePagePath);
}

QUrl NewsSources::manualUrl() const {
    return onServer(server, onlineManualPath);
}

QString usableNewsServer(const QString& configured) {
    const QString text = configured.trimmed();
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != u"http" && scheme != u"https") ||
        url.hasQuery() || url.hasFragment())
        return {};
    return text;
}

NewsSources newsSourcesFromSettings() {
    NewsSources sources;
    sources.server = usableNewsServer(QSettings().value(QLatin1String(newsServerKey)).toString());
    sources.programDirectory = QString::fromStdString(programFile(""));
    return sources;
}

} // namespace korvan::gui
