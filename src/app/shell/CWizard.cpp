#include "shell/CWizard.h"

#include "app/StartSequence.h"
#include "shell/WizardLayout.h"
#include "support/PictureView.h"

#include <QCheckBox>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

namespace korvan::gui {
namespace {

QRect toRect(const PixelRect& rect) {
    return {rect.x, rect.y, rect.width, rect.height};
}

QPushButton* makeButton(const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setAccessibleName(text);
    button->setAutoDefault(false);
    return button;
}

} // namespace

CWizard::CWizard(GatewayModel model, QWidget* parent)
    : QDialog(parent), picturePrefix_(model == GatewayModel::Vela3hRtu ? QStringLiteral(":/wizard/rtu-")
                                                                       : QStringLiteral(":/wizard/tcp-")),
      picture_(new PictureView(QString(), this)), back_(makeButton(QStringLiteral("< Back"), this)),
      next_(makeButton(QStringLiteral("Next >"), this)), close_(makeButton(QStringLiteral("Close"), this)),
      showAgainBox_(new QCheckBox(QStringLiteral("Pop up the wizard next time."), this)) {
    setWindowTitle(QStringLiteral("Korvan"));
    setAccessibleName(windowTitle());
    setFixedSize(WizardLayout::WindowWidth, WizardLayout::WindowHeight);
    showAgainBox_->setAccessibleName(showAgainBox_->text());

    const QScreen* shownOn = screen();
    const int dpiX = shownOn != nullptr ? static_cast<int>(shownOn->logicalDotsPerInchX()) : 96;
    const int dpiY = shownOn != nullptr ? static_cast<int>(shownOn->logicalDotsPerInchY()) : 96;
    const WizardLayout layout = wizardLayout(dpiX, dpiY, showAgainBox_->sizeHint().width());
    picture_->setGeometry(toRect(layout.picture));
    back_->setGeometry(toRect(layout.back));
    next_->setGeometry(toRect(layout.next));
    close_->setGeometry(toRect(layout.close));
    showAgainBox_->setGeometry(toRect(layout.showAgain));

    connect(back_, &QPushButton::clicked, this, [this] { goTo(page_ - 1); });
    connect(next_, &QPushButton::clicked, this, [this] { goTo(page_ + 1); });
    connect(close_, &QPushButton::clicked, this, &CWizard::reject);
    connect(showAgainBox_, &QCheckBox::clicked, this, [this] { showAgain_ = !showAgain_; });

    showAgainBox_->setChecked(true);
    goTo(0);
}

QString CWizard::pagePicture() const {
    return picturePrefix_ + QString::number(page_) + QStringLiteral(".svg");
}

void CWizard::goTo(int page) {
    page_ = std::clamp(page, 0, PageCount - 1);
    back_->setEnabled(page_ > 0);
    next_->setEnabled(page_ < PageCount - 1);
    showAgainBox_->setVisible(page_ == PageCount - 1);
    picture_->setPicture(pagePicture());
    picture_->setAccessibleName(QStringLiteral("Page %1 of %2").arg(page_ + 1).arg(PageCount));
    // A button disabled under the focus leaves the focus nowhere: keep it on the wizard.
    if (!next_->isEnabled() && next_->hasFocus())
        back_->setFocus();
    if (!back_->isEnabled() && back_->hasFocus())
        next_->setFocus();
}

CWizard* showWizardIfDue(GatewayModel model, QWidget* parent, const std::string& configPath) {
    if (configPath.empty() || !wizardShouldShow(configPath))
        return nullptr;
    auto* wizard = new CWizard(model, parent);
    wizard->setAttribute(Qt::WA_DeleteOnClose);
    wizard->setWindowModality(Qt::ApplicationModal);
    QObject::connect(wizard, &QDialog::finished, wizard, [wizard, configPath] {
        if (!wizard->showAgain())
            (void)rememberWizardDismissed(configPath);
    });
    wizard->show();
    return wizard;
}

} // namespace korvan::gui
