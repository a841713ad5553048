#include "WindowFixture.h"
#include "app/StartSequence.h"
#include "model/CHartbus.h"
#include "model/CProductTarn.h"
#include "projectfile/ProjectFile.h"
#include "support/ProductDescription.h"
#include "support/SampleProjects.h"

#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>

using namespace korvan;
using namespace korvan::gui;

Q_DECLARE_METATYPE(korvan::Answer)

namespace {

const std::string question = "Configuration has changed,Save it or not?";
const std::string saved = "Successfully Saved!";
using Strings = std::vector<std::string>;

// A project file of the model with the sample project's nodes and commands.
std::string writeProject(const test::TempDir& folder, const std::string& name, GatewayModel model) {
    AppState state;
    CProductTarn product;
    startProduct(state, product, model);
    test::fillSampleProject(product);
    const std::string path = folder.file(name);
    if (!saveToFile(product, path).ok)
        qFatal("cannot write %s", path.c_str());
    return path;
}

bool hasNodes(const CProductTarn& product) {
    for (std::size_t i = 0; product.channel(i) != nullptr; ++i)
        if (!product.channel(i)->currentNodes().empty())
            return true;
    return false;
}

// The project is changed as the tree and the grid change it.
void makeDirty(test::WindowFixture& fixture) {
    test::fillSampleProject(fixture.core().product);
    fixture.core().state.projectDirty = true;
}

QStringList recentEntries(const CMainFrame& window) {
    QStringList texts;
    for (const QAction* action : window.recentFilesMenu()->actions())
        texts << action->text();
    return texts;
}

} // namespace

class DocumentTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void newAsksAboutADirtyProjectAndFollowsTheAnswer_data() {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("chooseFile");
        QTest::addColumn<bool>("created");
        QTest::newRow("No drops the changes") << Answer::No << false << true;
        QTest::newRow("Cancel keeps the project") << Answer::Cancel << false << false;
        QTest::newRow("Yes saves under a chosen name") << Answer::Yes << true << true;
        // Yes asked for the changes to be kept: a cancelled save dialog keeps the project.
        QTest::newRow("Yes with the save dialog cancelled keeps the project")
            << Answer::Yes << false << false;
    }
    void newAsksAboutADirtyProjectAndFollowsTheAnswer() {
        QFETCH(Answer, answer);
        QFETCH(bool, chooseFile);
        QFETCH(bool, created);
        test::WindowFixture fixture(GatewayModel::Vela3hTcp);
        makeDirty(fixture);
        const std::string kept = test::describeProduct(fixture.core().product);
        const std::string chosen = fixture.folder.file("chosen.xml");
        fixture.prompt().answerNext(answer);
        fixture.prompt().chooseNext(chooseFile ? std::optional(chosen) : std::nullopt);
        QSignalSpy replaced(&fixture.projects(), &ProjectController::projectReplaced);

        fixture.actions().newProject->trigger();
        QCOMPARE(fixture.prompt().asked, std::vector{QuestionId::SaveChanges});
        const Strings expected = chooseFile ? Strings{question, saved} : Strings{question};
        QCOMPARE(fixture.prompt().shown, expected);
        QCOMPARE(std::filesystem::exists(chosen), chooseFile);
        QCOMPARE(replaced.count(), created ? 1 : 0);
        QCOMPARE(hasNodes(fixture.core().product), !created);
        if (!created) {
            QCOMPARE(test::describeProduct(fixture.core().product), kept);
            QVERIFY(fixture.core().state.projectDirty);
        }
    }

    void aCleanProjectIsReplacedWithoutAQuestion() {
        test::WindowFixture fixture(GatewayModel::Vela3hTcp);
        QVERIFY(!fixture.core().state.projectDirty); // the template leaves the project clean
        fixture.actions().newProject->trigger();
        QVERIFY(fixture.prompt().shown.empty());

        // Opening never asks, even over unsaved changes.
        const std::string path = writeProject(fixture.folder, "other.xml", GatewayModel::Vela3hTcp);
        makeDirty(fixture);
        fixture.nextOpen = path;
        fixture.actions().open->trigger();
        QVERIFY(fixture.prompt().shown.empty());
        QCOMPARE(fixture.window->windowTitle(), QString::fromStdString(path));
        QVERIFY(!fixture.core().state.projectDirty);
    }

    void theCloseBoxAsksAndCancelKeepsTheWindowOpen_data() {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("chooseFile");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Cancel") << Answer::Cancel << false << false;
        QTest::newRow("No") << Answer::No << false << true;
        QTest::newRow("Yes, saved") << Answer::Yes << true << true;
        QTest::newRow("Yes, the save dialog cancelled") << Answer::Yes << false << false;
    }
    void theCloseBoxAsksAndCancelKeepsTheWindowOpen() {
        QFETCH(Answer, answer);
        QFETCH(bool, chooseFile);
        QFETCH(bool, closes);
        test::WindowFixture fixture(GatewayModel::Vela3hRtu);
        CMainFrame& window = *fixture.window;
        window.show();
        makeDirty(fixture);
        fixture.prompt().answerNext(answer);
        fixture.prompt().chooseNext(chooseFile ? std::optional(fixture.folder.file("closing.xml"))
                                               : std::nullopt);
        QSignalSpy closed(&window, &CMainFrame::closed);

        fixture.actions().exit->trigger(); // File / Exit closes as the close box does
        QCOMPARE(fixture.prompt().asked, std::vector{QuestionId::SaveChanges});
        QCOMPARE(closed.count(), closes ? 1 : 0);
        QCOMPARE(window.isVisible(), !closes);
        if (answer != Answer::No) // No drops the changes with the program
            QCOMPARE(fixture.core().state.projectDirty, !closes);
    }

    void aCleanProjectClosesWithoutAQuestion() {
        test::WindowFixture fixture(GatewayModel::Vela1hTcp);
        fixture.window->show();
        QSignalSpy closed(fixture.window.get(), &CMainFrame::closed);
        QVERIFY(fixture.window->close());
        QCOMPARE(closed.count(), 1);
        QVERIFY(fixture.prompt().shown.empty());
    }

    void saveAsksForANameOnceAndTheCaptionShowsThePath() {
        test::WindowFixture fixture(GatewayModel::Vela3hTcp);
        makeDirty(fixture);
        const std::string path = fixture.folder.file("first.xml");
        fixture.prompt().chooseNext(path);
        fixture.actions().save->trigger();
        QCOMPARE(fixture.prompt().fileRequests.size(), std::size_t(1));
        QCOMPARE(fixture.prompt().fileRequests[0].filter, std::string("XML File(*.xml)"));
        QCOMPARE(fixture.prompt().shown, Strings{saved});
        QCOMPARE(fixture.window->windowTitle(), QString::fromStdString(path));
        QVERIFY(!fixture.core().state.projectDirty);

        // Saved again: to the same file, without a dialog.
        fixture.core().state.projectDirty = true;
        fixture.actions().save->trigger();
        QCOMPARE(fixture.prompt().fileRequests.size(), std::size_t(1));
        QVERIFY(!fixture.core().state.projectDirty);

        // Save As always asks, and the project follows the new name.
        const std::string second = fixture.folder.file("second.xml");
        fixture.prompt().chooseNext(second);
        fixture.actions().saveAs->trigger();
        QCOMPARE(fixture.prompt().fileRequests.size(), std::size_t(2));
        QCOMPARE(fixture.prompt().fileRequests[1].suggestedName, std::string("first.xml"));
        QVERIFY(std::filesystem::exists(second));
        QCOMPARE(fixture.window->windowTitle(), QString::fromStdString(second));

        // A cancelled Save As changes nothing.
        fixture.actions().saveAs->trigger();
        QCOMPARE(fixture.window->windowTitle(), QString::fromStdString(second));
        // New keeps the caption of the project that was open.
        fixture.actions().newProject->trigger();
        QCOMPARE(fixture.window->windowTitle(), QString::fromStdString(second));
    }

    void aFailedOpenShowsWhyAndKeepsTheProject() {
        test::WindowFixture fixture(GatewayModel::Vela1hTcp);
        const std::string before = test::describeProduct(fixture.core().product);
        const std::string rtu = writeProject(fixture.folder, "rtu.xml", GatewayModel::Vela3hRtu);
        fixture.nextOpen = rtu;
        fixture.actions().open->trigger();
        QCOMPARE(fixture.prompt().shown,
                 Strings{"The profile protocol is inconsistent with the software protocol!"});
        QCOMPARE(fixture.window->windowTitle(), QStringLiteral("Gateway Configuration Software Korvan"));

        // A cancelled open dialog does nothing.
        fixture.nextOpen.reset();
        fixture.actions().open->trigger();
        QCOMPARE(fixture.prompt().shown.size(), std::size_t(1));
        QCOMPARE(test::describeProduct(fixture.core().product), before);
    }

    void recentFilesListTheLastFourProjectsAndOpenThem() {
        test::WindowFixture fixture(GatewayModel::Vela3hTcp);
        CMainFrame& window = *fixture.window;
        QVERIFY(!window.recentFilesMenu()->isEnabled()); // no entry yet
        std::vector<std::string> paths;
        for (const char* name : {"a.xml", "b.xml", "c.xml", "d.xml", "e.xml"}) {
            paths.push_back(writeProject(fixture.folder, name, GatewayModel::Vela3hTcp));
            fixture.nextOpen = paths.back();
            fixture.actions().open->trigger();
        }
        QVERIFY(window.recentFilesMenu()->isEnabled());
        const auto entry = [&](int number, std::size_t index) {
            return QStringLiteral("&%1 %2").arg(number).arg(QString::fromStdString(paths[index]));
        };
        QCOMPARE(recentEntries(window), (QStringList{entry(1, 4), entry(2, 3), entry(3, 2), entry(4, 1)}));

        // The list is kept in the settings for the next run.
        QSettings stored(fixture.settings.fileName(), QSettings::IniFormat);
        QCOMPARE(stored.value(QStringLiteral("Recent File List/File1")).toString(),
                 QString::fromStdString(paths[4]));
        QCOMPARE(stored.value(QStringLiteral("Recent File List/File4")).toString(),
                 QString::fromStdString(paths[1]));

        // An entry opens its project and moves to the top.
        window.recentFilesMenu()->actions()[2]->trigger();
        QCOMPARE(window.windowTitle(), QString::fromStdString(paths[2]));
        QCOMPARE(recentEntries(window).front(), entry(1, 2));
        QVERIFY(fixture.prompt().shown.empty());
    }

    void aRecentProjectThatHasGoneIsReportedAndLeavesTheList() {
        test::WindowFixture fixture(GatewayModel::Vela3hTcp);
        CMainFrame& window = *fixture.window;
        const std::string kept = writeProject(fixture.folder, "kept.xml", GatewayModel::Vela3hTcp);
        const std::string gone = writeProject(fixture.folder, "gone.xml", GatewayModel::Vela3hTcp);
        for (const std::string& path : {kept, gone}) {
            fixture.nextOpen = path;
            fixture.actions().open->trigger();
        }
        std::filesystem::remove(gone);
        window.recentFilesMenu()->actions()[0]->trigger();
        QCOMPARE(fixture.prompt().shown, Strings{"File not exisit"});
        QCOMPARE(recentEntries(window), QStringList{QStringLiteral("&1 ") + QString::fromStdString(kept)});
        QCOMPARE(window.windowTitle(), QString::fromStdString(gone)); // the open project stays

        // A project of another model is not gone: it stays for a run with that model.
        const std::string rtu = writeProject(fixture.folder, "rtu.xml", GatewayModel::Vela3hRtu);
        fixture.settings.setValue(QStringLiteral("Recent File List/File2"), QString::fromStdString(rtu));
        test::WindowFixture again(GatewayModel::Vela3hTcp);
        QSettings shared(fixture.settings.fileName(), QSettings::IniFormat);
        ProjectController reader(again.core(), shared, again.window.get());
        QCOMPARE(reader.recentFiles().entries().size(), std::size_t(2));
        QVERIFY(!reader.openRecent(1));
        QCOMPARE(reader.recentFiles().entries().size(), std::size_t(2));
    }

    void theRecentListIsReadFromTheSettingsAtStart() {
        test::TempDir folder;
        const QString file = QString::fromStdString(folder.file("settings.ini"));
        {
            QSettings settings(file, QSettings::IniFormat);
            settings.setValue(QStringLiteral("Recent File List/File1"), QStringLiteral("/projects/one.xml"));
            settings.setValue(QStringLiteral("Recent File List/File2"), QStringLiteral("/projects/two.xml"));
        }
        test::SessionFixture session(GatewayModel::Vela3hTcp);
        QSettings settings(file, QSettings::IniFormat);
        CMainFrame window(session.session, settings);
        QCOMPARE(recentEntries(window), (QStringList{QStringLiteral("&1 /projects/one.xml"),
                                                     QStringLiteral("&2 /projects/two.xml")}));
        QVERIFY(window.recentFilesMenu()->isEnabled());
    }
};

QTEST_MAIN(DocumentTest)
#include "document_test.moc"
