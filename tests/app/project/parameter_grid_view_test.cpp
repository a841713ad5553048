#include "ProjectViewsFixture.h"
#include "hart/AdvancedConfiguration.h"
#include "hart/HartCommandCatalogue.h"
#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"
#include "model/CommandItems.h"

#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QWheelEvent>

using namespace korvan;
using test::ProjectViewsFixture;
using Strings = std::vector<std::string>;

namespace {

// Vela-3H-TCP with Node(0) on the first channel holding Command ID48, shown and selected.
struct CommandViews : ProjectViewsFixture {
    explicit CommandViews(unsigned number = 48) : ProjectViewsFixture(GatewayModel::Vela3hTcp) {
        node = product().channel(0)->addNode();
        command = node->addHartCommand(product().registries(), number);
    }
    bool showCommand() {
        if (!show())
            return false;
        clickItem(item(QString::fromStdString(command->commandName())));
        return cellText(0, 0) == QStringLiteral("Configuration Mode");
    }
    QColor background(int row) const { return cell(row, 1).data(Qt::BackgroundRole).value<QBrush>().color(); }

    COrlaNode* node = nullptr;
    COrlaCommand* command = nullptr;
};

const QColor white(255, 255, 255);
const QColor grey(200, 200, 200);

int undescribedCommand() {
    for (int number = 0; number < 255; ++number)
        if (HartCommandCatalogue::instance().fieldCount(number) == 0)
            return number;
    return -1;
}

} // namespace

class ParameterGridViewTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void twoEqualColumnsFillTheViewWithoutHeaders() {
        CommandViews views;
        QVERIFY(views.showCommand());
        QTableView* table = views.table();
        QCOMPARE(table->model()->rowCount(), 40);
        QCOMPARE(table->model()->columnCount(), 2);
        QVERIFY(!table->horizontalHeader()->isVisible());
        QVERIFY(!table->verticalHeader()->isVisible());
        QVERIFY(qAbs(table->columnWidth(0) - table->columnWidth(1)) <= 1);
        QCOMPARE(table->columnWidth(0) + table->columnWidth(1), table->viewport()->width());

