#include "ModalDriver.h"
#include "app/AppState.h"
#include "app/EnableFlags.h"
#include "shell/CDlgSelectDevice.h"
#include "shell/CDlgSelectMode.h"
#include "shell/CWizard.h"
#include "shell/StartUp.h"
#include "shell/WizardLayout.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <fstream>
#include <functional>

using namespace korvan;
using namespace korvan::gui;

Q_DECLARE_METATYPE(korvan::GatewayModel)

namespace {

void clickNext(CWizard& wizard, int times) {
    for (int i = 0; i < times; ++i)
        QTest::mouseClick(wizard.nextButton(), Qt::LeftButton);
}

} // namespace

class DialogsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void eachDeviceButtonPicksItsModel_data() {
        QTest::addColumn<GatewayModel>("model");
        QTest::newRow("Vela-1H-TCP") << GatewayModel::Vela1hTcp;
        QTest::newRow("Vela-3H-TCP") << GatewayModel::Vela3hTcp;
        QTest::newRow("Vela-3H-RTU") << GatewayModel::Vela3hRtu;
    }
    void eachDeviceButtonPicksItsModel() {
        QFETCH(GatewayModel, model);
        CDlgSelectDevice dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Select Device"));
        dialog.show();
        QTest::mouseClick(dialog.button(model), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.model(), model);
    }

    void enterInTheDeviceDialogPicksVela1hTcpAndEscapeCancels() {
        CDlgSelectDevice entered;
        entered.show();
        QVERIFY(QTest::qWaitForWindowActive(&entered));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(entered.result(), int(QDialog::Accepted));
        QCOMPARE(entered.model(), GatewayModel::Vela1hTcp);

        CDlgSelectDevice escaped;
        escaped.show();
        QVERIFY(QTest::qWaitForWindowActive(&escaped));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QCOMPARE(escaped.result(), int(QDialog::Rejected));
        QCOMPARE(escaped.model(), GatewayModel::None);
    }

    void startUpTakesThePresetOrAsksTheDeviceDialog() {
        QCOMPARE(chooseModel(GatewayModel::Vela3hRtu), std::optional(GatewayModel::Vela3hRtu));

        {
            test::ModalDriver driver([](QWidget* modal) {
                auto* dialog = qobject_cast<CDlgSelectDevice*>(modal);
                QVERIFY(dialog != nullptr);
                QTest::mouseClick(dialog->button(GatewayModel::Vela3hTcp), Qt::LeftButton);
            });
            QCOMPARE(chooseModel(std::nullopt), std::optional(GatewayModel::Vela3hTcp));
        }
        {
            test::ModalDriver driver(
                [](QWidget* modal) { QTest::keyClick(modal->focusWidget(), Qt::Key_Enter); });
            QCOMPARE(chooseModel(std::nullopt), std::optional(GatewayModel::Vela1hTcp));
        }
        {
            // Closing the dialog any other way ends the program.
            test::ModalDriver driver([](QWidget* modal) { modal->close(); });
            QCOMPARE(chooseModel(std::nullopt), std::nullopt);
        }
    }

    void theModeDialogOpensOnTheCurrentModeAndOkApplies() {
        AppState state;
        state.serialDebugAllowed = true;
        enable_flags::newProjectCreated(state);
        enable_flags::projectTreeReset(state);
        {
            CDlgSelectMode dialog(state);
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Korvan"));
            QVERIFY(dialog.configButton()->isChecked());
            dialog.show();
            QTest::mouseClick(dialog.debugButton(), Qt::LeftButton);
            dialog.accept();
        }
        QCOMPARE(state.mode, WorkMode::Debug);
        QVERIFY(state.canShowMemory && state.canDiagnose && state.canSerialDebug);
        QVERIFY(!state.canDownload && !state.canUpload);

        // Cancel changes nothing, whatever was chosen.
        {
            CDlgSelectMode dialog(state);
            QVERIFY(dialog.debugButton()->isChecked());
            dialog.show();
            QTest::mouseClick(dialog.configButton(), Qt::LeftButton);
            dialog.reject();
        }
        QCOMPARE(state.mode, WorkMode::Debug);
        QVERIFY(state.canShowMemory);

        {
            CDlgSelectMode dialog(state);
            dialog.show();
            QTest::mouseClick(dialog.configButton(), Qt::LeftButton);
            QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
            QCOMPARE(ok->accessibleName(), QStringLiteral("OK"));
            QTest::mouseClick(ok, Qt::LeftButton);
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        }
        QCOMPARE(state.mode, WorkMode::Config);
        QVERIFY(state.canDownload && state.canUpload && !state.canShowMemory && !state.canSerialDebug);
    }

    void theWizardPagesWithBackAndNext() {
        CWizard wizard(GatewayModel::Vela3hTcp);
        wizard.show();
        QCOMPARE(wizard.windowTitle(), QStringLiteral("Korvan"));
        QCOMPARE(wizard.size(), QSize(840, 729));
        QCOMPARE(wizard.page(), 0);
        QVERIFY(!wizard.backButton()->isEnabled());
        QVERIFY(wizard.nextButton()->isEnabled());
        QVERIFY(wizard.showAgainBox()->isChecked());
        QVERIFY(!wizard.showAgainBox()->isVisible());
        QCOMPARE(wizard.pagePicture(), QStringLiteral(":/wizard/tcp-0.svg"));

        clickNext(wizard, 1);
        QCOMPARE(wizard.page(), 1);
        QVERIFY(wizard.backButton()->isEnabled());
        clickNext(wizard, 5);
        QCOMPARE(wizard.page(), 6);
        QCOMPARE(wizard.pagePicture(), QStringLiteral(":/wizard/tcp-6.svg"));
        QVERIFY(!wizard.nextButton()->isEnabled());
        QVERIFY(wizard.showAgainBox()->isVisible());

        QTest::mouseClick(wizard.backButton(), Qt::LeftButton);
        QCOMPARE(wizard.page(), 5);
        QVERIFY(wizard.nextButton()->isEnabled());
        QVERIFY(!wizard.showAgainBox()->isVisible());
        for (int i = 0; i < 5; ++i)
            QTest::mouseClick(wizard.backButton(), Qt::LeftButton);
        QCOMPARE(wizard.page(), 0);
        QVERIFY(!wizard.backButton()->isEnabled());
    }

    void theSerialModelHasItsOwnPictures() {
        CWizard wizard(GatewayModel::Vela3hRtu);
        QCOMPARE(wizard.pagePicture(), QStringLiteral(":/wizard/rtu-0.svg"));
        CWizard small(GatewayModel::Vela1hTcp);
        QCOMPARE(small.pagePicture(), QStringLiteral(":/wizard/tcp-0.svg"));
    }

    void theCheckBoxTogglesTheRememberedChoiceAndFitsTheWindow() {
        CWizard wizard(GatewayModel::Vela3hTcp);
        wizard.show();
        clickNext(wizard, 6);
        QCheckBox* box = wizard.showAgainBox();
        QCOMPARE(box->text(), QStringLiteral("Pop up the wizard next time."));
        QVERIFY(wizard.rect().contains(box->geometry()));
        QVERIFY(box->geometry().width() >= box->sizeHint().width());
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
        QVERIFY(!wizard.showAgain());
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
        QVERIFY(wizard.showAgain());
    }

    void theWizardStaysAwayOnceClosedWithTheBoxCleared() {
        test::TempDir folder;
        const std::string config = folder.file("config.ini");
        QPointer<CWizard> wizard = showWizardIfDue(GatewayModel::Vela3hTcp, nullptr, config);
        QVERIFY(wizard);
        QVERIFY(wizard->isVisible());
        QVERIFY(wizard->isModal());
        clickNext(*wizard, 6);
        QTest::mouseClick(wizard->showAgainBox(), Qt::LeftButton, {}, QPoint(8, 10));
        QTest::mouseClick(wizard->closeButton(), Qt::LeftButton);
        QTRY_VERIFY(wizard.isNull()); // deleted once closed
        QVERIFY(test::readFile(config).find("Wizerd=true") != std::string::npos);
        QVERIFY(showWizardIfDue(GatewayModel::Vela3hTcp, nullptr, config) == nullptr);
    }

    void theWizardShowsAgainWhenClosedWithTheBoxTicked() {
        test::TempDir folder;
        const std::string config = folder.file("config.ini");
        QPointer<CWizard> wizard = showWizardIfDue(GatewayModel::Vela3hRtu, nullptr, config);
        QVERIFY(wizard);
        clickNext(*wizard, 6);
        QTest::keyClick(wizard, Qt::Key_Escape); // the same as Close
        QTRY_VERIFY(wizard.isNull());
        QVERIFY(!std::ifstream(config).good()); // nothing written
        wizard = showWizardIfDue(GatewayModel::Vela3hRtu, nullptr, config);
        QVERIFY(wizard);
        QCOMPARE(wizard->page(), 0); // every showing starts at the first page
        wizard->close();
        QTRY_VERIFY(wizard.isNull());
    }

    void theFlagFileDecidesWhetherTheWizardShows_data() {
        QTest::addColumn<QString>("contents");
        QTest::addColumn<bool>("shown");
        QTest::newRow("key false") << "[ITEMSTR]\nWizerd=false\n" << true;
        QTest::newRow("key absent") << "[ITEMSTR]\nOther=1\n" << true;
        QTest::newRow("key true") << "[ITEMSTR]\nWizerd=true\n" << false;
        QTest::newRow("capitals") << "[ITEMSTR]\nWizerd=FALSE\n" << false;
        QTest::newRow("trailing blank") << "[ITEMSTR]\nWizerd=false \n" << false;
    }
    void theFlagFileDecidesWhetherTheWizardShows() {
        QFETCH(QString, contents);
        QFETCH(bool, shown);
        test::TempDir folder;
        const std::string config = folder.file("config.ini");
        test::writeFile(config, contents.toStdString());
        QPointer<CWizard> wizard = showWizardIfDue(GatewayModel::Vela1hTcp, nullptr, config);
        QCOMPARE(!wizard.isNull(), shown);
        if (wizard)
            wizard->close();
        // No flag file at all (no program directory): no wizard.
        QVERIFY(showWizardIfDue(GatewayModel::Vela1hTcp, nullptr, std::string()) == nullptr);
    }

    void aFlagFileThatCannotBeWrittenOnlyBringsTheWizardBack() {
        test::TempDir folder;
        const std::string config = folder.file("no-such-folder/config.ini");
        QPointer<CWizard> wizard = showWizardIfDue(GatewayModel::Vela3hTcp, nullptr, config);
        QVERIFY(wizard);
        clickNext(*wizard, 6);
        QTest::mouseClick(wizard->showAgainBox(), Qt::LeftButton, {}, QPoint(8, 10));
        QTest::mouseClick(wizard->closeButton(), Qt::LeftButton);
        QTRY_VERIFY(wizard.isNull());
        QVERIFY(showWizardIfDue(GatewayModel::Vela3hTcp, nullptr, config) != nullptr);
    }

    void theWizardLayoutFollowsTheScreenFactor() {
        QCOMPARE(wizardScreenFactor(96, 96), 1.0);
        QCOMPARE(wizardScreenFactor(72, 72), 1.0); // never below 1
        QCOMPARE(wizardScreenFactor(119, 119), 1.0);
        QCOMPARE(wizardScreenFactor(120, 120), 1.25);
        QCOMPARE(wizardScreenFactor(144, 144), 1.5);

        const WizardLayout at96 = wizardLayout(96, 96, 150);
        QCOMPARE(at96.picture, (PixelRect{0, 0, 840, 620}));
        QCOMPARE(at96.back, (PixelRect{432, 664, 126, 26}));
        QCOMPARE(at96.next, (PixelRect{562, 664, 126, 26}));
        QCOMPARE(at96.close, (PixelRect{702, 664, 126, 26}));
        QCOMPARE(at96.showAgain, (PixelRect{652, 642, 188, 20})); // cut at the window's edge

        const WizardLayout at144 = wizardLayout(144, 144, 150);
        QCOMPARE(at144.back.y, 657);
        QCOMPARE(at144.showAgain, (PixelRect{558, 630, 282, 20}));

        // A wider text moves the box left so that it is never cut.
        const WizardLayout wide = wizardLayout(96, 96, 230);
        QCOMPARE(wide.showAgain.x, 840 - 8 - 230);
        QVERIFY(wide.showAgain.x + wide.showAgain.width <= 840);
    }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
