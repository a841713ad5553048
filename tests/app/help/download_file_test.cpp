#include "LocalHttpServer.h"
#include "help/DownloadFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSslKey>
#include <QSslSocket>
#include <QTemporaryDir>
#include <QTest>

using namespace korvan;
using namespace std::chrono_literals;
using Behaviour = test::LocalHttpServer::Behaviour;

namespace {

const QByteArray manual = QByteArray("%PDF-1.4 manual body ").repeated(2000);
const QByteArray oldCopy = "the copy from last time";

// Shorter limits than the program's, so that the time-outs are seen in a few seconds, yet
// long enough for a loaded machine.
gui::DownloadLimits quickLimits() {
    gui::DownloadLimits limits;
    limits.answerTimeout = 1500ms;
    limits.stallTimeout = 1500ms;
    limits.overallLimit = 20000ms;
    return limits;
}

QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QStringList filesIn(const QTemporaryDir& folder) {
    return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

// A self-signed certificate for 127.0.0.1, made now, so that it is valid by this machine's
// clock. Nothing trusts it unless a test says so.
struct LoopbackCertificate {
    QSslCertificate certificate;
    QSslKey key;
};

std::optional<LoopbackCertificate> makeLoopbackCertificate(const QTemporaryDir& folder) {
    QProcess openssl;
    openssl.setWorkingDirectory(folder.path());
    openssl.start(QStringLiteral("openssl"),
                  {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "key.pem", "-out", "cert.pem",
                   "-days", "2", "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1"});
    if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0)
        return std::nullopt;
    QFile certFile(folder.filePath("cert.pem")), keyFile(folder.filePath("key.pem"));
    if (!certFile.open(QIODevice::ReadOnly) || !keyFile.open(QIODevice::ReadOnly))
        return std::nullopt;
    LoopbackCertificate made{QSslCertificate(&certFile, QSsl::Pem), QSslKey(&keyFile, QSsl::Rsa, QSsl::Pem)};
    if (made.certificate.isNull() || made.key.isNull())
        return std::nullopt;
    return made;
}

} // namespace

class DownloadFileTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void plainHttp_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("behaviour");
        QTest::addColumn<bool>("saved");
        QTest::newRow("200 with a body") << 200 << manual << int(Behaviour::Answer) << true;
        QTest::newRow("200 with an empty body") << 200 << QByteArray() << int(Behaviour::Answer) << true;
        QTest::newRow("404") << 404 << QByteArray("no such manual") << int(Behaviour::Answer) << false;
        QTest::newRow("500") << 500 << QByteArray("server trouble") << int(Behaviour::Answer) << false;
        QTest::newRow("connection closed mid-body") << 200 << manual << int(Behaviour::CloseMidBody) << false;
        QTest::newRow("body stalls") << 200 << manual << int(Behaviour::StallMidBody) << false;
    }

    // With no copy yet, the file appears with exactly the body, or not at all; an old copy is
    // replaced only by a complete new one; nothing else is left in the folder.
    void plainHttp() {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(int, behaviour);
        QFETCH(bool, saved);
        test::LocalHttpServer server;
        server.setRoute("/Korvan.pdf", {status, body, Behaviour(behaviour)});
        QVERIFY(server.start());
        for (const bool hadOldCopy : {false, true}) {
            QTemporaryDir folder;
            const QString target = folder.filePath("Korvan.pdf");
            if (hadOldCopy)
                writeFile(target, oldCopy);

            QCOMPARE(gui::downloadFile(server.url("/Korvan.pdf").toString(), target, quickLimits()), saved);

            if (saved)
                QCOMPARE(contentsOf(target), body);
            else if (hadOldCopy)
                QCOMPARE(contentsOf(target), oldCopy);
            else
                QVERIFY(!QFile::exists(target));
            QCOMPARE(filesIn(folder), (saved || hadOldCopy) ? QStringList{"Korvan.pdf"} : QStringList{});
        }
    }

    // A server that accepts the connection but never answers is given one more try.
    void noAnswerIsTriedOnceMore() {
        test::LocalHttpServer server;
        server.setRoute("/Korvan.pdf", {200, manual, Behaviour::NeverAnswer});
        QVERIFY(server.start());
        QTemporaryDir folder;
        QVERIFY(!gui::downloadFile(server.url("/Korvan.pdf").toString(), folder.filePath("Korvan.pdf"),
                                   quickLimits()));
        QCOMPARE(server.requestedPaths(), QStringList({"/Korvan.pdf", "/Korvan.pdf"}));
        QCOMPARE(filesIn(folder), QStringList{});
    }

    void nothingListening() {
        test::LocalHttpServer server;
        QVERIFY(server.start());
        const QUrl url = server.url("/Korvan.pdf");
        server.stop();
        QTemporaryDir folder;
        QVERIFY(!gui::downloadFile(url.toString(), folder.filePath("Korvan.pdf"), quickLimits()));
        QCOMPARE(filesIn(folder), QStringList{});
    }

    void otherAddresses_data() {
        QTest::addColumn<QString>("url");
        QTest::newRow("ftp") << "ftp://127.0.0.1:%1/Korvan.pdf";
        QTest::newRow("file") << "file:///etc/hostname";
        QTest::newRow("no scheme") << "127.0.0.1:%1/Korvan.pdf";
        QTest::newRow("scheme only") << "http://";
        QTest::newRow("empty") << "";
        QTest::newRow("httpx") << "httpx://127.0.0.1:%1/Korvan.pdf";
    }

    // Only http and https are fetched; anything else answers false without a connection.
    void otherAddresses() {
        QFETCH(QString, url);
        test::LocalHttpServer server;
        server.setRoute("/Korvan.pdf", {200, manual});
        QVERIFY(server.start());
        QTemporaryDir folder;
        const QString address = url.contains("%1") ? url.arg(server.port()) : url;
        QVERIFY(!gui::downloadFile(address, folder.filePath("Korvan.pdf"), quickLimits()));
        QCOMPARE(server.connections(), 0);
        QCOMPARE(filesIn(folder), QStringList{});
    }

    void targetFolderMissing() {
        test::LocalHttpServer server;
        server.setRoute("/Korvan.pdf", {200, manual});
        QVERIFY(server.start());
        QTemporaryDir folder;
        QVERIFY(!gui::downloadFile(server.url("/Korvan.pdf").toString(), folder.filePath("gone/Korvan.pdf"),
                                   quickLimits()));
        QCOMPARE(filesIn(folder), QStringList{});
    }

    // A certificate nobody vouches for is a failed download, not one to accept anyway; the
    // same server is fetched from once its certificate is trusted.
    void httpsVerifiesTheCertificate() {
        if (!QSslSocket::supportsSsl())
            QFAIL("Qt has no TLS backend here");
        QTemporaryDir keys;
        const auto made = makeLoopbackCertificate(keys);
        if (!made)
            QSKIP("the openssl command could not make a test certificate");
        QSslConfiguration serving = QSslConfiguration::defaultConfiguration();
        serving.setLocalCertificate(made->certificate);
        serving.setPrivateKey(made->key);
        test::LocalHttpServer server;
        server.useTls(serving);
        server.setRoute("/Korvan.pdf", {200, manual});
        QVERIFY(server.start());

        QTemporaryDir folder;
        const QString target = folder.filePath("Korvan.pdf");
        writeFile(target, oldCopy);
        QVERIFY(!gui::downloadFile(server.url("/Korvan.pdf").toString(), target, quickLimits()));
        QVERIFY(server.connections() >= 1);
        QVERIFY(server.requestedPaths().isEmpty());
        QCOMPARE(contentsOf(target), oldCopy);
        QCOMPARE(filesIn(folder), QStringList{"Korvan.pdf"});

        const QSslConfiguration before = QSslConfiguration::defaultConfiguration();
        QSslConfiguration trusting = before;
        trusting.addCaCertificate(made->certificate);
        QSslConfiguration::setDefaultConfiguration(trusting);
        const bool saved = gui::downloadFile(server.url("/Korvan.pdf").toString(), target, quickLimits());
        QSslConfiguration::setDefaultConfiguration(before);
        QVERIFY(saved);
        QCOMPARE(contentsOf(target), manual);
    }
};

QTEST_MAIN(DownloadFileTest)
#include "download_file_test.moc"