        views.window.resize(1300, 700);
        QTRY_COMPARE(table->columnWidth(0) + table->columnWidth(1), table->viewport()->width());
        QVERIFY(qAbs(table->columnWidth(0) - table->columnWidth(1)) <= 1);
    }

    void cellsCarryTheirTextAsAccessibleNameAndTheirBackground() {
        CommandViews views;
        QVERIFY(views.showCommand());
        QCOMPARE(views.cell(2, 0).data(Qt::AccessibleTextRole).toString(),
                 QStringLiteral("Memory Starting Address of Sending Data"));
        QCOMPARE(views.cell(2, 1).data(Qt::AccessibleTextRole).toString(), QStringLiteral("3000"));
        QCOMPARE(views.background(2), white); // typed by the engineer
        QCOMPARE(views.background(3), grey);  // derived from row 2
        QCOMPARE(views.background(10), grey); // set by renumbering
        QCOMPARE(views.background(25), white);
        QCOMPARE(views.cellText(25, 0), QString());

        views.grid->clear();
        for (int row : {0, 3, 10, 39}) {
            QCOMPARE(views.cellText(row, 0), QString());
            QCOMPARE(views.background(row), white);
        }
    }

    void clickShowsTheHelpTextInTheAnnotation() {
        CommandViews views;
        QVERIFY(views.showCommand());
        QSignalSpy annotation(views.grid, &gui::ParameterGridView::annotationChanged);
        QSignalSpy clicked(views.grid, &gui::ParameterGridView::cellClicked);
        views.clickCell(2, 0);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(annotation.last().first().toString(),
                 QStringLiteral("Set starting address of sending data: 3000~4999"));
        QVERIFY(!views.grid->editBox()->isVisible()); // the name column opens nothing
        views.clickCell(20, 1);
        QCOMPARE(clicked.count(), 2);
        QCOMPARE(annotation.last().first().toString(), QString());
    }

    void editBoxLiesOverTheValueCell() {
        CommandViews views;
        QVERIFY(views.showCommand());
        views.clickCell(4, 1);
        QLineEdit* edit = views.grid->editBox();
        QVERIFY(edit->isVisible());
        QTableView* table = views.table();
        const QRect cell = table->visualRect(views.cell(4, 1));
        QCOMPARE(edit->geometry(),
                 QRect(cell.left(), cell.top(), table->columnWidth(1) - 20, table->rowHeight(4) + 1));
        QCOMPARE(edit->text(), QStringLiteral("0"));
        QVERIFY(edit->hasFocus());
        QCOMPARE(edit->selectedText(), QStringLiteral("0"));
        QCOMPARE(edit->accessibleName(), QStringLiteral("Length of Sending Data (BYTE)"));
    }

    void typedValuesAreCheckedAndTheirDerivedCellsFollow_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("derivedRow");
        QTest::addColumn<QString>("derived");
        QTest::newRow("send start 4999") << 2 << "4999"
                                         << ""
                                         << "4999" << 3 << "2499";
        QTest::newRow("send start 5000") << 2 << "5000"
                                         << "Data out of range"
                                         << "3000" << 3 << "1500";
        QTest::newRow("send start 2999") << 2 << "2999"
                                         << "Data out of range"
                                         << "3000" << 3 << "1500";
        QTest::newRow("send bytes 7") << 4 << "7"
                                      << ""
                                      << "7" << 5 << "4";
        QTest::newRow("send bytes 0") << 4 << "0"
                                      << ""
                                      << "0" << 5 << "0";
        QTest::newRow("empty") << 4 << ""
                               << "An item is empty"
                               << "0" << 5 << "0";
        QTest::newRow("letter") << 4 << "1a"
                                << "Has Illegal char"
                                << "0" << 5 << "0";
        QTest::newRow("send bytes 256") << 4 << "256"
                                        << "Data out of range"
                                        << "0" << 5 << "0";
        QTest::newRow("receive start 2999") << 6 << "2999"
                                            << ""
                                            << "2999" << 7 << "1499";
        QTest::newRow("receive bytes 25") << 8 << "25"
                                          << ""
                                          << "25" << 9 << "13";
    }
    void typedValuesAreCheckedAndTheirDerivedCellsFollow() {
        QFETCH(int, row);
        QFETCH(QString, text);
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QFETCH(int, derivedRow);
        QFETCH(QString, derived);
        CommandViews views;
        QVERIFY(views.showCommand());

        QVERIFY(views.typeValue(row, text));
        QCOMPARE(views.prompt().shown, message.isEmpty() ? Strings{} : Strings{message.toStdString()});
        QCOMPARE(views.cellText(row), shown);
        QCOMPARE(views.cellText(derivedRow), derived);
        QCOMPARE(QString::fromStdString(views.command->itemAt(static_cast<std::size_t>(row))->value()),
                 shown);
        QCOMPARE(views.session.session.state.projectDirty, text == QStringLiteral("0") ? 0 : 1);
    }

    void losingTheFocusCommitsTheEditBox() {
        CommandViews views;
        QVERIFY(views.showCommand());
        views.clickCell(2, 1);
        QTest::keyClicks(views.grid->editBox(), "3100");
        views.clickCell(0, 0);
        QVERIFY(!views.grid->editBox()->isVisible());
        QCOMPARE(views.cellText(2), QStringLiteral("3100"));
        QCOMPARE(views.cellText(3), QStringLiteral("1550"));

        // Selecting another item in the tree commits first, then shows that item.
        views.clickCell(2, 1);
        QTest::keyClicks(views.grid->editBox(), "3200");
        views.clickItem(views.item("Channel2"));
        QCOMPARE(views.command->itemAt(command_item::SendMemoryStart)->value(), std::string("3200"));
        QCOMPARE(views.cellText(0, 0), QStringLiteral("Master Type"));
        QVERIFY(!views.grid->editBox()->isVisible());
    }

    void enterInTheGridCommitsTheEditBox() {
        CommandViews views;
        QVERIFY(views.showCommand());
        views.clickCell(8, 1);
        QTest::keyClicks(views.grid->editBox(), "9");
        QTest::keyClick(views.grid->editBox(), Qt::Key_Enter);
        QVERIFY(views.table()->hasFocus());
        QCOMPARE(views.cellText(9), QStringLiteral("5"));
        QTest::keyClick(views.table(), Qt::Key_Return); // nothing open: nothing happens
        QCOMPARE(views.prompt().shown, Strings{});
    }

    void channelRowsHaveTheirRanges_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("delay 255") << 4 << "255"
                                   << "Data out of range";
        QTest::newRow("delay 65535") << 4 << "65535"
                                     << "";
        QTest::newRow("timeout 256") << 5 << "256"
                                     << "";
        QTest::newRow("count 15") << 7 << "15"
                                  << "Data out of range";
        QTest::newRow("count 14") << 7 << "14"
                                  << "";
    }
    void channelRowsHaveTheirRanges() {
        QFETCH(int, row);
        QFETCH(QString, text);
        QFETCH(QString, message);
        ProjectViewsFixture views(GatewayModel::Vela3hTcp);
        QVERIFY(views.show());
        views.clickItem(views.item("Channel1"));
        const QString before = views.cellText(row);
        QVERIFY(views.typeValue(row, text));
        QCOMPARE(views.prompt().shown, message.isEmpty() ? Strings{} : Strings{message.toStdString()});
        QCOMPARE(views.cellText(row), message.isEmpty() ? text : before);
    }

    void aNodeAddressRenamesTheTreeItemUnlessItRepeats() {
        ProjectViewsFixture views(GatewayModel::Vela3hTcp);
        CHartbus* channel = views.product().channel(1);
        channel->setMode(MultiDropMode);
        channel->addNode();
        COrlaNode* second = channel->addNode();
        QVERIFY(views.show());
        views.clickItem(views.item("Node(2)", "Channel2"));
        QSignalSpy relabelled(views.grid, &gui::ParameterGridView::selectedLabelChanged);

        QVERIFY(views.typeValue(0, "1"));
        QCOMPARE(views.prompt().shown, Strings{"Node address  repeat"});
        QCOMPARE(views.cellText(0), QStringLiteral("2"));
        QCOMPARE(views.childLabels(views.item("Channel2")), (QStringList{"Node(1)", "Node(2)"}));
        QCOMPARE(relabelled.count(), 0);

        QVERIFY(views.typeValue(0, "9"));
        QCOMPARE(relabelled.count(), 1);
        QCOMPARE(second->nodeName(), std::string("Node(9)"));
        QCOMPARE(views.childLabels(views.item("Channel2")), (QStringList{"Node(1)", "Node(9)"}));
        QCOMPARE(views.selectedLabel(), QStringLiteral("Node(9)"));
        // Copy Node reads the node's number from the new label.
        views.actions[2]->trigger();
        QCOMPARE(views.session.session.tree.clipboard().copiedNode(), 9);

        // A point-to-point node's address is locked.
        views.product().channel(0)->addNode();
        views.pane->rebuild(true);
        views.clickItem(views.item("Node(0)", "Channel1"));
        views.clickCell(0, 1);
        QVERIFY(!views.grid->editBox()->isVisible());
    }

    void choiceListOpensOverTheCellWithItsFirstEntryAndCancelsWithoutAPick() {
        ProjectViewsFixture views(GatewayModel::Vela3hTcp);
        QVERIFY(views.show());
        views.clickItem(views.item("Channel1"));
        views.product().channel(0)->itemAt(channel_item::MasterType)->setValue("Secondary Master");
        views.clickItem(views.item("Channel2"));
        views.clickItem(views.item("Channel1"));
        views.clickCell(0, 1);

        QComboBox* list = views.grid->choiceList();
        QVERIFY(list->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(list->view()->isVisible(), 2000);
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->itemText(0), QStringLiteral("Primary Master"));
        QCOMPARE(list->currentIndex(), 0);
        QCOMPARE(list->accessibleName(), QStringLiteral("Master Type"));
        QTableView* table = views.table();
        const QRect cell = table->visualRect(views.cell(0, 1));
        QCOMPARE(list->geometry(),
                 QRect(cell.left(), cell.top(), table->columnWidth(1) - 20, table->rowHeight(0) + 1));

        QTest::keyClick(list->view(), Qt::Key_Escape);
        QTRY_VERIFY_WITH_TIMEOUT(!list->isVisible(), 2000);
        QCOMPARE(list->count(), 0);
        QCOMPARE(views.cellText(0), QStringLiteral("Secondary Master"));
        QCOMPARE(views.session.session.state.projectDirty, 0);

        // Picking the entry the list opened with still counts as a pick.
        QVERIFY(views.pickChoice(0, "Primary Master"));
        QCOMPARE(views.cellText(0), QStringLiteral("Primary Master"));
        QCOMPARE(views.session.session.state.projectDirty, 1);
        QCOMPARE(table->currentIndex(), views.cell(0, 1));
    }

    void timeoutActionGreysTheTimeoutCount() {
        ProjectViewsFixture views(GatewayModel::Vela3hTcp);
        QVERIFY(views.show());
        views.clickItem(views.item("Channel3"));
        QVERIFY(views.pickChoice(6, "Hold"));
        QCOMPARE(views.cell(7, 1).data(Qt::BackgroundRole).value<QBrush>().color(), grey);
        views.clickCell(7, 1);
        QVERIFY(!views.grid->editBox()->isVisible());
        QVERIFY(views.pickChoice(6, "Clear"));
        QCOMPARE(views.cell(7, 1).data(Qt::BackgroundRole).value<QBrush>().color(), white);
        views.clickCell(7, 1);
        QVERIFY(views.grid->editBox()->isVisible());
    }

    void networkModeSwitchRebuildsTheTree() {
        ProjectViewsFixture views(GatewayModel::Vela3hTcp);
        views.product().channel(0)->addNode()->addHartCommand(views.product().registries(), 3);
        QVERIFY(views.show());
        QSignalSpy rebuild(views.grid, &gui::ParameterGridView::treeRebuildRequested);
        views.clickItem(views.item("Channel1"));

        QVERIFY(views.pickChoice(1, "Multi-drop"));
        QCOMPARE(rebuild.count(), 1);
        QCOMPARE(views.product().channel(0)->mode(), MultiDropMode);
        QVERIFY(views.childLabels(views.item("Channel1")).isEmpty());
        QCOMPARE(views.selectedLabel(), QStringLiteral("Channel1"));
        QCOMPARE(views.cellText(1), QStringLiteral("Multi-drop"));
        QCOMPARE(views.table()->currentIndex(), views.cell(1, 1));
        QVERIFY(views.actions[0]->isEnabled()); // an empty multi-drop channel takes a node

        QVERIFY(views.pickChoice(1, "Point-to-Point"));
        QCOMPARE(rebuild.count(), 2);
        QCOMPARE(views.childLabels(views.item("Channel1")), QStringList{"Node(0)"});
        QCOMPARE(views.childLabels(views.item("Node(0)")), QStringList{"Command ID3"});
        QVERIFY(views.tree()->isExpanded(views.item("Node(0)")));
        QVERIFY(!views.actions[0]->isEnabled());

        QVERIFY(views.pickChoice(1, "Point-to-Point")); // no switch: no rebuild
        QCOMPARE(rebuild.count(), 2);
    }

    void basicAndAdvancedSwitchWithItsQuestion() {
        CommandViews views;
        views.command->setItemInt(command_item::ReceiveLengthBytes, 10);
        QVERIFY(views.showCommand());
        QPushButton* button = views.grid->configurationButton();
        QVERIFY(!button->isVisible());

        QVERIFY(views.pickChoice(0, "Advanced"));
        QCOMPARE(views.cellText(0), QStringLiteral("Advanced"));
        QCOMPARE(views.cellText(6, 0), QStringLiteral("Receive Data Project Configuration"));
        QCOMPARE(views.cellText(7, 0), QStringLiteral("Command Index"));
        QCOMPARE(views.cellText(8, 0), QString());
        QVERIFY(button->isVisible());
        QCOMPARE(button->text(), QStringLiteral("Configuration"));
        QCOMPARE(button->accessibleName(), QStringLiteral("Configuration"));

        const struct {
            Answer answer;
            const char* mode;
        } answers[] = {{Answer::No, "Advanced"}, {Answer::Cancel, "Advanced"}, {Answer::Yes, "Basic"}};
        for (const auto& step : answers) {
            views.prompt().answerNext(step.answer);
            QVERIFY(views.pickChoice(0, "Basic"));
            QCOMPARE(views.prompt().asked.back(), QuestionId::SwitchToBasic);
            QCOMPARE(views.cellText(0), QString::fromLatin1(step.mode));
            QCOMPARE(button->isVisible(), step.answer != Answer::Yes);
        }
        QCOMPARE(
            views.prompt().shown.back(),
            std::string("Are you sure to choose \"Basic\"?  The advanced configuration items will be deleted "
                        "after clicking \"YES\""));
        QCOMPARE(views.cellText(6, 0), QStringLiteral("Receiving memory starting address"));
        QCOMPARE(views.cellText(9, 0), QStringLiteral("Receive data length (WORD)"));
        QCOMPARE(views.cellText(6), QStringLiteral("0"));
        QCOMPARE(views.cellText(10, 0), QStringLiteral("Command Index"));
        QCOMPARE(views.command->segmentCount(), 0);
    }

    void configurationButtonLeavesTheFreePartThatOpensTheAdvancedConfiguration() {
        CommandViews views;
        views.command->setItemInt(command_item::ReceiveLengthBytes, 10);
        QVERIFY(views.showCommand());
        QVERIFY(views.pickChoice(0, "Advanced"));
        QPushButton* button = views.grid->configurationButton();
        QTableView* table = views.table();
        const QRect cell = table->visualRect(views.cell(6, 1));
        QCOMPARE(button->geometry(),
                 gui::ParameterGridView::editorGeometry(cell, table->columnWidth(1), table->rowHeight(6)));
        QCOMPARE(button->geometry(),
                 QRect(cell.left(), cell.top(), table->columnWidth(1) - 20, table->rowHeight(6) + 1));
        const QPoint freePart(cell.right() - 10, cell.center().y());
        QVERIFY(!button->geometry().contains(freePart));

        // Without a dialog the click does nothing.
        views.clickCell(6, 1, freePart);
        QCOMPARE(views.command->segmentCount(), 0);

        int opened = 0;
        std::size_t offered = 0;
        views.grid->setAdvancedDialog([&](AdvancedConfiguration& dialog) {
            ++opened;
            offered = dialog.rowCount();
        });
        QTest::mouseClick(button, Qt::LeftButton); // the button has no action of its own
        QCOMPARE(opened, 0);
        QSignalSpy annotation(views.grid, &gui::ParameterGridView::annotationChanged);
        views.clickCell(6, 1, freePart);
        QCOMPARE(opened, 1);
        QVERIFY(offered > 0);
        QCOMPARE(annotation.last().first().toString(),
                 QStringLiteral("Byte offset configuration of the command"));
        QCOMPARE(views.command->segmentCount(), static_cast<int>(offered));
        QCOMPARE(table->currentIndex(), views.cell(6, 0));
        QVERIFY(button->isVisible());
        QCOMPARE(views.session.session.state.projectDirty, 1);

        // The button follows its cell when the grid changes size.
        views.window.resize(1400, 700);
        QTRY_COMPARE(button->geometry(),
                     gui::ParameterGridView::editorGeometry(table->visualRect(views.cell(6, 1)),
                                                            table->columnWidth(1), table->rowHeight(6)));
        // Another item hides it.
        views.clickItem(views.item("Node(0)"));
        QVERIFY(!button->isVisible());
    }

    void undescribedCommandKeepsBasicConfiguration() {
        const int number = undescribedCommand();
        QVERIFY(number >= 0);
        CommandViews views(static_cast<unsigned>(number));
        QVERIFY(views.showCommand());
        QCOMPARE(views.background(0), grey);
        views.clickCell(0, 1);
        QVERIFY(!views.grid->choiceList()->isVisible());
    }

    void wheelScrollsOneRowPerNotch() {
        CommandViews views;
        views.window.resize(900, 300);
        QVERIFY(views.showCommand());
        QScrollBar* bar = views.table()->verticalScrollBar();
        QVERIFY(bar->maximum() > 3);
        const auto wheel = [&](int delta) {
            const QPoint at = views.table()->viewport()->rect().center();
            QWheelEvent event(at, views.table()->viewport()->mapToGlobal(at), {}, {0, delta}, Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(views.table()->viewport(), &event);
        };
        wheel(-120);
        QCOMPARE(bar->value(), 1);
        wheel(-240);
        QCOMPARE(bar->value(), 3);
        wheel(-60); // half a notch waits for the other half
        QCOMPARE(bar->value(), 3);
        wheel(-60);
        QCOMPARE(bar->value(), 4);
        wheel(960);
        QCOMPARE(bar->value(), 0);

        // An open edit box moves with its cell.
        views.clickCell(2, 1);
        wheel(-120);
        QTableView* table = views.table();
        QCOMPARE(views.grid->editBox()->geometry().top(), table->visualRect(views.cell(2, 1)).top());
    }
    void networkSideChoicesRedrawTheGridAndTheFlags() {
        ProjectViewsFixture views(GatewayModel::Vela3hRtu);
        QVERIFY(views.show());
        views.session.session.state.canSelectMode = false;
        views.clickItem(views.item("Fieldbus"));
        QSignalSpy flags(views.grid, &gui::ParameterGridView::flagsChanged);
        QVERIFY(views.pickChoice(0, "User Config"));
        QCOMPARE(views.cellText(0), QStringLiteral("User Config"));
        QVERIFY(views.session.session.state.canSelectMode);
        QVERIFY(flags.count() >= 1);
        QStringList names;
        for (int row = 1; row < 8; ++row)
            names << views.cellText(row, 0);
        QVERIFY2(names.contains(QStringLiteral("HART Channel Interface")), qPrintable(names.join(", ")));
    }

    void ethernetAddressesAreCheckedAndDhcpGreysThem() {
        ProjectViewsFixture views(GatewayModel::Vela3hTcp);
        QVERIFY(views.show());
        views.clickItem(views.item("Fieldbus"));
        QCOMPARE(views.cellText(2, 0), QStringLiteral("IP Address"));
        QVERIFY(views.typeValue(2, "192.168.0.300"));
        QCOMPARE(views.prompt().shown, Strings{"IP format error"});
        QCOMPARE(views.cellText(2), QStringLiteral("192.168.0.10"));
        QVERIFY(views.typeValue(2, "127.0.0.2"));
        QCOMPARE(views.cellText(2), QStringLiteral("127.0.0.2"));

        QVERIFY(views.pickChoice(1, "DHCP"));
        for (int row : {2, 3, 4})
            QCOMPARE(views.cell(row, 1).data(Qt::BackgroundRole).value<QBrush>().color(), grey);
        views.clickCell(2, 1);
        QVERIFY(!views.grid->editBox()->isVisible());
    }
};

QTEST_MAIN(ParameterGridViewTest)
#include "parameter_grid_view_test.moc"
