#include "ProjectViewsFixture.h"
#include "mapping/CommandSelection.h"
#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"
#include "model/CommandItems.h"

#include <QSignalSpy>

using namespace korvan;
using test::ProjectViewsFixture;

namespace {

enum Command { AddNode, DeleteNode, CopyNode, PasteNode, AddCommand, DeleteCommand };

QList<bool> enabledStates(const QList<QAction*>& actions) {
    QList<bool> states;
    for (const QAction* action : actions)
        states << action->isEnabled();
    return states;
}

// Vela-3H-TCP with Node(0) and its Command ID3 on the first (point-to-point) channel.
void addPointToPointNode(CProductTarn& product) {
    product.channel(0)->addNode()->addHartCommand(product.registries(), 3);
}

// The second channel in multi-drop mode with nodes 1..n, each with the given commands.
CHartbus* multiDropChannel(CProductTarn& product, int nodes, std::initializer_list<unsigned> commands = {}) {
    CHartbus* channel = product.channel(1);
    channel->setMode(MultiDropMode);
    for (int i = 0; i < nodes; ++i) {
        COrlaNode* node = channel->addNode();
        for (unsigned number : commands)
            node->addHartCommand(product.registries(), number);
    }
    channel->renumberChannelCommands();
    return channel;
}

} // namespace

Q_DECLARE_METATYPE(QList<bool>)

class ProjectTreePaneTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void showsTheProductExpandedWithItsIconsAndAVisibleSelection() {
        ProjectViewsFixture views(GatewayModel::Vela3hTcp);
        addPointToPointNode(views.product());
        QVERIFY(views.show());

        gui::ProjectTreeModel* model = views.pane->model();
        QCOMPARE(views.childLabels({}), (QStringList{"Fieldbus", "Channel1", "Channel2", "Channel3"}));
        const QModelIndex node = views.item("Node(0)", "Channel1");
        QVERIFY(views.tree()->isExpanded(node.parent()));
        QVERIFY(views.tree()->isExpanded(node));
        QCOMPARE(views.childLabels(node), QStringList{"Command ID3"});
        for (const char* label : {"Fieldbus", "Channel1", "Node(0)", "Command ID3"}) {
            const QModelIndex index = model->findLabel(QString::fromLatin1(label));
            QVERIFY2(!index.data(Qt::DecorationRole).value<QIcon>().isNull(), label);
            QCOMPARE(index.data(Qt::AccessibleTextRole).toString(), QString::fromLatin1(label));
        }

