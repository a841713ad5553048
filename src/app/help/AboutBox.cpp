#include "help/AboutBox.h"

#include "help/ProgramVersion.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvan::gui {
namespace {

// The area keeps room for a picture of this size at most; a larger one is scaled down.
constexpr QSize largestPicture(320, 240);

QImage loadPremultiplied(const QString& path) {
    QImage image;
    if (!image.load(path))
        return {};
    // Each colour channel scaled by its alpha, so that drawing blends the edges cleanly.
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QLabel* label(const QString& text, QWidget* parent) {
    auto* shown = new QLabel(text, parent);
    shown->setAccessibleName(text);
    shown->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return shown;
}

} // namespace

PictureArea::PictureArea(const QString& path, QWidget* parent)
    : QWidget(parent), picture_(loadPremultiplied(path)) {
    setAccessibleName(QStringLiteral("Trevik Automation"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize PictureArea::sizeHint() const {
    if (picture_.isNull())
        return {96, 96};
    const QSize size = picture_.size();
    if (size.width() <= largestPicture.width() && size.height() <= largestPicture.height())
        return size;
    return size.scaled(largestPicture, Qt::KeepAspectRatio);
}

void PictureArea::paintEvent(QPaintEvent*) {
    if (picture_.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSize shown = picture_.size().scaled(size(), Qt::KeepAspectRatio).boundedTo(picture_.size());
    const QRect target(QPoint((width() - shown.width()) / 2, (height() - shown.height()) / 2), shown);
    painter.drawImage(target, picture_);
}

AboutBox::AboutBox(const QString& picturePath, QWidget* parent)
    : QDialog(parent), picture_(new PictureArea(picturePath, this)) {
    setWindowTitle(QStringLiteral("About Korvan"));
    setAccessibleName(windowTitle());

    auto* name = label(QStringLiteral("Korvan"), this);
    QFont nameFont = name->font();
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.6);
    nameFont.setBold(true);
    name->setFont(nameFont);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(6);
    texts->addWidget(name);
    texts->addWidget(label(QStringLiteral("Version %1").arg(QLatin1String(korvanVersion)), this));
    auto* purpose = label(
        QStringLiteral("Configuration and debugging software for the Vela HART to Modbus gateways"), this);
    purpose->setWordWrap(true);
    purpose->setFixedWidth(purpose->fontMetrics().averageCharWidth() * 40);
    texts->addWidget(purpose);
    texts->addSpacing(8);
    texts->addWidget(label(QStringLiteral("Trevik Automation"), this));
    texts->addStretch();

    auto* body = new QHBoxLayout;
    body->setSpacing(18);
    body->addWidget(picture_, 0, Qt::AlignTop);
    body->addLayout(texts, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setAccessibleName(ok_->text().remove(u'&'));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 12);
    layout->addLayout(body);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace korvan::gui
