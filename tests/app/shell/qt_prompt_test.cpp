#include "support/QtPrompt.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

using namespace korvan;
using namespace korvan::gui;

// The desktop prompt on a display nobody sees: no box may wait for an answer that never
// comes, and nothing may be changed or dropped on the engineer's behalf.
class QtPromptTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void unattendedQuestionsAreAnsweredSoThatNothingChanges() {
        QtPrompt prompt;
        prompt.setUnattended(true);
        // A box left open would fail the test instead of blocking it.
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                box->done(QMessageBox::Yes);
        });
        guard.start(5000);
        QCOMPARE(prompt.ask(QuestionId::SaveChanges, "Configuration has changed,Save it or not?",
                            Buttons::YesNoCancel),
                 Answer::Cancel);
        QCOMPARE(prompt.ask(QuestionId::RemoteReset, "Reset?", Buttons::YesNo), Answer::No);
        QCOMPARE(prompt.ask(QuestionId::ContinueWithDhcp, "DHCP?", Buttons::OkCancel), Answer::Cancel);
        QCOMPARE(prompt.chooseSaveFile({"Config File(*.xml)", "xml", ""}), std::nullopt);
        prompt.message("File not exisit");
        QVERIFY(guard.isActive()); // nothing waited
    }

    void attendedQuestionsShowABoxTitledKorvan() {
        QtPrompt prompt;
        QString title;
        QString text;
        QTimer::singleShot(0, this, [&] {
            QTRY_VERIFY_WITH_TIMEOUT(qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr,
                                     5000);
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            title = box->windowTitle();
            text = box->text();
            box->done(QMessageBox::Yes);
        });
        QCOMPARE(
            prompt.ask(QuestionId::AutoMapAddresses, "Whether auto mapping address?", Buttons::YesNoCancel),
            Answer::Yes);
        QCOMPARE(title, QStringLiteral("Korvan"));
        QCOMPARE(text, QStringLiteral("Whether auto mapping address?"));
    }
};

QTEST_MAIN(QtPromptTest)
#include "qt_prompt_test.moc"
