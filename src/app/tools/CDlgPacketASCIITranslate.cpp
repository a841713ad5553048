#include "tools/CDlgPacketASCIITranslate.h"

#include "tools/PackedAsciiConverter.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvan::gui {
namespace {

QPlainTextEdit* groupedText(const QString& group, const QString& name, QWidget* parent, QBoxLayout* into) {
    auto* box = new QGroupBox(group, parent);
    box->setAccessibleName(group);
    auto* text = new QPlainTextEdit(box);
    text->setAccessibleName(name);
    text->setObjectName(name);
    text->setTabChangesFocus(true);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(text);
    into->addWidget(box, 1);
    return text;
}

} // namespace

CDlgPacketASCIITranslate::CDlgPacketASCIITranslate(Prompt& prompt, QWidget* parent)
    : ConverterWindow(parent), prompt_(prompt) {
    setWindowTitle(QStringLiteral("Packed ASCII Translate"));
    setAccessibleName(windowTitle());
    auto* layout = new QHBoxLayout(this);
    ascii_ = groupedText(QStringLiteral("Uncompressed data"), QStringLiteral("ASCII"), this, layout);

    auto* buttons = new QVBoxLayout;
    pack_ = makeButton(QStringLiteral("=>"));
    unpack_ = makeButton(QStringLiteral("<="));
    buttons->addStretch();
    buttons->addWidget(pack_);
    buttons->addWidget(unpack_);
    buttons->addStretch();
    layout->addLayout(buttons);

    hex_ = groupedText(QStringLiteral("Compressed data"), QStringLiteral("Hex"), this, layout);
    resize(560, 220);

    connect(pack_, &QPushButton::clicked, this, &CDlgPacketASCIITranslate::pack);
    connect(unpack_, &QPushButton::clicked, this, &CDlgPacketASCIITranslate::unpack);
}

void CDlgPacketASCIITranslate::pack() {
    if (const auto hex = packTextToHex(ascii_->toPlainText().toStdString(), prompt_))
        hex_->setPlainText(QString::fromStdString(*hex));
}

void CDlgPacketASCIITranslate::unpack() {
    if (const auto text = unpackHexToText(hex_->toPlainText().toStdString(), prompt_))
        ascii_->setPlainText(QString::fromStdString(*text));
}

} // namespace korvan::gui
