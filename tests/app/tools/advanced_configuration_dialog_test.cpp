#include "ModalDriver.h"
#include "ProjectViewsFixture.h"
#include "hart/AdvancedConfiguration.h"
#include "hart/AdvancedConversion.h"
#include "hart/AdvancedSelectionTable.h"
#include "hart/HartCommandCatalogue.h"
#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/COrlaNode.h"
#include "model/CommandItems.h"
#include "tools/SelectionRowsModel.h"
#include "tools/dlgSet.h"

#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>

using namespace korvan;

namespace {

using Column = gui::SelectionRowsModel::Column;

// A double click as the window system sends it: press and release, then the double click.
void doubleClick(QAbstractItemView* view, const QModelIndex& index) {
    const QPoint at = view->visualRect(index).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);
}

// The dialog over command `number`'s configuration, opened with the receive length given and
// shown.
struct DialogFixture {
    explicit DialogFixture(int number, int receiveLength = 0) : configuration(table, number, prompt) {
        configuration.open(receiveLength, false);
        dialog = std::make_unique<gui::dlgSet>(configuration);
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
    }

    QAbstractItemModel* rows() const { return dialog->grid()->model(); }
    QAbstractItemModel* tree() const { return dialog->tree()->model(); }
    QString cell(int row, int column) const { return rows()->index(row, column).data().toString(); }
    QStringList rowTexts(int row) const {
        QStringList texts;
        for (int column = 0; column < gui::SelectionRowsModel::ColumnCount; ++column)
            texts << cell(row, column);
        return texts;
    }
    QStringList column(int column) const {
        QStringList texts;
        for (int row = 0; row < rows()->rowCount(); ++row)
            texts << cell(row, column);
        return texts;
    }
    QStringList treeTexts() const {
        QStringList texts;
        for (int row = 0; row < tree()->rowCount(); ++row)
            texts << tree()->index(row, 0).data().toString();
        return texts;
    }
    QColor background(int row, int column) const {
        return rows()->index(row, column).data(Qt::BackgroundRole).value<QBrush>().color();
    }
    QString description() const { return dialog->descriptionBox()->toPlainText(); }

    QPoint cellCentre(int row, int column) const {
        return dialog->grid()->visualRect(rows()->index(row, column)).center();
    }
    void clickCell(int row, int column) const {
        QTest::mouseClick(dialog->grid()->viewport(), Qt::LeftButton, {}, cellCentre(row, column));
    }
    void doubleClickCell(int row, int column) const {
        doubleClick(dialog->grid(), rows()->index(row, column));
    }
    QPoint treeCentre(int item) const { return dialog->tree()->visualRect(tree()->index(item, 0)).center(); }
    void doubleClickTree(int item) const { doubleClick(dialog->tree(), tree()->index(item, 0)); }

    // Clicks the address cell, types over the selected text and presses Enter.
    bool typeAddress(int row, const QString& text) const {
        clickCell(row, Column::MemoryAddressColumn);
        QLineEdit* box = dialog->numberBox();
        if (!box->isVisible() || !box->hasFocus() || box->selectedText() != box->text())
            return false;
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
        return !box->isVisible() && dialog->isVisible();
    }

    bool pickSwap(int row, const QString& text) const {
        clickCell(row, Column::ByteSwapColumn);
        QComboBox* list = dialog->swapList();
        if (!QTest::qWaitFor([&] { return list->view()->isVisible(); }, 2000) || list->currentIndex() != -1)
            return false;
        QAbstractItemView* view = list->view();
        view->setCurrentIndex(list->model()->index(list->findText(text), 0));
        QTest::keyClick(view, Qt::Key_Return);
        return QTest::qWaitFor([&] { return !list->isVisible(); }, 2000);
    }

    test::ScriptedPrompt prompt;
    AdvancedSelectionTable table;
    AdvancedConfiguration configuration;
    std::unique_ptr<gui::dlgSet> dialog;
};

int commandWithMoreFieldsThan(int count) {
    for (int number = 0; number < 255; ++number)
        if (HartCommandCatalogue::instance().fieldCount(number) > count)
            return number;
    return -1;
}

const QColor grey(200, 200, 200);

} // namespace

class AdvancedConfigurationDialogTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void command3ProposesItsFourByteFields() {
        DialogFixture fixture(3);
        QCOMPARE(fixture.dialog->windowTitle(), QStringLiteral("Advanced Configuration"));
        QCOMPARE(fixture.dialog->isModal(), false); // modal only when the grid runs it
        const QStringList headers{"Bytes", "Memory Address", "Starting Address", "Byte swap"};
        for (int column = 0; column < 4; ++column)
            QCOMPARE(fixture.rows()->headerData(column, Qt::Horizontal).toString(), headers[column]);
        QCOMPARE(fixture.rows()->rowCount(), 5);
        QCOMPARE(fixture.column(Column::ByteSwapColumn), QStringList(5, QStringLiteral("Register swap")));
        QCOMPARE(fixture.column(Column::MemoryAddressColumn), QStringList(5, QStringLiteral("0")));
        QCOMPARE(fixture.column(Column::StartingAddressColumn), QStringList(5, QStringLiteral("0")));
        QCOMPARE(fixture.treeTexts().size(), 5);
        QCOMPARE(fixture.treeTexts().first(), QStringLiteral("Command Status"));
        for (const QString& text : fixture.treeTexts().mid(1))
            QVERIFY2(text.startsWith(QStringLiteral("Byte")), qPrintable(text));
        QCOMPARE(fixture.description().toStdString(), std::string(AdvancedConfiguration::Hint));
    }

    void addressesAreCheckedAndShownAsRegisters_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("modbusRegister");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("last address") << "1599"
                                      << "1599"
                                      << "799" << QStringList{};
        QTest::newRow("even") << "100"
                              << "100"
                              << "50" << QStringList{};
        QTest::newRow("beyond") << "1600"
                                << "0"
                                << "0" << QStringList{"Data out of range"};
        QTest::newRow("no digits reads as 0") << "x"
                                              << "0"
                                              << "0" << QStringList{};
    }

    void addressesAreCheckedAndShownAsRegisters() {
        QFETCH(QString, typed);
        QFETCH(QString, address);
        QFETCH(QString, modbusRegister);
        QFETCH(QStringList, messages);
        DialogFixture fixture(3);
        QVERIFY(fixture.typeAddress(1, typed));
        QCOMPARE(fixture.cell(1, Column::MemoryAddressColumn), address);
        QCOMPARE(fixture.cell(1, Column::StartingAddressColumn), modbusRegister);
        QStringList shown;
        for (const std::string& text : fixture.prompt.shown)
            shown << QString::fromStdString(text);
        QCOMPARE(shown, messages);
        QCOMPARE(fixture.description(), QString::fromStdString(fixture.configuration.description()));
        QVERIFY(fixture.description().toStdString() != AdvancedConfiguration::Hint);
    }

    void addressCommitsWhenTheFocusLeaves() {
        DialogFixture fixture(3);
        fixture.clickCell(0, Column::MemoryAddressColumn);
        QTest::keyClicks(fixture.dialog->numberBox(), QStringLiteral("42"));
        fixture.dialog->tree()->setFocus();
        QTRY_COMPARE(fixture.cell(0, Column::MemoryAddressColumn), QStringLiteral("42"));
        QCOMPARE(fixture.cell(0, Column::StartingAddressColumn), QStringLiteral("21"));
        QVERIFY(!fixture.dialog->numberBox()->isVisible());
    }

    void swapIsChosenForFourByteFieldsOnly() {
        DialogFixture fixture(3);
        QVERIFY(fixture.pickSwap(0, QStringLiteral("no swap")));
        QCOMPARE(fixture.cell(0, Column::ByteSwapColumn), QStringLiteral("no swap"));
        QVERIFY(fixture.pickSwap(0, QStringLiteral("Register swap")));
        QCOMPARE(fixture.cell(0, Column::ByteSwapColumn), QStringLiteral("Register swap"));

        // The status entry's swap cell is grey and never opens.
        fixture.doubleClickTree(0);
        QCOMPARE(fixture.cell(0, Column::BytesColumn), QStringLiteral("Command Status"));
        QCOMPARE(fixture.cell(0, Column::ByteSwapColumn), QStringLiteral("no swap"));
        QCOMPARE(fixture.background(0, Column::ByteSwapColumn), grey);
        fixture.clickCell(0, Column::ByteSwapColumn);
        QVERIFY(!fixture.dialog->swapList()->isVisible());
        QCOMPARE(fixture.description(), QStringLiteral("Communication Status And Response Code "));
    }

    void addingFromTheTreeRebuildsTheGrid() {
        DialogFixture fixture(3);
        QVERIFY(fixture.typeAddress(2, QStringLiteral("200")));
        const QString unit = fixture.treeTexts().at(1);
        fixture.doubleClickTree(1);
        QCOMPARE(fixture.rows()->rowCount(), 6);
        QVERIFY(!fixture.treeTexts().contains(unit));
        // Every row starts again at address 0; the added unit code has a grey "no swap".
        QCOMPARE(fixture.column(Column::MemoryAddressColumn), QStringList(6, QStringLiteral("0")));
        const int added = static_cast<int>(fixture.column(Column::BytesColumn).indexOf(unit.mid(4)));
        QVERIFY(added >= 0);
        QCOMPARE(fixture.cell(added, Column::ByteSwapColumn), QStringLiteral("no swap"));
        QCOMPARE(fixture.background(added, Column::ByteSwapColumn), grey);

        // The tree's context menu adds the item under the mouse; "Delete bytes" is greyed.
        const QPoint at = fixture.treeCentre(0);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at,
                                fixture.dialog->tree()->viewport()->mapToGlobal(at));
        QApplication::sendEvent(fixture.dialog->tree()->viewport(), &event);
        QMenu* menu = fixture.dialog->treeMenu();
        QTRY_VERIFY(menu->isVisible());
        const QList<QAction*> entries = menu->actions();
        QCOMPARE(entries.size(), 3);
        QCOMPARE(entries[0]->text(), QStringLiteral("Add byte"));
        QVERIFY(entries[1]->isSeparator());
        QCOMPARE(entries[2]->text(), QStringLiteral("Delete bytes"));
        QVERIFY(!entries[2]->isEnabled());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entries[0]).center());
        QCOMPARE(fixture.rows()->rowCount(), 7);
        QCOMPARE(fixture.cell(0, Column::BytesColumn), QStringLiteral("Command Status"));
    }

    void removingMovesTheRowsUp() {
        DialogFixture fixture(3);
        const QStringList bytes = fixture.column(Column::BytesColumn);
        fixture.doubleClickCell(0, Column::BytesColumn);
        QCOMPARE(fixture.column(Column::BytesColumn), bytes.mid(1));
        QCOMPARE(fixture.treeTexts().last(), QStringLiteral("Byte") + bytes[0]);

        // A double click in the address column removes nothing; Delete there neither.
        fixture.doubleClickCell(0, Column::MemoryAddressColumn);
        QCOMPARE(fixture.rows()->rowCount(), 4);
        fixture.dialog->grid()->setFocus();
        fixture.dialog->grid()->setCurrentIndex(fixture.rows()->index(0, Column::MemoryAddressColumn));
        QTest::keyClick(fixture.dialog->grid(), Qt::Key_Delete);
        QCOMPARE(fixture.rows()->rowCount(), 4);
        fixture.dialog->grid()->setCurrentIndex(fixture.rows()->index(1, Column::StartingAddressColumn));
        QTest::keyClick(fixture.dialog->grid(), Qt::Key_Delete);
        QCOMPARE(fixture.column(Column::BytesColumn), (QStringList{bytes[1], bytes[3], bytes[4]}));
        QCOMPARE(fixture.column(Column::ByteSwapColumn), QStringList(3, QStringLiteral("Register swap")));
    }

    void convertedFromBasicTakesTheReceivedBytes() {
        // Command 1 with 7 bytes received: the status, the unit code and the value.
        DialogFixture fixture(1, 7);
        QCOMPARE(fixture.rows()->rowCount(), 3);
        QCOMPARE(fixture.rowTexts(0), (QStringList{"Command Status", "0", "0", "no swap"}));
        QCOMPARE(fixture.cell(2, Column::ByteSwapColumn), QStringLiteral("Register swap"));
        QCOMPARE(fixture.background(1, Column::ByteSwapColumn), grey);
        QVERIFY(fixture.dialog->grid()->columnWidth(Column::StartingAddressColumn) >
                fixture.dialog->grid()->columnWidth(Column::MemoryAddressColumn));
    }

    void noMoreThan26Segments() {
        const int number = commandWithMoreFieldsThan(AdvancedSelectionTable::MaxSelected);
        QVERIFY(number >= 0);
        DialogFixture fixture(number);
        while (fixture.rows()->rowCount() < AdvancedSelectionTable::MaxSelected) {
            const int before = fixture.rows()->rowCount();
            fixture.doubleClickTree(0);
            QCOMPARE(fixture.rows()->rowCount(), before + 1);
        }
        QVERIFY(fixture.prompt.shown.empty());
        const QStringList tree = fixture.treeTexts();
        fixture.doubleClickTree(0);
        QCOMPARE(fixture.prompt.shown, std::vector<std::string>{std::string(TooManySegmentsMessage)});
        QCOMPARE(fixture.rows()->rowCount(), AdvancedSelectionTable::MaxSelected);
        QCOMPARE(fixture.treeTexts(), tree);
    }

    void enterNeverClosesAndEscapeKeepsTheChanges() {
        DialogFixture fixture(3);
        QVERIFY(fixture.typeAddress(0, QStringLiteral("10")));
        QTest::keyClick(fixture.dialog->grid(), Qt::Key_Return);
        QVERIFY(fixture.dialog->isVisible());
        fixture.clickCell(1, Column::MemoryAddressColumn);
        QTest::keyClicks(fixture.dialog->numberBox(), QStringLiteral("12"));
        // Closing while the box is open commits it.
        QTest::keyClick(fixture.dialog.get(), Qt::Key_Escape);
        QVERIFY(!fixture.dialog->isVisible());
        QCOMPARE(fixture.cell(0, Column::MemoryAddressColumn), QStringLiteral("10"));
        QCOMPARE(fixture.cell(1, Column::MemoryAddressColumn), QStringLiteral("12"));
    }

    void theGridStoresWhatTheDialogChose() {
        test::ProjectViewsFixture views(GatewayModel::Vela3hTcp);
        COrlaNode* node = views.product().channel(0)->addNode();
        COrlaCommand* command = node->addHartCommand(views.product().registries(), 3);
        views.grid->setAdvancedDialog(gui::advancedConfigurationDialog(&views.window));
        QVERIFY(views.show());
        views.clickItem(views.item(QString::fromStdString(command->commandName())));
        QVERIFY(views.pickChoice(0, "Advanced"));

        QString shot;
        test::ModalDriver driver([&](QWidget* modal) {
            auto* dialog = qobject_cast<gui::dlgSet*>(modal);
            QVERIFY(dialog != nullptr);
            QVERIFY(dialog->isModal());
            QAbstractItemModel* rows = dialog->grid()->model();
            // Address 300 for the first row, no swap for the second, the status entry added.
            QTest::mouseClick(
                dialog->grid()->viewport(), Qt::LeftButton, {},
                dialog->grid()->visualRect(rows->index(0, Column::MemoryAddressColumn)).center());
            QTest::keyClicks(dialog->numberBox(), QStringLiteral("300"));
            QTest::keyClick(dialog->numberBox(), Qt::Key_Return);
            doubleClick(dialog->tree(), dialog->tree()->model()->index(0, 0));
            QTest::mouseClick(
                dialog->grid()->viewport(), Qt::LeftButton, {},
                dialog->grid()->visualRect(rows->index(1, Column::MemoryAddressColumn)).center());
            QTest::keyClicks(dialog->numberBox(), QStringLiteral("300"));
            QTest::keyClick(dialog->numberBox(), Qt::Key_Return);
            if (qEnvironmentVariableIsSet("KORVAN_SHOTS"))
                dialog->grab().save(QStringLiteral("/tmp/gwd-advanced.png"));
            dialog->close();
        });
        const QRect cell = views.table()->visualRect(views.cell(6, 1));
        views.clickCell(6, 1, QPoint(cell.right() - 10, cell.center().y()));

        QCOMPARE(command->segmentCount(), 6);
        const COrlaItem* status = command->segmentRecord(0);
        QVERIFY(status->segmentEnabled());
        QCOMPARE(status->segmentOffset(), std::string("63"));
        QCOMPARE(status->segmentLength(), std::string("2"));
        QCOMPARE(status->segmentAddress(), std::string("0"));
        QVERIFY(!status->segmentSwap());
        const COrlaItem* first = command->segmentRecord(1);
        QCOMPARE(first->segmentAddress(), std::string("300"));
        QCOMPARE(first->segmentLength(), std::string("4"));
        QVERIFY(first->segmentSwap());
        QCOMPARE(command->segmentRecord(0)->segmentEnableCount(), std::string("6"));
        QCOMPARE(views.session.session.state.projectDirty, 1);

        // Opened again, the stored selection comes back with its address.
        test::ModalDriver again([&](QWidget* modal) {
            auto* dialog = qobject_cast<gui::dlgSet*>(modal);
            QVERIFY(dialog != nullptr);
            QAbstractItemModel* rows = dialog->grid()->model();
            QCOMPARE(rows->rowCount(), 6);
            QCOMPARE(rows->index(0, Column::BytesColumn).data().toString(), QStringLiteral("Command Status"));
            QCOMPARE(rows->index(1, Column::MemoryAddressColumn).data().toString(), QStringLiteral("300"));
            QCOMPARE(rows->index(1, Column::StartingAddressColumn).data().toString(), QStringLiteral("150"));
            dialog->close();
        });
        views.clickCell(6, 1, QPoint(cell.right() - 10, cell.center().y()));
        QCOMPARE(command->segmentCount(), 6);
    }
};

QTEST_MAIN(AdvancedConfigurationDialogTest)
#include "advanced_configuration_dialog_test.moc"
