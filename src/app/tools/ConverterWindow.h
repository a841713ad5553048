#pragma once

#include <QDialog>

class QPushButton;

namespace korvan::gui {

// What the two converter windows share: modeless, kept by the main window for the whole
// run, and neither Enter nor Escape closes them (an engineer typing bytes presses Enter
// without meaning to lose the window).
class ConverterWindow : public QDialog {
    Q_OBJECT
public:
    using QDialog::QDialog;

    // Brings the window to the front, showing it if it was hidden.
    void present();

protected:
    void keyPressEvent(QKeyEvent* event) override;

    // A push button whose accessible name is its text; never the dialog's default button.
    [[nodiscard]] QPushButton* makeButton(const QString& text);
};

} // namespace korvan::gui
