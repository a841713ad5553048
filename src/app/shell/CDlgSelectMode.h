#pragma once

#include <QDialog>

class QRadioButton;

namespace korvan {
struct AppState;
}

namespace korvan::gui {

// The work mode dialog (Tool / Select Mode, "Mode Switch"): Config or Debug. It opens with
// the current mode chosen; OK applies the choice to the enable flags, Cancel changes nothing.
class CDlgSelectMode : public QDialog {
    Q_OBJECT
public:
    explicit CDlgSelectMode(AppState& state, QWidget* parent = nullptr);

    [[nodiscard]] QRadioButton* configButton() const { return config_; }
    [[nodiscard]] QRadioButton* debugButton() const { return debug_; }

    void accept() override;

private:
    AppState& state_;
    QRadioButton* config_;
    QRadioButton* debug_;
};

} // namespace korvan::gui
