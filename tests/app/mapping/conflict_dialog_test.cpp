#include "SessionFixture.h"
#include "mapping/ConflictDetection.h"
#include "mapping/ConflictDialog.h"
#include "mapping/ConflictTreeView.h"
#include "mapping/MemoryUsageMap.h"
#include "mapping/UsageGridLayout.h"
#include "mapping/UsageMapModel.h"
#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaNode.h"
#include "model/CommandItems.h"
#include "project/ProjectTreeModel.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <array>
#include <memory>
#include <vector>

using namespace korvan;

namespace {

// A command's mapping: send start, send length, receive start, receive length.
using Mapping = std::array<int, 4>;

const QColor white(255, 255, 255);
const QColor green(0, 255, 0);
const QColor red(255, 0, 0);
const QColor yellow(255, 255, 0);
const QColor blue(49, 106, 197);

// A product with commands on the first node of its channels, and the dialog over it, shown.
// Every command gets its own HART number (33, 34, ...) so that its tree label is unique.
struct Fixture {
    explicit Fixture(const std::vector<std::pair<std::size_t, Mapping>>& commands) {
        unsigned number = 33;
        for (const auto& [channel, mapping] : commands)
            addCommand(channel, number++, mapping);
        dialog = std::make_unique<gui::ConflictDialog>(fixture.session.product);
        dialog->show();
    }

    void addCommand(std::size_t channel, unsigned number, const Mapping& mapping) {
        using namespace command_item;
        CProductTarn& product = fixture.session.product;
        CHartbus* bus = product.channel(channel);
        COrlaNode* node = bus->currentNodes().empty() ? bus->addNode() : bus->currentNodes().front();
        COrlaCommand* command = node->addHartCommand(product.registries(), number);
        command->setItemInt(SendMemoryStart, mapping[0]);
        command->setItemInt(SendLengthBytes, mapping[1]);
        command->setItemInt(ReceiveMemoryStart, mapping[2]);
        command->setItemInt(ReceiveLengthBytes, mapping[3]);
    }

    gui::ConflictTreeView* tree() const {
        return dialog->findChild<gui::ConflictTreeView*>(QStringLiteral("Project tree"));
    }
    gui::ProjectTreeModel* treeModel() const { return qobject_cast<gui::ProjectTreeModel*>(tree()->model()); }
    QModelIndex item(const char* label) const { return treeModel()->findLabel(QString::fromLatin1(label)); }

    QTableView* grid(UsageGrid grid) const {
        return dialog->findChild<QTableView*>(grid == UsageGrid::Send
                                                  ? QStringLiteral("Send-data-memory")
                                                  : QStringLiteral("Receive-data-memory"));
    }
    // The view's cell of map byte `index`, placed by the core's grid layout (the table has
    // no row and column for the grid's header row and column).
    QModelIndex cell(UsageGrid which, int index) const {
        const GridCell at = usageGridCell(index);
        return grid(which)->model()->index(at.row - 1, at.column - 1);
    }
    QColor colour(UsageGrid which, int index) const {
        return cell(which, index).data(Qt::BackgroundRole).value<QColor>();
    }

    void clickCheckBox(const char* label) const {
        const QModelIndex index = item(label);
        tree()->scrollTo(index);
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, tree()->checkBoxRect(index).center());
    }
    void clickLabel(const char* label) const {
        const QModelIndex index = item(label);
        tree()->scrollTo(index);
        const QRect box = tree()->checkBoxRect(index);
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {},
                          QPoint(box.right() + 40, tree()->visualRect(index).center().y()));
    }
    bool isChecked(const char* label) const {
        return item(label).data(Qt::CheckStateRole).toInt() == Qt::Checked;
    }

    test::SessionFixture fixture{GatewayModel::Vela3hTcp};
    std::unique_ptr<gui::ConflictDialog> dialog;
};

// First index in [first, last] whose colour is not `expected`, or -1.
int firstOtherColour(const Fixture& f, UsageGrid grid, int first, int last, const QColor& expected) {
    for (int i = first; i <= last; ++i)
        if (f.colour(grid, i) != expected)
            return i;
    return -1;
}

} // namespace

Q_DECLARE_METATYPE(UsageGrid)

class ConflictDialogTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opensWithTheWholeTreeExpandedAndUnchecked() {
        Fixture f({{0, {3000, 4, 0, 4}}});
        QCOMPARE(f.dialog->windowTitle(), QStringLiteral("Conflict Detection"));
        QVERIFY(f.dialog->isModal());
        QVERIFY(f.dialog->findChildren<QPushButton*>().isEmpty());
        QCOMPARE(f.treeModel()->index(0, 0).data().toString(), QStringLiteral("Fieldbus"));
        QCOMPARE(f.treeModel()->rowCount(), 4);
        for (const char* label : {"Channel1", "Node(0)", "Command ID33", "Channel3"}) {
            QVERIFY2(f.item(label).isValid(), label);
            QVERIFY2(!f.isChecked(label), label);
        }
        QVERIFY(f.tree()->isExpanded(f.item("Channel1")));
        QVERIFY(f.tree()->isExpanded(f.item("Node(0)")));
        QCOMPARE(firstOtherColour(f, UsageGrid::Send, 0, UsageGridCells - 1, white), -1);
        QCOMPARE(firstOtherColour(f, UsageGrid::Receive, 0, UsageGridCells - 1, white), -1);
    }

    void escapeClosesTheDialog() {
        Fixture f({});
        QVERIFY(QTest::qWaitForWindowExposed(f.dialog.get()));
        QTest::keyClick(f.tree(), Qt::Key_Escape);
        QTRY_VERIFY_WITH_TIMEOUT(!f.dialog->isVisible(), 2000);
        QCOMPARE(f.dialog->result(), static_cast<int>(QDialog::Rejected));
    }

    void gridsShowColumnNumbersAndRowAddresses_data() {
        QTest::addColumn<UsageGrid>("grid");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("address");
        QTest::newRow("send first") << UsageGrid::Send << 0 << QStringLiteral("3000");
        QTest::newRow("send second") << UsageGrid::Send << 1 << QStringLiteral("3032");
        QTest::newRow("send last") << UsageGrid::Send << 199 << QStringLiteral("9368");
        QTest::newRow("receive first") << UsageGrid::Receive << 0 << QStringLiteral("0000");
        QTest::newRow("receive second") << UsageGrid::Receive << 1 << QStringLiteral("0032");
        QTest::newRow("receive last") << UsageGrid::Receive << 199 << QStringLiteral("6368");
    }

    void gridsShowColumnNumbersAndRowAddresses() {
        QFETCH(UsageGrid, grid);
        QFETCH(int, row);
        QFETCH(QString, address);
        Fixture f({});
        QTableView* view = f.grid(grid);
        QVERIFY(view);
        QAbstractItemModelTester tester(view->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(view->model()->rowCount(), 200);
        QCOMPARE(view->model()->columnCount(), 32);
        QCOMPARE(view->model()->headerData(row, Qt::Vertical).toString(), address);
        for (int column : {0, 9, 31})
            QCOMPARE(view->model()->headerData(column, Qt::Horizontal).toString(), QString::number(column));
        // Each grid has its caption above it.
        bool captioned = false;
        for (QLabel* label : f.dialog->findChildren<QLabel*>())
            captioned = captioned || (label->text() == view->accessibleName() && label->buddy() == view);
        QVERIFY(captioned);
    }

    void all32ColumnsAndTheAddressesAreReadable() {
        Fixture f({});
        QVERIFY(QTest::qWaitForWindowExposed(f.dialog.get()));
        for (UsageGrid grid : {UsageGrid::Send, UsageGrid::Receive}) {
            QTableView* view = f.grid(grid);
            QHeaderView* columns = view->horizontalHeader();
            QVERIFY(columns->sectionViewportPosition(31) + columns->sectionSize(31) <=
                    view->viewport()->width());
            QVERIFY(columns->sectionSize(0) >=
                    columns->fontMetrics().horizontalAdvance(QStringLiteral("31")));
            QVERIFY(view->verticalHeader()->width() >=
                    view->verticalHeader()->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
            QVERIFY(view->verticalHeader()->sectionSize(0) >= view->verticalHeader()->fontMetrics().height());
        }
    }

    void checkedCommandsColourTheirBytes_data() {
        QTest::addColumn<std::vector<Mapping>>("commands");
        QTest::addColumn<UsageGrid>("grid");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<QColor>("colour");
        const std::vector<Mapping> overlap{{3000, 10, 0, 0}, {3005, 10, 0, 0}};
        QTest::newRow("overlap, first only") << overlap << UsageGrid::Send << 0 << 4 << green;
        QTest::newRow("overlap, shared") << overlap << UsageGrid::Send << 5 << 9 << red;
        QTest::newRow("overlap, second only") << overlap << UsageGrid::Send << 10 << 14 << green;
        QTest::newRow("overlap, past both") << overlap << UsageGrid::Send << 15 << 200 << white;
        const std::vector<Mapping> belowSend{{2990, 5, 0, 0}};
        QTest::newRow("send below its memory") << belowSend << UsageGrid::Send << 3000 << 3004 << yellow;
        QTest::newRow("send below, before 3000") << belowSend << UsageGrid::Send << 0 << 2999 << white;
        const std::vector<Mapping> receiveEnd{{3000, 0, 2990, 20}};
        QTest::newRow("receive end, inside") << receiveEnd << UsageGrid::Receive << 2990 << 2999 << green;
        QTest::newRow("receive end, past") << receiveEnd << UsageGrid::Receive << 3000 << 3009 << yellow;
        QTest::newRow("receive end, after") << receiveEnd << UsageGrid::Receive << 3010 << 3100 << white;
    }

    void checkedCommandsColourTheirBytes() {
        QFETCH(std::vector<Mapping>, commands);
        QFETCH(UsageGrid, grid);
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(QColor, colour);
        std::vector<std::pair<std::size_t, Mapping>> onChannel1;
        for (const Mapping& mapping : commands)
            onChannel1.emplace_back(0, mapping);
        Fixture f(onChannel1);
        f.clickCheckBox("Channel1");
        QVERIFY(f.isChecked("Command ID33"));
        QCOMPARE(firstOtherColour(f, grid, first, last, colour), -1);
    }

    void theViewPaintsTheCellColoursAndNamesTheirState() {
        Fixture f({{0, {3000, 10, 0, 0}}, {0, {3005, 10, 0, 0}}});
        QVERIFY(QTest::qWaitForWindowExposed(f.dialog.get()));
        f.clickCheckBox("Channel1");
        QTableView* view = f.grid(UsageGrid::Send);
        const QImage picture = view->viewport()->grab().toImage();
        for (const auto& [index, colour] : {std::pair{2, green}, {7, red}, {20, white}}) {
            const QPoint centre = view->visualRect(f.cell(UsageGrid::Send, index)).center();
            QCOMPARE(picture.pixelColor(centre * picture.devicePixelRatio()), colour);
        }
        QCOMPARE(f.cell(UsageGrid::Send, 7).data(Qt::AccessibleTextRole).toString(),
                 QStringLiteral("3007 Conflict"));
        QCOMPARE(f.cell(UsageGrid::Send, 2).data(Qt::AccessibleTextRole).toString(),
                 QStringLiteral("3002 Valid"));
        QCOMPARE(f.cell(UsageGrid::Receive, 40).data(Qt::AccessibleTextRole).toString(),
                 QStringLiteral("0040 Unused"));
    }

    void aClickRefreshesEachGridInOneNotification() {
        Fixture f({{0, {3000, 10, 0, 10}}});
        QSignalSpy send(f.grid(UsageGrid::Send)->model(), &QAbstractItemModel::dataChanged);
        QSignalSpy receive(f.grid(UsageGrid::Receive)->model(), &QAbstractItemModel::dataChanged);
        f.clickCheckBox("Channel1");
        QCOMPARE(send.count(), 1);
        QCOMPARE(receive.count(), 1);
        f.clickLabel("Command ID33");
        QCOMPARE(send.count(), 2);
        QCOMPARE(receive.count(), 2);
    }

    void uncheckingAChannelClearsItsCommandsAndTheirBytes() {
        Fixture f({{0, {3000, 4, 0, 4}}, {1, {3002, 4, 2, 4}}});
        f.clickCheckBox("Channel1");
        f.clickCheckBox("Channel2");
        QCOMPARE(firstOtherColour(f, UsageGrid::Receive, 2, 3, red), -1);
        QVERIFY(f.isChecked("Command ID33"));

        f.clickCheckBox("Channel1");
        QVERIFY(!f.isChecked("Channel1"));
        QVERIFY(!f.isChecked("Node(0)"));
        QVERIFY(!f.isChecked("Command ID33"));
        QVERIFY(f.isChecked("Command ID34"));
        QCOMPARE(firstOtherColour(f, UsageGrid::Receive, 0, 1, white), -1);
        QCOMPARE(firstOtherColour(f, UsageGrid::Receive, 2, 5, green), -1);
        QCOMPARE(firstOtherColour(f, UsageGrid::Send, 0, 1, white), -1);
        QCOMPARE(firstOtherColour(f, UsageGrid::Send, 2, 5, green), -1);
        // The clicked item is the selected one.
        QCOMPARE(f.tree()->selectionModel()->selectedIndexes(), QModelIndexList{f.item("Channel1")});
    }

    void clickingACommandHighlightsItsBytesUntilAnotherClick() {
        Fixture f({{0, {3000, 4, 0, 4}}, {0, {3002, 4, 10, 2}}});
        f.clickCheckBox("Channel1");

        f.clickLabel("Command ID33");
        QVERIFY(f.isChecked("Command ID33")); // a label click leaves the check box alone
        QCOMPARE(firstOtherColour(f, UsageGrid::Send, 0, 3, blue), -1);
        QCOMPARE(firstOtherColour(f, UsageGrid::Receive, 0, 3, blue), -1);
        QCOMPARE(f.cell(UsageGrid::Send, 0).data(Qt::AccessibleTextRole).toString(),
                 QStringLiteral("3000 Selected"));
        QCOMPARE(f.tree()->selectionModel()->selectedIndexes(), QModelIndexList{f.item("Command ID33")});

        f.clickLabel("Command ID34");
        QCOMPARE(firstOtherColour(f, UsageGrid::Send, 0, 1, green), -1);
        QCOMPARE(firstOtherColour(f, UsageGrid::Send, 2, 5, blue), -1);
        QCOMPARE(firstOtherColour(f, UsageGrid::Receive, 0, 3, green), -1);
        QCOMPARE(firstOtherColour(f, UsageGrid::Receive, 10, 11, blue), -1);

        // A click below the last item restores the colours and leaves nothing selected.
        const QPoint below(20, f.tree()->viewport()->height() - 5);
        QVERIFY(!f.tree()->indexAt(below).isValid());
        QTest::mouseClick(f.tree()->viewport(), Qt::LeftButton, {}, below);
        QCOMPARE(firstOtherColour(f, UsageGrid::Send, 2, 3, red), -1);
        QCOMPARE(firstOtherColour(f, UsageGrid::Send, 4, 5, green), -1);
        QCOMPARE(firstOtherColour(f, UsageGrid::Receive, 10, 11, green), -1);
        QVERIFY(f.tree()->selectionModel()->selectedIndexes().isEmpty());
    }

    void aCheckBoxClickDropsTheHighlight() {
        Fixture f({{0, {3000, 4, 0, 4}}, {1, {3010, 4, 10, 4}}});
        f.clickCheckBox("Channel1");
        f.clickLabel("Command ID33");
        QCOMPARE(f.colour(UsageGrid::Send, 0), blue);
        f.clickCheckBox("Channel2");
        QCOMPARE(firstOtherColour(f, UsageGrid::Send, 0, 3, green), -1);
        QCOMPARE(firstOtherColour(f, UsageGrid::Send, 10, 13, green), -1);
        QCOMPARE(f.dialog->detection().highlightedCommand(), nullptr);
    }

    void theLegendNamesEveryColour_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("unused") << QStringLiteral("Unused") << white;
        QTest::newRow("valid") << QStringLiteral("Valid") << green;
        QTest::newRow("conflict") << QStringLiteral("Conflict") << red;
        QTest::newRow("exceeded") << QStringLiteral("Exceeded") << yellow;
        QTest::newRow("selected") << QStringLiteral("Selected ") << blue;
    }

    void theLegendNamesEveryColour() {
        QFETCH(QString, text);
        QFETCH(QColor, colour);
        Fixture f({});
        QVERIFY(QTest::qWaitForWindowExposed(f.dialog.get()));
        auto* label = f.dialog->findChild<QLabel*>(QStringLiteral("legend text ") + text.trimmed());
        auto* box = f.dialog->findChild<QLabel*>(QStringLiteral("legend box ") + text.trimmed());
        QVERIFY(label && box);
        QCOMPARE(label->text(), text);
        QVERIFY(label->isVisible() && box->isVisible());
        // The box sits just left of its text.
        QVERIFY(box->geometry().right() < label->geometry().left());
        const QImage picture = box->grab().toImage();
        QCOMPARE(picture.pixelColor(picture.rect().center()), colour);
    }
};

QTEST_MAIN(ConflictDialogTest)
#include "conflict_dialog_test.moc"
