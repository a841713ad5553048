#include "app/StartSequence.h"
#include "help/AboutBox.h"
#include "help/HelpAndAbout.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

using namespace korvan;

namespace {

class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl& url) { opened.append(url); }
};

QString installed(const char* name) {
    return QStringLiteral(KORVAN_BIN_DIR "/") + QLatin1String(name);
}

QString textOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList labelTexts(const QWidget& box) {
    QStringList texts;
    for (const QLabel* label : box.findChildren<QLabel*>())
        texts.append(label->text());
    return texts;
}

} // namespace

class HelpAndAboutTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The page beside the program goes to the desktop's handler, whether or not it is there.
    void helpContentOpensThePageBesideTheProgram() {
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler("file", &recorder, "open");
        gui::openHelpContent();
        QDesktopServices::unsetUrlHandler("file");
        QCOMPARE(recorder.opened,
                 QList<QUrl>{QUrl::fromLocalFile(QString::fromStdString(programFile("Korvan.html")))});
        QCOMPARE(gui::helpContentUrl(), recorder.opened.first());
    }

    // The installed guide is one page: every link of its contents leads to a place in it,
    // and it names nothing outside itself.
    void helpPageIsSelfContained() {
        const QString page = textOf(installed("Korvan.html"));
        QVERIFY(page.contains("<title>Korvan user guide</title>"));
        QSet<QString> places;
        for (const auto& match : QRegularExpression(R"re((?:id|name)="([^"]+)")re").globalMatch(page))
            places.insert(match.captured(1));
        int links = 0;
        for (const auto& match : QRegularExpression(R"re(href="([^"]*)")re").globalMatch(page)) {
            const QString target = match.captured(1);
            QVERIFY2(target.startsWith('#'), qPrintable(target));
            QVERIFY2(places.contains(target.mid(1)), qPrintable(target));
            ++links;
        }
        QVERIFY(links > 20);
        QVERIFY(!page.contains("src="));
        QVERIFY(!page.contains("<link"));
        QVERIFY(!page.contains("url("));
    }

    void helpPageReadsInARichTextView() {
        QTextBrowser view;
        view.setSource(QUrl::fromLocalFile(installed("Korvan.html")));
        const QString text = view.toPlainText();
        for (const char* heading : {"Korvan user guide", "Auto Mapping", "Conflict Detection", "Download",
                                    "Serial Debugging Assistant", "Troubleshooting"})
            QVERIFY2(text.contains(QLatin1String(heading)), heading);
    }

    void aboutBoxShowsNameVersionMakerAndPicture() {
        gui::AboutBox box(installed("TrevikCompany.png"));
        QCOMPARE(box.windowTitle(), QStringLiteral("About Korvan"));
        const QStringList texts = labelTexts(box);
        QVERIFY(texts.contains("Korvan"));
        QVERIFY(texts.contains("Trevik Automation"));
        QVERIFY(!texts.filter(QRegularExpression(R"(^Version \d+\.\d+\.\d+$)")).isEmpty());
        QVERIFY(box.pictureArea()->hasPicture());
        QCOMPARE(box.pictureArea()->picture().format(), QImage::Format_ARGB32_Premultiplied);
        for (const QWidget* widget : box.findChildren<QWidget*>()) {
            if (qobject_cast<const QLabel*>(widget) || qobject_cast<const QPushButton*>(widget) ||
                widget == box.pictureArea())
                QVERIFY2(!widget->accessibleName().isEmpty(), widget->metaObject()->className());
        }
        QCOMPARE(box.okButton()->accessibleName(), QStringLiteral("OK"));
    }

    // Each colour is scaled by its alpha, and the picture is blended over the dialog: a
    // transparent pixel shows the dialog's own background.
    void pictureIsDrawnWithItsAlpha() {
        QTemporaryDir folder;
        const QString path = folder.filePath("TrevikCompany.png");
        QImage picture(40, 20, QImage::Format_ARGB32);
        picture.fill(qRgba(0, 0, 0, 0));
        for (int y = 0; y < 20; ++y)
            for (int x = 20; x < 40; ++x)
                picture.setPixel(x, y, qRgba(200, 100, 50, 128));
        QVERIFY(picture.save(path));

        gui::AboutBox box(path);
        const QRgb stored = box.pictureArea()->picture().pixel(30, 10);
        QCOMPARE(qAlpha(stored), 128);
        QVERIFY(qAbs(qRed(stored) - 200 * 128 / 255) <= 1);
        QVERIFY(qAbs(qGreen(stored) - 100 * 128 / 255) <= 1);
        QVERIFY(qAbs(qBlue(stored) - 50 * 128 / 255) <= 1);

        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        const QImage drawn = box.pictureArea()->grab().toImage();
        QCOMPARE(box.pictureArea()->size(), QSize(40, 20));
        QCOMPARE(QColor(drawn.pixel(5, 10)), box.palette().color(QPalette::Window));
        const QColor blended(drawn.pixel(30, 10));
        const QColor under = box.palette().color(QPalette::Window);
        QVERIFY(qAbs(blended.red() - (200 * 128 + under.red() * 127) / 255) <= 2);
    }

    void aboutBoxCopesWithoutThePicture() {
        gui::AboutBox box(QStringLiteral("/nonexistent/TrevikCompany.png"));
        QVERIFY(!box.pictureArea()->hasPicture());
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QVERIFY(!box.grab().isNull());
        QVERIFY(labelTexts(box).contains("Trevik Automation"));
    }

    // Help / About runs the box modally; OK closes it.
    void showAboutBoxIsModalAndClosesWithOk() {
        QWidget parent;
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<gui::AboutBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            seen = true;
            QTest::mouseClick(box->okButton(), Qt::LeftButton);
        });
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        });
        watchdog.start(10000);
        gui::showAboutBox(&parent);
        QVERIFY(seen);
        QVERIFY(watchdog.isActive());
    }
};

QTEST_MAIN(HelpAndAboutTest)
#include "help_and_about_test.moc"
