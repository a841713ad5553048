#include "project/ParameterGridView.h"

#include "shell/Session.h"

#include <QTableView>
#include <QVBoxLayout>

namespace korvan::gui {

// A placeholder until the view is built: the interface the main window needs.
ParameterGridView::ParameterGridView(Session&, QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QTableView(this));
}

ParameterGridView::~ParameterGridView() = default;

void ParameterGridView::setAdvancedDialog(ParameterGrid::AdvancedDialog) {}
QTableView* ParameterGridView::table() const {
    return findChild<QTableView*>();
}
void ParameterGridView::showItem(const korvan::TreeTag&, const QString&) {}
void ParameterGridView::clear() {}

} // namespace korvan::gui
