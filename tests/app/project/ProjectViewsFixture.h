#pragma once

#include "SessionFixture.h"
#include "app/ProjectTreeEditor.h"
#include "project/ParameterGridModel.h"
#include "project/ParameterGridView.h"
#include "project/ProjectTreeModel.h"
#include "project/ProjectTreePane.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QTest>
#include <QTreeView>
#include <memory>

namespace korvan::test {

// The tree pane and the grid side by side in a shown window, wired as the main window wires
// them, with the six tree commands as actions whose enabled state follows the core's flags.
struct ProjectViewsFixture {
    explicit ProjectViewsFixture(GatewayModel model) : session(model) {
        auto* layout = new QHBoxLayout(&window);
        pane = new gui::ProjectTreePane(session.session, &window);
        grid = new gui::ParameterGridView(session.session, &window);
        layout->addWidget(pane, 1);
        layout->addWidget(grid, 2);
        const char* texts[] = {"Add Node",   "Delete Node", "Copy Node",
                               "Paste Node", "Add Command", "Delete Command"};
        for (const char* text : texts)
            actions.append(new QAction(QString::fromLatin1(text), &window));
        QObject::connect(actions[0], &QAction::triggered, pane, &gui::ProjectTreePane::addNode);
        QObject::connect(actions[1], &QAction::triggered, pane, &gui::ProjectTreePane::deleteNode);
        QObject::connect(actions[2], &QAction::triggered, pane, &gui::ProjectTreePane::copyNode);
        QObject::connect(actions[3], &QAction::triggered, pane, &gui::ProjectTreePane::pasteNode);
        QObject::connect(actions[4], &QAction::triggered, pane, &gui::ProjectTreePane::addCommand);
        QObject::connect(actions[5], &QAction::triggered, pane, &gui::ProjectTreePane::deleteCommand);
        pane->setContextActions(actions);
        QObject::connect(pane, &gui::ProjectTreePane::flagsChanged, &window, [this] { applyFlags(); });
        QObject::connect(pane, &gui::ProjectTreePane::itemSelected, grid, &gui::ParameterGridView::showItem);
        QObject::connect(pane, &gui::ProjectTreePane::selectionCleared, grid, &gui::ParameterGridView::clear);
        QObject::connect(grid, &gui::ParameterGridView::treeRebuildRequested, pane,
                         [this] { pane->rebuild(true); });
        QObject::connect(grid, &gui::ParameterGridView::selectedLabelChanged, pane,
                         &gui::ProjectTreePane::setSelectedLabel);
        window.resize(1000, 700);
        applyFlags();
    }

    // Shows the window with the product's tree.
    bool show() {
        pane->rebuild(false);
        window.show();
        QApplication::setActiveWindow(&window);
        return QTest::qWaitForWindowExposed(&window) && QTest::qWaitForWindowActive(&window);
    }

    void applyFlags() {
        const TreeEnableFlags& flags = session.session.tree.enableFlags();
        const bool enabled[] = {flags.addNode,   flags.deleteNode, flags.copyNode,
                                flags.pasteNode, flags.addCommand, flags.deleteCommand};
        for (int i = 0; i < actions.size(); ++i)
            actions[i]->setEnabled(enabled[i]);
    }

    CProductTarn& product() { return session.session.product; }
    ScriptedPrompt& prompt() { return session.prompt; }
    QTreeView* tree() const { return pane->treeView(); }
    QTableView* table() const { return grid->table(); }

    // The index of the item with this label under the item with that parent label (any
    // parent when none is given).
    QModelIndex item(const QString& label, const QString& parent = {}) const {
        gui::ProjectTreeModel* model = pane->model();
        const QModelIndex under = parent.isEmpty() ? QModelIndex() : model->findLabel(parent);
        if (parent.isEmpty())
            return model->findLabel(label);
        for (int row = 0; row < model->rowCount(under); ++row)
            if (model->index(row, 0, under).data().toString() == label)
                return model->index(row, 0, under);
        return {};
    }

    QStringList childLabels(const QModelIndex& parent) const {
        QStringList labels;
        for (int row = 0; row < pane->model()->rowCount(parent); ++row)
            labels << pane->model()->index(row, 0, parent).data().toString();
        return labels;
    }

    QString selectedLabel() const {
        const QModelIndexList selected = tree()->selectionModel()->selectedIndexes();
        return selected.isEmpty() ? QString() : selected.first().data().toString();
    }

    void clickItem(const QModelIndex& index) {
        tree()->scrollTo(index);
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, tree()->visualRect(index).center());
    }

    // A right click on the item: the context menu event the window system sends.
    void openContextMenu(const QModelIndex& index) {
        tree()->scrollTo(index);
        const QPoint at = tree()->visualRect(index).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, tree()->viewport()->mapToGlobal(at));
        QApplication::sendEvent(tree()->viewport(), &event);
    }

    bool clickMenuEntry(const QString& text) {
        QMenu* menu = pane->contextMenu();
        if (!QTest::qWaitFor([&] { return menu->isVisible(); }, 2000))
            return false;
        for (QAction* action : menu->actions())
            if (action->text() == text) {
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
                return !menu->isVisible();
            }
        return false;
    }

    QModelIndex cell(int row, int column) const { return table()->model()->index(row, column); }
    QString cellText(int row, int column = 1) const { return cell(row, column).data().toString(); }

    void clickCell(int row, int column, std::optional<QPoint> at = {}) {
        QTest::mouseClick(table()->viewport(), Qt::LeftButton, {},
                          at.value_or(table()->visualRect(cell(row, column)).center()));
    }

    // Clicks the value cell, replaces the edit box's text and presses Enter.
    bool typeValue(int row, const QString& text) {
        clickCell(row, 1);
        QLineEdit* edit = grid->editBox();
        if (!edit->isVisible() || !edit->hasFocus() || edit->selectedText() != edit->text())
            return false;
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Backspace);
        else
            QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
        return !edit->isVisible();
    }

    // Clicks the value cell and picks the entry in its open drop-down list.
    bool pickChoice(int row, const QString& text) {
        clickCell(row, 1);
        QComboBox* list = grid->choiceList();
        if (!QTest::qWaitFor([&] { return list->view()->isVisible(); }, 2000))
            return false;
        const int entry = list->findText(text);
        if (entry < 0)
            return false;
        QAbstractItemView* view = list->view();
        view->setCurrentIndex(list->model()->index(entry, 0));
        QTest::keyClick(view, Qt::Key_Return);
        return QTest::qWaitFor([&] { return !list->isVisible(); }, 2000);
    }

    SessionFixture session;
    QWidget window;
    gui::ProjectTreePane* pane = nullptr;
    gui::ParameterGridView* grid = nullptr;
    QList<QAction*> actions;
};

} // namespace korvan::test
