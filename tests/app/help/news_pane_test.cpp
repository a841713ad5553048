#include "LocalHttpServer.h"
#include "app/AppState.h"
#include "help/NewsBrowser.h"
#include "help/NewsPane.h"

#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QNetworkAccessManager>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QThread>

using namespace korvan;
using namespace std::chrono_literals;
using Behaviour = test::LocalHttpServer::Behaviour;

namespace {

constexpr int waitLimit = 10000;
const QString pagePath = QStringLiteral("/advertising_bottom/Korvan.html");
const QString manualPath = QStringLiteral("/DownloadData/SoftwareContent/Korvan_V3.0.pdf");
const QByteArray manual = QByteArray("%PDF-1.4 the manual ").repeated(500);
const QByteArray onlinePage =
    "<html><body><h1>Online news</h1><p><a href=\"next.html\">Next</a></p></body></html>";

// Records what the pane hands to the desktop's default handler instead of opening it.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl& url) { opened.append(url); }
};

// A program folder of its own with a local news page holding two links.
struct ProgramFolder {
    ProgramFolder() {
        QDir(folder.path()).mkpath("advertising_bottom");
        QFile page(localPage());
        if (page.open(QIODevice::WriteOnly))
            page.write("<html><body><h1>Fixture news</h1>"
                       "<p><a href=\"https://127.0.0.1:9/offer\">An offer</a></p>"
                       "<p><a href=\"more.html\">More news</a></p></body></html>");
    }
    [[nodiscard]] QString localPage() const { return folder.filePath("advertising_bottom/Korvan.html"); }
    [[nodiscard]] QString manualFile() const { return folder.filePath("Korvan.pdf"); }

    QTemporaryDir folder;
};

gui::NewsSources sourcesFor(const QString& server, const QString& directory) {
    gui::NewsSources sources;
    sources.server = server;
    sources.programDirectory = directory;
    sources.checkInterval = 50ms;
    return sources;
}

gui::DownloadLimits quickLimits() {
    gui::DownloadLimits limits;
    // A stopped server refuses at once; a running one has ample time to answer.
    limits.answerTimeout = 3000ms;
    limits.stallTimeout = 20000ms;
    return limits;
}

void serveNews(test::LocalHttpServer& server) {
    server.setRoute(pagePath, {200, onlinePage});
    server.setRoute(manualPath, {200, manual});
}

// The middle of the link with this target, in the browser's viewport.
QPoint linkPoint(const QTextBrowser& browser, const QString& href) {
    const QTextDocument* document = browser.document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            if (fragment.fragment().charFormat().anchorHref() != href)
                continue;
            QTextCursor cursor(const_cast<QTextDocument*>(document));
            cursor.setPosition(fragment.fragment().position() + fragment.fragment().length() / 2);
            return browser.cursorRect(cursor).center();
        }
    }
    return {-1, -1};
}

void clickLink(gui::NewsPane& pane, const QString& href, Qt::MouseButton button = Qt::LeftButton) {
    const QPoint point = linkPoint(*pane.browser(), href);
    QVERIFY2(point.x() >= 0, qPrintable("no link to " + href));
    QTest::mouseClick(pane.browser()->viewport(), button, {}, point);
}

void showPane(gui::NewsPane& pane) {
    pane.resize(640, 320);
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
}

} // namespace

class NewsPaneTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        QVERIFY(settingsFolder_.isValid());
        QCoreApplication::setOrganizationName("Korvan news pane test");
        QCoreApplication::setApplicationName("Korvan");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder_.path());
        for (const char* scheme : {"http", "https", "file"})
            QDesktopServices::setUrlHandler(scheme, &recorder_, "open");
    }

    void cleanupTestCase() {
        for (const char* scheme : {"http", "https", "file"})
            QDesktopServices::unsetUrlHandler(scheme);
    }

    void init() {
        recorder_.opened.clear();
        QSettings().clear();
    }

    void showsTheInstalledLocalPage() {
        AppState state;
        gui::NewsPane pane(state, sourcesFor({}, KORVAN_BIN_DIR));
        QVERIFY(pane.browser()->toPlainText().contains("Korvan news"));
        QVERIFY(!pane.browser()->showsOnlinePage());
        QVERIFY(pane.browser()->isReadOnly());
    }

    void missingLocalPageShowsANote() {
        QTemporaryDir empty;
        AppState state;
        gui::NewsPane pane(state, sourcesFor({}, empty.path()));
        QCOMPARE(pane.browser()->toPlainText(),
                 QStringLiteral("No news page is installed beside the program."));
    }

    // Clicks are swallowed while the maker's page is not reachable; once it is, a link opens
    // its target, relative ones beside the page.
    void linksOpenOnlyWhileOnline() {
        ProgramFolder program;
        AppState state;
        gui::NewsPane pane(state, sourcesFor({}, program.folder.path()));
        showPane(pane);

        clickLink(pane, "https://127.0.0.1:9/offer");
        clickLink(pane, "more.html", Qt::RightButton);
        QVERIFY(recorder_.opened.isEmpty());

        state.newsOnline = 1;
        clickLink(pane, "https://127.0.0.1:9/offer");
        clickLink(pane, "more.html");
        QCOMPARE(recorder_.opened,
                 QList<QUrl>({QUrl("https://127.0.0.1:9/offer"),
                              QUrl::fromLocalFile(program.folder.filePath("advertising_bottom/more.html"))}));
    }

    void noUsableServerMeansNoWatcher_data() {
        QTest::addColumn<QVariant>("configured");
        QTest::newRow("nothing set") << QVariant();
        QTest::newRow("empty") << QVariant(QString());
        QTest::newRow("ftp") << QVariant("ftp://127.0.0.1/");
        QTest::newRow("no scheme") << QVariant("news.example");
    }

    // Without a server nothing is started and nothing goes over the network.
    void noUsableServerMeansNoWatcher() {
        QFETCH(QVariant, configured);
        if (configured.isValid())
            QSettings().setValue(gui::newsServerKey, configured);
        AppState state;
        gui::NewsPane pane(state);
        QVERIFY(!pane.watcherRunning());
        QVERIFY(pane.findChildren<QThread*>().isEmpty());
        QVERIFY(pane.findChildren<QNetworkAccessManager*>().isEmpty());
        QCOMPARE(state.newsOnline, 0);
    }

    void usableServers_data() {
        QTest::addColumn<QString>("configured");
        QTest::addColumn<QString>("usable");
        QTest::newRow("https") << "https://news.example"
                               << "https://news.example";
        QTest::newRow("http with port and slash") << "http://127.0.0.1:8080/"
                                                  << "http://127.0.0.1:8080/";
        QTest::newRow("blanks around") << "  https://news.example  "
                                       << "https://news.example";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("ftp") << "ftp://news.example"
                             << "";
        QTest::newRow("scheme only") << "https://"
                                     << "";
        QTest::newRow("script") << "javascript:alert(1)"
                                << "";
        QTest::newRow("query") << "https://news.example/?a=1"
                               << "";
    }

    void usableServers() {
        QFETCH(QString, configured);
        QFETCH(QString, usable);
        QCOMPARE(gui::usableNewsServer(configured), usable);
    }

    void serverPathsAreBelowTheBase() {
        const gui::NewsSources sources = sourcesFor("https://news.example/", "/opt/korvan");
        QCOMPARE(sources.onlinePageUrl(), QUrl("https://news.example/advertising_bottom/Korvan.html"));
        QCOMPARE(sources.manualUrl(),
                 QUrl("https://news.example/DownloadData/SoftwareContent/Korvan_V3.0.pdf"));
        QCOMPARE(sources.localPagePath(), QStringLiteral("/opt/korvan/advertising_bottom/Korvan.html"));
        QCOMPARE(sources.manualPath(), QStringLiteral("/opt/korvan/Korvan.pdf"));
    }

    // The server named in the settings is the one watched. It has no manual, so nothing is
    // written beside the test program.
    void settingsNameTheServer() {
        test::LocalHttpServer server;
        server.setRoute(pagePath, {200, onlinePage});
        QVERIFY(server.start());
        QSettings().setValue(gui::newsServerKey, server.base());
        AppState state;
        gui::NewsPane pane(state);
        QSignalSpy fetched(&pane, &gui::NewsPane::manualFetched);
        QVERIFY(pane.watcherRunning());
        QTRY_COMPARE_WITH_TIMEOUT(state.newsOnline, 1, waitLimit);
        QTRY_COMPARE_WITH_TIMEOUT(fetched.count(), 1, waitLimit);
        QCOMPARE(fetched.first().first().toBool(), false);
    }

    // Reachable from the start: the manual is fetched and the local page stays; the online
    // page is shown only after the server was gone once and came back.
    void reachableFromTheStart() {
        test::LocalHttpServer server;
        serveNews(server);
        QVERIFY(server.start());
        ProgramFolder program;
        AppState state;
        gui::NewsPane pane(state, sourcesFor(server.base(), program.folder.path()), nullptr, quickLimits());
        QSignalSpy fetched(&pane, &gui::NewsPane::manualFetched);
        QSignalSpy shown(&pane, &gui::NewsPane::onlinePageShown);
        QTRY_COMPARE_WITH_TIMEOUT(state.newsOnline, 1, waitLimit);
        QTRY_COMPARE_WITH_TIMEOUT(fetched.count(), 1, waitLimit);
        QCOMPARE(fetched.first().first().toBool(), true);
        QFile saved(program.manualFile());
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), manual);
        QVERIFY(pane.browser()->toPlainText().contains("Fixture news"));

        const quint16 port = server.port();
        server.stop();
        QTRY_COMPARE_WITH_TIMEOUT(state.newsOnline, 0, waitLimit);
        QCOMPARE(shown.count(), 0);
        QVERIFY(server.start(port));
        QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 1, waitLimit);
        QCOMPARE(state.newsOnline, 1);
        QVERIFY(pane.browser()->showsOnlinePage());
        QVERIFY(pane.browser()->toPlainText().contains("Online news"));
        QCOMPARE(server.requestedPaths().count(manualPath), 1);

        showPane(pane);
        clickLink(pane, "next.html");
        QCOMPARE(recorder_.opened, QList<QUrl>{server.url("/advertising_bottom/next.html")});
    }

    void unreachableThenReachable() {
        test::LocalHttpServer server;
        serveNews(server);
        QVERIFY(server.start());
        const quint16 port = server.port();
        const QString base = server.base();
        server.stop();
        ProgramFolder program;
        AppState state;
        gui::NewsPane pane(state, sourcesFor(base, program.folder.path()), nullptr, quickLimits());
        QSignalSpy checked(&pane, &gui::NewsPane::newsChecked);
        QSignalSpy shown(&pane, &gui::NewsPane::onlinePageShown);
        QSignalSpy fetched(&pane, &gui::NewsPane::manualFetched);
        QTRY_VERIFY_WITH_TIMEOUT(checked.count() > 0, waitLimit);
        QCOMPARE(checked.first().first().toBool(), false);
        QCOMPARE(state.newsOnline, 0);
        QVERIFY(!QFile::exists(program.manualFile()));

        QVERIFY(server.start(port));
        QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 1, waitLimit);
        QCOMPARE(state.newsOnline, 1);
        QVERIFY(pane.browser()->toPlainText().contains("Online news"));
        QTRY_COMPARE_WITH_TIMEOUT(fetched.count(), 1, waitLimit);
        QCOMPARE(fetched.first().first().toBool(), true);
    }

    // Closing the pane in the middle of fetching the manual ends the watcher at once and
    // leaves neither a manual nor a piece of one.
    void stopsPromptlyWhileFetchingTheManual() {
        test::LocalHttpServer server;
        server.setRoute(pagePath, {200, onlinePage});
        server.setRoute(manualPath, {200, manual, Behaviour::StallMidBody});
        QVERIFY(server.start());
        ProgramFolder program;
        AppState state;
        auto pane = std::make_unique<gui::NewsPane>(state, sourcesFor(server.base(), program.folder.path()),
                                                    nullptr, quickLimits());
        QPointer<QThread> watcher = pane->findChild<QThread*>();
        QVERIFY(watcher);
        QTRY_VERIFY_WITH_TIMEOUT(server.requestedPaths().contains(manualPath), waitLimit);

        QElapsedTimer closing;
        closing.start();
        pane.reset();
        QVERIFY2(closing.elapsed() < 5000, qPrintable(QString::number(closing.elapsed())));
        QVERIFY(watcher.isNull());
        QCOMPARE(QDir(program.folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
                 QStringList{});
    }

private:
    QTemporaryDir settingsFolder_;
    UrlRecorder recorder_;
};

QTEST_MAIN(NewsPaneTest)
#include "news_pane_test.moc"
