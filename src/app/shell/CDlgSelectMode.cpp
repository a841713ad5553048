#include "shell/CDlgSelectMode.h"

#include "app/AppState.h"
#include "app/EnableFlags.h"
#include "support/PictureView.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace korvan::gui {
namespace {

constexpr int dialogWidth = 480;
constexpr int dialogHeight = 300;

} // namespace

CDlgSelectMode::CDlgSelectMode(AppState& state, QWidget* parent)
    : QDialog(parent), state_(state), config_(new QRadioButton(QStringLiteral("Config"), this)),
      debug_(new QRadioButton(QStringLiteral("Debug"), this)) {
    setWindowTitle(QStringLiteral("Korvan"));
    setAccessibleName(windowTitle());
    setFixedSize(dialogWidth, dialogHeight);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 12);
    auto* banner = new PictureView(QStringLiteral(":/banner.svg"), this);
    banner->setAccessibleName(QStringLiteral("Korvan"));
    banner->setFixedHeight(dialogHeight / 2);
    layout->addWidget(banner);

    auto* group = new QGroupBox(QStringLiteral("Select Mode"), this);
    group->setAccessibleName(group->title());
    auto* radios = new QHBoxLayout(group);
    config_->setAccessibleName(config_->text());
    debug_->setAccessibleName(debug_->text());
    radios->addStretch(1);
    radios->addWidget(config_);
    radios->addStretch(1);
    radios->addWidget(debug_);
    radios->addStretch(1);
    (state.mode == WorkMode::Debug ? debug_ : config_)->setChecked(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    for (QAbstractButton* button : buttons->buttons())
        button->setAccessibleName(button->text().remove(QLatin1Char('&')));
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgSelectMode::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgSelectMode::reject);

    auto* lower = new QVBoxLayout;
    lower->setContentsMargins(24, 8, 24, 0);
    lower->addWidget(group);
    lower->addStretch(1);
    lower->addWidget(buttons);
    layout->addLayout(lower);
}

void CDlgSelectMode::accept() {
    if (debug_->isChecked())
        enable_flags::debugModeChosen(state_);
    else
        enable_flags::configModeChosen(state_);
    QDialog::accept();
}

} // namespace korvan::gui