        const QPalette palette = views.tree()->palette();
        for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
            QCOMPARE(palette.color(QPalette::Inactive, role), palette.color(QPalette::Active, role));
    }

    void enableFlagsFollowTheSelectedKind_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QList<bool>>("enabled");
        // Add Node, Delete Node, Copy Node, Paste Node, Add Command, Delete Command
        QTest::newRow("network side") << "Fieldbus"
                                      << "" << QList<bool>{0, 0, 0, 0, 0, 0};
        QTest::newRow("full point-to-point channel") << "Channel1"
                                                     << "" << QList<bool>{0, 0, 0, 0, 0, 0};
        QTest::newRow("multi-drop channel") << "Channel2"
                                            << "" << QList<bool>{1, 0, 0, 0, 0, 0};
        QTest::newRow("node") << "Node(1)"
                              << "Channel2" << QList<bool>{0, 1, 1, 0, 1, 0};
        QTest::newRow("command") << "Command ID3"
                                 << "Node(0)" << QList<bool>{0, 0, 0, 0, 0, 1};
    }
    void enableFlagsFollowTheSelectedKind() {
        QFETCH(QString, label);
        QFETCH(QString, parent);
        QFETCH(QList<bool>, enabled);
        ProjectViewsFixture views(GatewayModel::Vela3hTcp);
        addPointToPointNode(views.product());
        multiDropChannel(views.product(), 1, {48});
        QVERIFY(views.show());

        views.clickItem(views.item(label, parent));
        QCOMPARE(views.selectedLabel(), label);
        QCOMPARE(enabledStates(views.actions), enabled);
        // The context menu carries the same actions, so it shows the same states.
        views.openContextMenu(views.item(label, parent));
        QTRY_VERIFY_WITH_TIMEOUT(views.pane->contextMenu()->isVisible(), 2000);
        QCOMPARE(views.pane->contextMenu()->actions(), views.actions);
        views.pane->contextMenu()->close();
    }

    void contextMenuSelectsTheItemUnderTheCursorFirst() {
        ProjectViewsFixture views(GatewayModel::Vela3hTcp);
        addPointToPointNode(views.product());
        QVERIFY(views.show());
        QSignalSpy shown(views.pane, &gui::ProjectTreePane::itemSelected);

        views.openContextMenu(views.item("Command ID3"));
        QTRY_VERIFY_WITH_TIMEOUT(views.pane->contextMenu()->isVisible(), 2000);
        QCOMPARE(views.selectedLabel(), QStringLiteral("Command ID3"));
        QCOMPARE(shown.count(), 1);
        QCOMPARE(shown.first().at(1).toString(), QStringLiteral("Command ID3"));
        QStringList texts;
        for (const QAction* action : views.pane->contextMenu()->actions())
            texts << action->text();
        QCOMPARE(texts, (QStringList{"Add Node", "Delete Node", "Copy Node", "Paste Node", "Add Command",
                                     "Delete Command"}));
        QVERIFY(views.actions[DeleteCommand]->isEnabled());
        QVERIFY(views.clickMenuEntry("Delete Command"));

        // The only command of its node: nothing is selected afterwards and the grid is empty.
        QVERIFY(views.product().channel(0)->currentNodes().front()->commands().empty());
        QVERIFY(views.childLabels(views.item("Node(0)")).isEmpty());
        QCOMPARE(views.selectedLabel(), QString());
        QVERIFY(!views.session.session.tree.selection().has_value());
        QCOMPARE(views.cellText(0, 0), QString());
        QCOMPARE(enabledStates(views.actions), (QList<bool>{0, 0, 0, 0, 0, 0}));
    }

    void addNodeInsertsUnderTheChannelUntilItIsFull() {
        ProjectViewsFixture views(GatewayModel::Vela3hTcp);
        CHartbus* channel = multiDropChannel(views.product(), 13);
        QVERIFY(views.show());
        views.clickItem(views.item("Channel2"));
        QVERIFY(views.actions[AddNode]->isEnabled());

        views.actions[AddNode]->trigger();
        QCOMPARE(channel->currentNodes().size(), 14u);
        QCOMPARE(views.childLabels(views.item("Channel2")).last(), QStringLiteral("Node(14)"));
        QCOMPARE(views.selectedLabel(), QStringLiteral("Channel2"));
        QVERIFY(views.actions[AddNode]->isEnabled());

        views.openContextMenu(views.item("Channel2"));
        QVERIFY(views.clickMenuEntry("Add Node"));
        QCOMPARE(views.childLabels(views.item("Channel2")).size(), 15);
        QCOMPARE(views.childLabels(views.item("Channel2")).last(), QStringLiteral("Node(15)"));
        QVERIFY(!views.actions[AddNode]->isEnabled());
        QCOMPARE(views.session.session.state.projectDirty, 1);
    }

    void deleteNodeSelectsTheNextSiblingOrElseThePrevious() {
        ProjectViewsFixture views(GatewayModel::Vela3hTcp);
        CHartbus* channel = multiDropChannel(views.product(), 3, {1, 2});
        QVERIFY(views.show());

        const struct {
            const char* deleted;
            const char* selected;
        } steps[] = {{"Node(2)", "Node(3)"}, {"Node(3)", "Node(1)"}, {"Node(1)", ""}};
        for (const auto& step : steps) {
            views.clickItem(views.item(step.deleted, "Channel2"));
            views.actions[DeleteNode]->trigger();
            QVERIFY2(!views.item(step.deleted, "Channel2").isValid(), step.deleted);
            QCOMPARE(views.selectedLabel(), QString::fromLatin1(step.selected));
        }
        QVERIFY(channel->currentNodes().empty());
        QVERIFY(views.childLabels(views.item("Channel2")).isEmpty());
        QCOMPARE(views.cellText(0, 0), QString());
    }

    void deleteCommandSelectsTheNextSiblingAndRenumbers() {
        ProjectViewsFixture views(GatewayModel::Vela3hTcp);
        CHartbus* channel = multiDropChannel(views.product(), 1, {1, 2, 3});
        QVERIFY(views.show());
        QSignalSpy shown(views.pane, &gui::ProjectTreePane::itemSelected);

        views.clickItem(views.item("Command ID2", "Node(1)"));
        views.actions[DeleteCommand]->trigger();
        QCOMPARE(views.childLabels(views.item("Node(1)")), (QStringList{"Command ID1", "Command ID3"}));
        QCOMPARE(views.selectedLabel(), QStringLiteral("Command ID3"));
        QCOMPARE(shown.last().at(1).toString(), QStringLiteral("Command ID3"));
        // The grid shows the command now selected, with its new index.
        QCOMPARE(views.cellText(10), QStringLiteral("1"));

        views.actions[DeleteCommand]->trigger();
        QCOMPARE(views.selectedLabel(), QStringLiteral("Command ID1"));
        const COrlaNode* node = channel->currentNodes().front();
        QCOMPARE(node->commands().size(), 1u);
        QCOMPARE(node->commandAt(0)->itemAt(command_item::CommandIndex)->value(), std::string("0"));
    }

    void copyAndPasteThroughTheContextMenu() {
        ProjectViewsFixture views(GatewayModel::Vela3hTcp);
        COrlaNode* source = views.product().channel(0)->addNode();
        source->addHartCommand(views.product().registries(), 9)
            ->setItemInt(command_item::SendMemoryStart, 3010);
        source->addHartCommand(views.product().registries(), 48);
        multiDropChannel(views.product(), 1, {0});
        QVERIFY(views.show());

        views.openContextMenu(views.item("Node(0)", "Channel1"));
        QVERIFY(views.clickMenuEntry("Copy Node"));
        QVERIFY(!views.actions[PasteNode]->isEnabled()); // its own point-to-point channel is full

        views.openContextMenu(views.item("Node(1)", "Channel2"));
        QTRY_VERIFY_WITH_TIMEOUT(views.pane->contextMenu()->isVisible(), 2000);
        QVERIFY(views.actions[PasteNode]->isEnabled());
        QVERIFY(views.clickMenuEntry("Paste Node"));

        // The tree is built again with the pasted node, and the channel is selected.
        QCOMPARE(views.childLabels(views.item("Channel2")), (QStringList{"Node(1)", "Node(2)"}));
        QCOMPARE(views.childLabels(views.item("Node(2)", "Channel2")),
                 (QStringList{"Command ID9", "Command ID48"}));
        QVERIFY(views.tree()->isExpanded(views.item("Node(2)", "Channel2")));
        QCOMPARE(views.selectedLabel(), QStringLiteral("Channel2"));
        QCOMPARE(views.cellText(0, 0), QStringLiteral("Master Type"));
        const COrlaNode* pasted = views.product().channel(1)->currentNodes().back();
        QCOMPARE(pasted->commandAt(0)->itemAt(command_item::SendMemoryStart)->value(), std::string("3010"));
        QCOMPARE(pasted->commandAt(1)->itemAt(command_item::CommandIndex)->value(), std::string("2"));
    }

    void pasteIntoAFullChannelIsRefusedWithItsMessage() {
        ProjectViewsFixture views(GatewayModel::Vela3hTcp);
        addPointToPointNode(views.product());
        QVERIFY(views.show());
        views.clickItem(views.item("Node(0)", "Channel1"));
        views.actions[CopyNode]->trigger();
        views.clickItem(views.item("Channel1"));
        QVERIFY(!views.actions[PasteNode]->isEnabled());

        // Called past its disabled action, paste reports why and changes nothing.
        views.pane->pasteNode();
        QCOMPARE(views.prompt().shown,
                 std::vector<std::string>{"The current node has more than 15, can not paste the node!"});
        QCOMPARE(views.childLabels(views.item("Channel1")), QStringList{"Node(0)"});
        QCOMPARE(views.selectedLabel(), QStringLiteral("Channel1"));
    }

    void addCommandRunsTheChooserAndSelectsTheChannel() {
        ProjectViewsFixture views(GatewayModel::Vela3hTcp);
        addPointToPointNode(views.product());
        QVERIFY(views.show());
        int offered = -1;
        views.pane->setCommandChooser([&](CommandSelection& selection) {
            offered = selection.count();
            selection.moveRight(48, views.prompt());
            selection.moveRight(1, views.prompt());
            return std::optional(selection.chosen());
        });

        views.clickItem(views.item("Node(0)", "Channel1"));
        views.actions[AddCommand]->trigger();
        QCOMPARE(offered, 1);
        QCOMPARE(views.childLabels(views.item("Node(0)", "Channel1")),
                 (QStringList{"Command ID3", "Command ID1", "Command ID48"}));
        QVERIFY(views.tree()->isExpanded(views.item("Node(0)", "Channel1")));
        QCOMPARE(views.selectedLabel(), QStringLiteral("Channel1"));
        QCOMPARE(views.cellText(0, 0), QStringLiteral("Master Type"));

        // Cancelled: nothing added, the channel is selected all the same and the project dirty.
        views.session.session.state.projectDirty = 0;
        views.pane->setCommandChooser(
            [](CommandSelection&) { return std::optional<std::array<bool, 255>>{}; });
        views.clickItem(views.item("Node(0)", "Channel1"));
        views.openContextMenu(views.item("Node(0)", "Channel1"));
        QVERIFY(views.clickMenuEntry("Add Command"));
        QCOMPARE(views.childLabels(views.item("Node(0)", "Channel1")).size(), 3);
        QCOMPARE(views.selectedLabel(), QStringLiteral("Channel1"));
        QCOMPARE(views.session.session.state.projectDirty, 1);
    }

    void rebuildReselectsThePreviousLabelThroughASelectionReset() {
        ProjectViewsFixture views(GatewayModel::Vela3hTcp);
        addPointToPointNode(views.product());
        QVERIFY(views.show());
        QSignalSpy shown(views.pane, &gui::ProjectTreePane::itemSelected);
        QSignalSpy cleared(views.pane, &gui::ProjectTreePane::selectionCleared);

        views.clickItem(views.item("Command ID3"));
        views.pane->resetSelection();
        QCOMPARE(views.selectedLabel(), QString());
        QVERIFY(!views.session.session.tree.selection().has_value());
        QCOMPARE(cleared.count(), 1);

        views.pane->rebuild(true);
        QCOMPARE(views.selectedLabel(), QStringLiteral("Command ID3"));
        QCOMPARE(shown.last().at(1).toString(), QStringLiteral("Command ID3"));
        QCOMPARE(views.session.session.tree.selection()->kind, TreeItemKind::Command);
        QCOMPARE(views.cellText(0, 0), QStringLiteral("Configuration Mode"));

        views.pane->rebuild(false);
        QCOMPARE(views.selectedLabel(), QString());
        QCOMPARE(cleared.count(), 2);
        views.pane->selectFirstItem();
        QCOMPARE(views.selectedLabel(), QStringLiteral("Fieldbus"));
        QCOMPARE(views.session.session.tree.selection()->kind, TreeItemKind::NetworkBus);
    }

    void ctrlClickKeepsTheSelection() {
        ProjectViewsFixture views(GatewayModel::Vela3hTcp);
        QVERIFY(views.show());
        views.clickItem(views.item("Channel2"));
        const QModelIndex channel = views.item("Channel2");
        QTest::mouseClick(views.tree()->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          views.tree()->visualRect(channel).center());
        QCOMPARE(views.selectedLabel(), QStringLiteral("Channel2"));
        QVERIFY(views.actions[AddNode]->isEnabled());
    }
};

QTEST_MAIN(ProjectTreePaneTest)
#include "project_tree_pane_test.moc"
