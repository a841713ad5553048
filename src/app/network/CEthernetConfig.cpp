#include "network/CEthernetConfig.h"

#include "app/AppState.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace korvan::gui {
namespace {

constexpr int partWidth = 44;

} // namespace

CEthernetConfig::CEthernetConfig(AppState& state, QWidget* parent)
    : QDialog(parent), configuration_({state.gatewayIp, state.directAddress, state.linkKind}) {
    setWindowTitle(QStringLiteral("Ethernet configuration"));
    setAccessibleName(windowTitle());
    search_ = new QCheckBox(QStringLiteral("Use the search function"), this);
    search_->setAccessibleName(search_->text());
    auto* label = new QLabel(QStringLiteral("IP address to connect to:"), this);

    auto* entry = new QHBoxLayout;
    entry->setSpacing(2);
    // Each part takes 0-255 only: a fourth digit or 256 cannot be typed.
    const QRegularExpression part(QStringLiteral("25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9]"));
    for (std::size_t i = 0; i < parts_.size(); ++i) {
        auto* edit = new QLineEdit(this);
        edit->setValidator(new QRegularExpressionValidator(part, edit));
        edit->setMaxLength(3);
        edit->setAlignment(Qt::AlignCenter);
        edit->setFixedWidth(partWidth);
        edit->setAccessibleName(QStringLiteral("IP address to connect to: part %1").arg(i + 1));
        parts_[i] = edit;
        if (i > 0)
            entry->addWidget(new QLabel(QStringLiteral("."), this));
        entry->addWidget(edit);
    }
    entry->addStretch();
    label->setBuddy(parts_[0]);

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    cancel_ = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    ok_->setAccessibleName(ok_->text());
    cancel_->setAccessibleName(cancel_->text());
    ok_->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(search_);
    layout->addWidget(label);
    layout->addLayout(entry);
    layout->addWidget(buttons);

    showAddress(configuration_.entryText());
    search_->setChecked(configuration_.searchTicked());
    enableEntry();
    connect(search_, &QCheckBox::clicked, this, [this](bool ticked) {
        configuration_.setSearchTicked(ticked);
        enableEntry();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &CEthernetConfig::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CEthernetConfig::reject);
}

void CEthernetConfig::showAddress(const std::string& address) {
    const QStringList parts = QString::fromStdString(address).split(QLatin1Char('.'));
    for (std::size_t i = 0; i < parts_.size(); ++i) {
        const QString text = i < static_cast<std::size_t>(parts.size())
                                 ? parts[static_cast<qsizetype>(i)].trimmed()
                                 : QString();
        int position = 0;
        QString checked = text;
        // A stored address that is not four parts of 0-255 shows only its valid parts.
        if (parts.size() == 4 &&
            parts_[i]->validator()->validate(checked, position) == QValidator::Acceptable)
            parts_[i]->setText(text);
    }
}

QString CEthernetConfig::addressText() const {
    QStringList parts;
    for (const QLineEdit* edit : parts_)
        parts << (edit->text().isEmpty() ? QStringLiteral("0") : QString::number(edit->text().toInt()));
    return parts.join(QLatin1Char('.'));
}

void CEthernetConfig::enableEntry() {
    for (QLineEdit* edit : parts_)
        edit->setEnabled(configuration_.entryEnabled());
}

void CEthernetConfig::accept() {
    configuration_.setEntryText(addressText().toStdString());
    configuration_.ok();
    QDialog::accept();
}

void CEthernetConfig::reject() {
    configuration_.cancel();
    QDialog::reject();
}

} // namespace korvan::gui
