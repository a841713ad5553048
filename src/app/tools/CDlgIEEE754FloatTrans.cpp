#include "tools/CDlgIEEE754FloatTrans.h"

#include "base/Ieee754.h"
#include "tools/FloatConverter.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvan::gui {
namespace {

QLineEdit* labelledField(const QString& label, QWidget* parent, QGridLayout* grid, int column) {
    auto* caption = new QLabel(label, parent);
    auto* field = new QLineEdit(parent);
    field->setAccessibleName(label);
    field->setObjectName(label);
    caption->setBuddy(field);
    grid->addWidget(caption, 0, column);
    grid->addWidget(field, 1, column);
    return field;
}

} // namespace

CDlgIEEE754FloatTrans::CDlgIEEE754FloatTrans(Prompt& prompt, QWidget* parent)
    : ConverterWindow(parent), prompt_(prompt) {
    setWindowTitle(QStringLiteral("IEEE754 floating point conversion"));
    setAccessibleName(windowTitle());
    auto* grid = new QGridLayout(this);
    float_ = labelledField(QStringLiteral("Single precision floating point"), this, grid, 0);
    hex_ = labelledField(QStringLiteral("4 bytes hex data"), this, grid, 2);

    auto* buttons = new QVBoxLayout;
    toBytes_ = makeButton(QStringLiteral("=>"));
    toFloat_ = makeButton(QStringLiteral("<="));
    buttons->addWidget(toBytes_);
    buttons->addWidget(toFloat_);
    grid->addLayout(buttons, 0, 1, 2, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);
    float_->setText(QString::fromStdString(shortFloatText(value_)));
    resize(520, sizeHint().height());

    connect(toBytes_, &QPushButton::clicked, this, &CDlgIEEE754FloatTrans::floatToBytes);
    connect(toFloat_, &QPushButton::clicked, this, &CDlgIEEE754FloatTrans::bytesToFloat);
}

void CDlgIEEE754FloatTrans::readFloatField() {
    if (const auto typed = parseFloatText(float_->text().toStdString(), prompt_)) {
        value_ = *typed;
        return;
    }
    float_->setFocus();
    float_->selectAll();
}

void CDlgIEEE754FloatTrans::floatToBytes() {
    readFloatField();
    hex_->setText(QString::fromStdString(floatToHexText(value_)));
}

void CDlgIEEE754FloatTrans::bytesToFloat() {
    readFloatField();
    if (const auto converted = hexTextToFloat(hex_->text().toStdString(), prompt_)) {
        value_ = *converted;
        float_->setText(QString::fromStdString(shortFloatText(value_)));
    }
}

} // namespace korvan::gui
