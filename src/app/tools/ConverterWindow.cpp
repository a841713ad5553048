#include "tools/ConverterWindow.h"

#include <QKeyEvent>
#include <QPushButton>

namespace korvan::gui {

void ConverterWindow::present() {
    show();
    raise();
    activateWindow();
}

void ConverterWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

QPushButton* ConverterWindow::makeButton(const QString& text) {
    auto* button = new QPushButton(text, this);
    button->setAccessibleName(text);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

} // namespace korvan::gui
