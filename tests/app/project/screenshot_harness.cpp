// Temporary: pictures of the tree and the grid for a look.
#include "ProjectViewsFixture.h"
#include "model/CHartbus.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"
#include "support/SampleProjects.h"

#include <QPainter>
#include <QPushButton>

using namespace korvan;

static void save(QWidget& window, const QString& name, QWidget* popup = nullptr) {
    QPixmap shot = window.grab();
    if (popup != nullptr && popup->isVisible()) {
        QPainter painter(&shot);
        painter.drawPixmap(window.mapFromGlobal(popup->mapToGlobal(QPoint(0, 0))), popup->grab());
    }
    shot.save("/tmp/shots/" + name + ".png");
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    test::ProjectViewsFixture views(GatewayModel::Vela3hTcp);
    test::fillSampleProject(views.product());
    views.window.resize(argc > 1 ? QString(argv[1]).toInt() : 1100, 560);
    views.show();
    views.clickItem(views.item("Command ID3"));
    save(views.window, "command-basic");
    views.clickItem(views.item("Command ID9"));
    save(views.window, "command-advanced");
    views.clickItem(views.item("Node(0)"));
    save(views.window, "node");
    views.clickItem(views.item("Channel1"));
    save(views.window, "channel");
    views.clickItem(views.item("Fieldbus"));
    save(views.window, "fieldbus");
    views.clickItem(views.item("Command ID3"));
    views.clickCell(2, 1);
    save(views.window, "edit-box");
    views.clickCell(1, 1);
    QTest::qWait(100);
    save(views.window, "list", views.grid->choiceList()->view()->window());
    QTest::keyClick(views.grid->choiceList()->view(), Qt::Key_Escape);
    views.clickItem(views.item("Channel3"));
    views.clickCell(1, 1);
    QTest::qWait(100);
    save(views.window, "list-channel", views.grid->choiceList()->view()->window());
    views.window.setFocus();
    QTest::keyClick(views.grid->choiceList()->view(), Qt::Key_Escape);
    views.tree()->setFocus();
    views.clickItem(views.item("Command ID9"));
    views.table()->setFocus();
    save(views.window, "command-advanced-unfocused-tree");
    return 0;
}
