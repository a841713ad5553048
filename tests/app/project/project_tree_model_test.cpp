#include "SessionFixture.h"
#include "model/CHartbus.h"
#include "model/COrlaNode.h"
#include "model/ProjectTreeItem.h"
#include "project/ProjectTreeModel.h"

#include <QAbstractItemModelTester>
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
};

QTEST_MAIN(ProjectTreeModelTest)
#include "project_tree_model_test.moc"
