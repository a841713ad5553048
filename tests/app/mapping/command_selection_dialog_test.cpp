#include "mapping/CommandSelection.h"
#include "mapping/CommandSelectionDialog.h"
#include "model/COrlaNode.h"
#include "model/ObjectRegistries.h"
#include "support/ScriptedPrompt.h"

#include <QApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace korvan;

namespace {

// A node that holds commands 0 and 3, the selection over it and its dialog, shown.
struct Fixture {
    explicit Fixture(int channelTotal = 2) {
        node.addHartCommand(registries, 0);
        node.addHartCommand(registries, 3);
        selection = std::make_unique<CommandSelection>(node, channelTotal);
        dialog = std::make_unique<gui::CommandSelectionDialog>(*selection, prompt);
        dialog->show();
    }

    QListWidget* list(const char* caption) const {
        return dialog->findChild<QListWidget*>(QString::fromLatin1(caption));
    }
    QListWidget* left() const { return list("Command list"); }
    QListWidget* right() const { return list("Selected command"); }
    QPushButton* button(const char* text) const {
        for (QPushButton* button : dialog->findChildren<QPushButton*>())
            if (button->text() == QString::fromLatin1(text))
                return button;
        return nullptr;
    }
    QString description() const {
        return dialog->findChild<QPlainTextEdit*>(QStringLiteral("Description"))->toPlainText();
    }

    ObjectRegistries registries;
    COrlaNode node;
    test::ScriptedPrompt prompt;
    std::unique_ptr<CommandSelection> selection;
    std::unique_ptr<gui::CommandSelectionDialog> dialog;
};

QListWidgetItem* entry(QListWidget* list, int number) {
    for (int row = 0; row < list->count(); ++row)
        if (list->item(row)->data(Qt::UserRole).toInt() == number)
            return list->item(row);
    return nullptr;
}

std::vector<int> numbers(const QListWidget* list) {
    std::vector<int> shown;
    for (int row = 0; row < list->count(); ++row)
        shown.push_back(list->item(row)->data(Qt::UserRole).toInt());
    return shown;
}

QPoint entryCentre(QListWidget* list, int number) {
    QListWidgetItem* item = entry(list, number);
    if (item == nullptr)
        return {-1, -1};
    list->scrollToItem(item);
    return list->visualItemRect(item).center();
}

// The engineer clicks the entry of `number`.
bool select(QListWidget* list, int number) {
    const QPoint centre = entryCentre(list, number);
    if (centre.x() < 0)
        return false;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    return entry(list, number)->isSelected();
}

bool doubleClick(QListWidget* list, int number) {
    const QPoint centre = entryCentre(list, number);
    if (centre.x() < 0)
        return false;
    // A real double click starts with a click; the view knows the pressed entry from it.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
    return true;
}

} // namespace

class CommandSelectionDialogTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void offersTheNumbersTheNodeDoesNotHold() {
        Fixture f;
        QCOMPARE(f.dialog->windowTitle(), QStringLiteral("Select the command"));
        QVERIFY(f.left() && f.right() && f.button(">>") && f.button("<<") && f.button("OK") &&
                f.button("Cancel"));
        QCOMPARE(f.left()->count(), 253);
        QCOMPARE(f.left()->item(0)->text(), QStringLiteral("Command ID1"));
        QCOMPARE(f.left()->item(1)->text(), QStringLiteral("Command ID2"));
        QCOMPARE(f.left()->item(2)->text(), QStringLiteral("Command ID4"));
        QCOMPARE(f.left()->item(252)->text(), QStringLiteral("Command ID254"));
        QCOMPARE(numbers(f.left()), f.selection->offeredList());
        QCOMPARE(f.right()->count(), 0);
        QCOMPARE(f.left()->accessibleName(), QStringLiteral("Command list"));
        QCOMPARE(f.right()->accessibleName(), QStringLiteral("Selected command"));
    }

    void movesRightUntilTheCountReaches127() {
        Fixture f(120);
        for (int number = 10; number < 17; ++number) {
            QVERIFY(select(f.left(), number));
            QTest::mouseClick(f.button(">>"), Qt::LeftButton);
            QVERIFY(entry(f.left(), number) == nullptr);
        }
        QCOMPARE(numbers(f.right()), (std::vector<int>{10, 11, 12, 13, 14, 15, 16}));
        QVERIFY(f.prompt.shown.empty());

        QVERIFY(select(f.left(), 17));
        QTest::mouseClick(f.button(">>"), Qt::LeftButton);
        QCOMPARE(f.prompt.shown, std::vector<std::string>{"Command is more than 100"});
        QVERIFY(entry(f.left(), 17) != nullptr);
        QCOMPARE(f.right()->count(), 7);
        QCOMPARE(f.selection->count(), 127);
    }

    void doubleClicksMoveEntriesBothWays() {
        Fixture f;
        QVERIFY(doubleClick(f.left(), 9));
        QCOMPARE(numbers(f.right()), std::vector<int>{9});
        QVERIFY(entry(f.left(), 9) == nullptr);
        QVERIFY(doubleClick(f.right(), 9));
        QCOMPARE(f.right()->count(), 0);
        QCOMPARE(numbers(f.left()), f.selection->offeredList());
        QCOMPARE(f.left()->item(7)->text(), QStringLiteral("Command ID9"));
        QCOMPARE(f.selection->count(), 2);
    }

    void theLastNumberMovedBackEndsTheLeftListAgain() {
        Fixture f;
        QVERIFY(select(f.left(), 254));
        QTest::mouseClick(f.button(">>"), Qt::LeftButton);
        QCOMPARE(f.left()->item(f.left()->count() - 1)->text(), QStringLiteral("Command ID253"));
        QVERIFY(select(f.right(), 254));
        QTest::mouseClick(f.button("<<"), Qt::LeftButton);
        QCOMPARE(f.right()->count(), 0);
        QCOMPARE(f.left()->count(), 253);
        QCOMPARE(f.left()->item(252)->text(), QStringLiteral("Command ID254"));
        QCOMPARE(numbers(f.left()), f.selection->offeredList());
    }

    void selectingAnEntryShowsItsDescription_data() {
        QTest::addColumn<bool>("inRightList");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");
        QTest::newRow("command 4") << false << 4 << QStringLiteral("Reserved");
        QTest::newRow("command 5") << false << 5 << QStringLiteral("Reserved");
        QTest::newRow("command 200") << false << 200 << QString();
        QTest::newRow("command 5 chosen") << true << 5 << QStringLiteral("Reserved");
        QTest::newRow("command 200 chosen") << true << 200 << QString();
    }

    void selectingAnEntryShowsItsDescription() {
        QFETCH(bool, inRightList);
        QFETCH(int, number);
        QFETCH(QString, description);
        Fixture f;
        if (inRightList) {
            QVERIFY(doubleClick(f.left(), number));
            QVERIFY(entry(f.right(), number) != nullptr);
        }
        // Another entry's text is shown first, so that an empty description shows as a change.
        QVERIFY(select(f.left(), 1));
        QVERIFY(!f.description().isEmpty());
        QVERIFY(select(inRightList ? f.right() : f.left(), number));
        QCOMPARE(f.description(), description);
    }

    void arrowsWithNothingSelectedChangeNothing() {
        Fixture f;
        QVERIFY(doubleClick(f.left(), 9));
        f.left()->clearSelection();
        f.right()->clearSelection();
        const std::vector<int> left = numbers(f.left());
        QTest::mouseClick(f.button("<<"), Qt::LeftButton);
        QTest::mouseClick(f.button(">>"), Qt::LeftButton);
        QCOMPARE(numbers(f.left()), left);
        QCOMPARE(numbers(f.right()), std::vector<int>{9});
        QCOMPARE(f.selection->count(), 3);
        QVERIFY(f.prompt.shown.empty());
    }

    void theChooserGivesTheChosenFlagsOnOkOnly_data() {
        QTest::addColumn<QString>("closeWith");
        QTest::newRow("OK") << QStringLiteral("OK");
        QTest::newRow("Cancel") << QStringLiteral("Cancel");
    }

    void theChooserGivesTheChosenFlagsOnOkOnly() {
        QFETCH(QString, closeWith);
        ObjectRegistries registries;
        COrlaNode node;
        node.addHartCommand(registries, 0);
        test::ScriptedPrompt prompt;
        CommandSelection selection(node, 1);

        bool driven = false;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<gui::CommandSelectionDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr)
                return;
            auto* left = dialog->findChild<QListWidget*>(QStringLiteral("Command list"));
            for (int number : {48, 9}) {
                select(left, number);
                dialog->moveRight();
            }
            for (QPushButton* button : dialog->findChildren<QPushButton*>())
                if (button->text() == closeWith) {
                    driven = true;
                    QTest::mouseClick(button, Qt::LeftButton);
                }
        });
        // Should the dialog not be driven, it still closes and the test fails.
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, this, [] {
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        });
        guard.start(10000);

        const auto chosen = gui::commandChooser(nullptr, prompt)(selection);
        QVERIFY(driven);
        if (closeWith == QStringLiteral("Cancel")) {
            QVERIFY(!chosen.has_value());
            return;
        }
        QVERIFY(chosen.has_value());
        for (int number = 0; number < CommandSelection::CommandNumbers; ++number)
            QCOMPARE((*chosen)[static_cast<std::size_t>(number)], number == 48 || number == 9);
    }
};

QTEST_MAIN(CommandSelectionDialogTest)
#include "command_selection_dialog_test.moc"
