#include "shell/CDlgSelectDevice.h"

#include "support/PictureView.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvan::gui {
namespace {

constexpr GatewayModel offered[] = {GatewayModel::Vela1hTcp, GatewayModel::Vela3hTcp,
                                    GatewayModel::Vela3hRtu};
constexpr int dialogWidth = 480;
constexpr int dialogHeight = 300;

} // namespace

CDlgSelectDevice::CDlgSelectDevice(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Select Device"));
    setAccessibleName(windowTitle());
    setFixedSize(dialogWidth, dialogHeight);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* banner = new PictureView(QStringLiteral(":/banner.svg"), this);
    banner->setAccessibleName(QStringLiteral("Korvan"));
    // The banner fills the upper half, stretched to the dialog's width.
    banner->setFixedHeight(dialogHeight / 2);
    layout->addWidget(banner);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(24, 0, 24, 0);
    buttons->setSpacing(16);
    for (GatewayModel model : offered) {
        const QString name =
            QString::fromUtf8(modelName(model).data(), static_cast<qsizetype>(modelName(model).size()));
        auto* button = new QPushButton(name, this);
        button->setObjectName(name);
        button->setAccessibleName(name);
        button->setMinimumHeight(40);
        connect(button, &QPushButton::clicked, this, [this, model] { pick(model); });
        buttons->addWidget(button);
    }
    layout->addStretch(1);
    layout->addLayout(buttons);
    layout->addStretch(1);

    // Enter confirms the dialog with the first model.
    QPushButton* first = button(GatewayModel::Vela1hTcp);
    first->setDefault(true);
    first->setFocus();
}

QPushButton* CDlgSelectDevice::button(GatewayModel model) const {
    return findChild<QPushButton*>(
        QString::fromUtf8(modelName(model).data(), static_cast<qsizetype>(modelName(model).size())));
}

void CDlgSelectDevice::pick(GatewayModel model) {
    model_ = model;
    accept();
}

} // namespace korvan::gui
