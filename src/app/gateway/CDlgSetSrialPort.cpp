#include "gateway/CDlgSetSrialPort.h"

#include "app/AppState.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvan::gui {

CDlgSetSrialPort::CDlgSetSrialPort(AppState& state, QWidget* parent)
    : CDlgSetSrialPort(state, os::listSerialPorts(), parent) {}

CDlgSetSrialPort::CDlgSetSrialPort(AppState& state, std::vector<os::SerialPortInfo> ports, QWidget* parent)
    : QDialog(parent), state_(state), known_(std::move(ports)) {
    build();
    fill();
}

QString CDlgSetSrialPort::entryText(const os::SerialPortInfo& port) {
    const QString path = QString::fromStdString(port.name);
    if (port.description.empty() || port.description == port.name)
        return path;
    return QStringLiteral("%1 - %2").arg(path, QString::fromStdString(port.description));
}

void CDlgSetSrialPort::build() {
    setObjectName(QStringLiteral("CDlgSetSrialPort"));
    setWindowTitle(QStringLiteral("Select the serial port"));
    setAccessibleName(windowTitle());

    auto* label = new QLabel(QStringLiteral("Serial port:"), this);
    ports_ = new QComboBox(this);
    ports_->setObjectName(QStringLiteral("portList"));
    ports_->setAccessibleName(label->text());
    // A device that is not listed (a pseudo-terminal) is typed by hand.
    ports_->setEditable(true);
    ports_->setInsertPolicy(QComboBox::NoInsert);
    ports_->setMinimumContentsLength(36);
    ports_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    label->setBuddy(ports_);

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    for (QAbstractButton* button : buttons_->buttons())
        button->setAccessibleName(button->text().remove(QLatin1Char('&')));
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(ports_, &QComboBox::currentTextChanged, this, &CDlgSetSrialPort::updateOk);

    auto* form = new QFormLayout;
    form->addRow(label, ports_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons_);
}

void CDlgSetSrialPort::fill() {
    for (const os::SerialPortInfo& port : known_)
        ports_->addItem(entryText(port), QString::fromStdString(port.name));
    // The port chosen last in this run, listed or typed; the first time the last entry.
    const QString last = QString::fromStdString(state_.serialPortName);
    const int listed = last.isEmpty() ? -1 : ports_->findData(last);
    if (listed >= 0)
        ports_->setCurrentIndex(listed);
    else if (!last.isEmpty())
        ports_->setEditText(last);
    else
        ports_->setCurrentIndex(ports_->count() - 1);
    updateOk();
}

QString CDlgSetSrialPort::chosenDevice() const {
    const QString text = ports_->currentText().trimmed();
    // A listed entry stands for its device path; anything else is a typed path.
    for (int i = 0; i < ports_->count(); ++i)
        if (ports_->itemText(i) == text)
            return ports_->itemData(i).toString();
    return text;
}

void CDlgSetSrialPort::updateOk() {
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(!chosenDevice().isEmpty());
}

void CDlgSetSrialPort::accept() {
    const QString device = chosenDevice();
    if (device.isEmpty())
        return;
    state_.serialPortName = device.toStdString();
    state_.linkKind = LinkKind::Serial;
    state_.canSelectMode = true;
    QDialog::accept();
}

} // namespace korvan::gui
