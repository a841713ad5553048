#pragma once

#include "model/GatewayModel.h"

#include <QDialog>

class QPushButton;

namespace korvan::gui {

// "Select Device": the gateway model of the whole run, chosen once at start. Each of the
// three buttons picks its model and closes the dialog with OK; Enter picks Vela-1H-TCP;
// closing the dialog any other way cancels it (and the program ends).
class CDlgSelectDevice : public QDialog {
    Q_OBJECT
public:
    explicit CDlgSelectDevice(QWidget* parent = nullptr);

    // The model picked; None until a button was pressed.
    [[nodiscard]] GatewayModel model() const { return model_; }
    [[nodiscard]] QPushButton* button(GatewayModel model) const;

private:
    void pick(GatewayModel model);

    GatewayModel model_ = GatewayModel::None;
};

} // namespace korvan::gui
