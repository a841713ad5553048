#include "SessionFixture.h"
#include "model/CHartbus.h"
#include "model/COrlaNode.h"
#include "model/ProjectTreeItem.h"
#include "project/ProjectTreeModel.h"

#include <QAbstractItemModelTester>
#include <QPersistentModelIndex>
#include <QTest>

using namespace korvan;

class ProjectTreeModelTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void showsTheProductsTreeWithLabelsAndParents() {
        test::SessionFixture fixture(GatewayModel::Vela3hTcp);
        CProductTarn& product = fixture.session.product;
        product.channel(1)->addNode()->addHartCommand(product.registries(), 3);
        gui::ProjectTreeModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setTree(buildProjectTree(product));

        QCOMPARE(model.rowCount(), 4);
        QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("Fieldbus"));
        const QModelIndex command = model.findLabel(QStringLiteral("Command ID3"));
        QVERIFY(command.isValid());
        QCOMPARE(command.parent().data().toString(), QStringLiteral("Node(0)"));
        QCOMPARE(command.parent().parent().data().toString(), QStringLiteral("Channel2"));
        QCOMPARE(model.itemAt(command)->tag.kind, TreeItemKind::Command);
        QVERIFY(!model.findLabel(QStringLiteral("Command ID4")).isValid());
        QVERIFY(!(model.flags(command) & Qt::ItemIsUserCheckable));
    }

    void checkBoxesAskTheirOwnerAndReportClicks() {
        test::SessionFixture fixture(GatewayModel::Vela1hTcp);
        gui::ProjectTreeModel model;
        model.setTree(buildProjectTree(fixture.session.product));
        const ProjectTreeItem* ticked = nullptr;
        model.setCheckState([&](const ProjectTreeItem& item) { return &item == ticked; });
        QObject::connect(&model, &gui::ProjectTreeModel::checkClicked,
                         [&](const ProjectTreeItem& item) { ticked = &item; });
        const QModelIndex channel = model.findLabel(QStringLiteral("Channel1"));
        QCOMPARE(channel.data(Qt::CheckStateRole).toInt(), static_cast<int>(Qt::Unchecked));
        QVERIFY(model.setData(channel, Qt::Checked, Qt::CheckStateRole));
        QCOMPARE(channel.data(Qt::CheckStateRole).toInt(), static_cast<int>(Qt::Checked));
    }
    void singleItemEditsKeepTheIndexesTheViewsHold() {
        test::SessionFixture fixture(GatewayModel::Vela3hTcp);
        CProductTarn& product = fixture.session.product;
        CHartbus* channel = product.channel(1);
        channel->setMode(MultiDropMode);
        for (unsigned number : {1u, 2u, 3u})
            channel->addNode()->addHartCommand(product.registries(), number);
        gui::ProjectTreeModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setTree(buildProjectTree(product));

        const QPersistentModelIndex third = model.findLabel(QStringLiteral("Node(3)"));
        const QPersistentModelIndex thirdCommand = model.findLabel(QStringLiteral("Command ID3"));
        QVERIFY(model.removeItem(model.findLabel(QStringLiteral("Node(1)"))));
        QCOMPARE(third.row(), 1);
        QCOMPARE(third.data().toString(), QStringLiteral("Node(3)"));
        QCOMPARE(model.itemAt(third)->tag.node, channel->currentNodes().at(2));
        QCOMPARE(QModelIndex(thirdCommand).parent(), QModelIndex(third));
        QCOMPARE(model.indexOf(model.itemAt(third)), QModelIndex(third));

        const QModelIndex channelIndex = model.findLabel(QStringLiteral("Channel2"));
        ProjectTreeItem added{{TreeItemKind::Node, nullptr, channel, nullptr, nullptr}, "Node(4)", {}};
        added.children.push_back(
            {{TreeItemKind::Command, nullptr, channel, nullptr, nullptr}, "Command ID9", {}});
        const QModelIndex appended = model.appendItem(channelIndex, added);
        QCOMPARE(appended.row(), 2);
        QCOMPARE(appended.parent(), channelIndex);
        QCOMPARE(model.rowCount(appended), 1);
        QCOMPARE(model.index(0, 0, appended).data().toString(), QStringLiteral("Command ID9"));
        QCOMPARE(third.data().toString(), QStringLiteral("Node(3)"));
        QCOMPARE(model.tree()[2].children.size(), 3u);

        QVERIFY(model.setLabel(third, QStringLiteral("Node(7)")));
        QCOMPARE(model.findLabel(QStringLiteral("Node(7)")), QModelIndex(third));
        QCOMPARE(model.tree()[2].children[1].label, std::string("Node(7)"));
        QCOMPARE(model.findTag(model.itemAt(thirdCommand)->tag), QModelIndex(thirdCommand));

        // A tree shown from elsewhere is not the model's to change.
        const std::vector<ProjectTreeItem> elsewhere = buildProjectTree(product);
        model.showTree(&elsewhere);
        QVERIFY(!model.appendItem({}, added).isValid());
        QVERIFY(!model.removeItem(model.index(0, 0)));
        QVERIFY(!model.setLabel(model.index(0, 0), QStringLiteral("x")));
        QCOMPARE(model.rowCount(), 4);
    }
};

QTEST_MAIN(ProjectTreeModelTest)
#include "project_tree_model_test.moc"
