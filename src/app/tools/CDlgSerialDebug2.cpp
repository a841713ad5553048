#include "tools/CDlgSerialDebug2.h"

#include "app/EnableFlags.h"
#include "base/HexByteText.h"
#include "base/Prompt.h"
#include "gateway/ExchangeWorker.h"
#include "link/SerialGatewayLink.h"
#include "model/CHartbus.h"
#include "os/Pause.h"
#include "shell/Session.h"
#include "tools/PassThroughExchange.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace korvan::gui {
namespace {

constexpr int leavePauseMs = 100;

QLineEdit* labelledEdit(const QString& label, QWidget* parent, QGridLayout* layout, int row) {
    auto* text = new QLabel(label, parent);
    auto* edit = new QLineEdit(parent);
    edit->setAccessibleName(label);
    text->setBuddy(edit);
    layout->addWidget(text, row, 0);
    layout->addWidget(edit, row, 1);
    return edit;
}

} // namespace

CDlgSerialDebug2::CDlgSerialDebug2(Session& session, QWidget* parent)
    : ConverterWindow(parent), session_(session) {
    worker_ = new ExchangeWorker(session.prompt(), this);
    pollTimer_ = new QTimer(this);
    pollTimer_->setInterval(PollMs);
    autoSendTimer_ = new QTimer(this);
    build();
    reset();
    connect(pollTimer_, &QTimer::timeout, this, &CDlgSerialDebug2::pollTick);
    connect(autoSendTimer_, &QTimer::timeout, this, &CDlgSerialDebug2::autoSendTick);
}

CDlgSerialDebug2::~CDlgSerialDebug2() {
    // The exchange in flight ends and the port closes before any widget a result would touch
    // is gone.
    delete worker_;
    worker_ = nullptr;
}

void CDlgSerialDebug2::build() {
    setObjectName(QStringLiteral("CDlgSerialDebug2"));
    setWindowTitle(QStringLiteral("Serial Debug"));
    setAccessibleName(windowTitle());

    auto* fields = new QGridLayout;
    auto* channelLabel = new QLabel(QStringLiteral("Select-hart:"), this);
    channels_ = new QComboBox(this);
    channels_->setAccessibleName(channelLabel->text());
    channelLabel->setBuddy(channels_);
    fields->addWidget(channelLabel, 0, 0);
    fields->addWidget(channels_, 0, 1);
    head_ = labelledEdit(QStringLiteral("Head:"), this, fields, 1);
    data_ = labelledEdit(QStringLiteral("Data:"), this, fields, 2);
    check_ = labelledEdit(QStringLiteral("Check:"), this, fields, 3);
    checknum_ = makeButton(QStringLiteral("Checknum"));
    fields->addWidget(checknum_, 3, 2);
    period_ = labelledEdit(QStringLiteral("Auto-send period(ms)"), this, fields, 4);
    autoSend_ = new QCheckBox(QStringLiteral("Auto-send"), this);
    autoSend_->setAccessibleName(autoSend_->text());
    fields->addWidget(autoSend_, 4, 2);
    fields->setColumnStretch(1, 1);

    send_ = makeButton(QStringLiteral("Send"));
    clear_ = makeButton(QStringLiteral("Clear"));
    pause_ = makeButton(QStringLiteral("Pause show"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(send_);
    buttons->addWidget(clear_);
    buttons->addWidget(pause_);

    received_ = new QPlainTextEdit(this);
    received_->setReadOnly(true);
    received_->setAccessibleName(QStringLiteral("Received"));
    received_->setMinimumSize(480, 240);
    QFont fixed = received_->font();
    fixed.setFamily(QStringLiteral("Monospace"));
    fixed.setStyleHint(QFont::TypeWriter);
    received_->setFont(fixed);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->addWidget(received_, 1);

    connect(channels_, &QComboBox::currentIndexChanged, this, &CDlgSerialDebug2::chooseChannel);
    connect(checknum_, &QPushButton::clicked, this, &CDlgSerialDebug2::checknum);
    connect(send_, &QPushButton::clicked, this, &CDlgSerialDebug2::sendClicked);
    connect(autoSend_, &QCheckBox::clicked, this, &CDlgSerialDebug2::autoSendClicked);
    connect(pause_, &QPushButton::clicked, this, &CDlgSerialDebug2::togglePause);
    connect(clear_, &QPushButton::clicked, this, &CDlgSerialDebug2::clearReceived);
}

void CDlgSerialDebug2::reset() {
    autoSend_->setChecked(false);
    autoSend_->setEnabled(true);
    period_->setEnabled(true);
    send_->setEnabled(true);
    sendPending_ = false;
    paused_ = false;
    pause_->setText(QStringLiteral("Pause show"));
    pause_->setAccessibleName(pause_->text());
    head_->clear();
    data_->clear();
    check_->clear();
    clearReceived();
    period_->setText(QString::number(autoSendMinimumMs));
}

bool CDlgSerialDebug2::start(const CDlgupdown::Choose& choosePort) {
    if (!choosePort || !choosePort(session_, this)) {
        enable_flags::serialDebugClosed(session_.state);
        return false;
    }
    worker_->setLink(std::make_unique<SerialGatewayLink>(session_.state.serialPortName));
    reset();
    fillChannels();
    present();
    return true;
}

void CDlgSerialDebug2::fillChannels() {
    const QSignalBlocker quiet(channels_);
    channels_->clear();
    for (const CHartbus* channel : session_.product.channels())
        channels_->addItem(QString::fromStdString(channel->busName()));
    channels_->setCurrentIndex(channels_->count() > 0 ? 0 : -1);
    chooseChannel(channels_->currentIndex());
}

void CDlgSerialDebug2::chooseChannel(int index) {
    if (index < 0)
        return;
    const std::string name = channels_->itemText(index).toStdString();
    for (CHartbus* channel : session_.product.channels())
        if (channel->busName() == name) {
            session_.product.setCurrentChannel(channel);
            return;
        }
}

std::uint8_t CDlgSerialDebug2::channelIndex() const {
    // The channel the list shows, which is the product's current one unless the project
    // tree has chosen another since: the frames go where the engineer sees them going.
    const std::string name = channels_->currentText().toStdString();
    for (const CHartbus* channel : session_.product.channels())
        if (channel->busName() == name)
            return static_cast<std::uint8_t>(channel->channelIndex());
    return 0;
}

void CDlgSerialDebug2::checknum() {
    const std::string typed = data_->text().toStdString();
    if (const auto check = xorCheckText(typed)) {
        data_->setText(QString::fromStdString(upperCased(typed)));
        check_->setText(QString::fromStdString(*check));
        return;
    }
    session_.prompt().message("Wrong data format");
}

void CDlgSerialDebug2::sendClicked() {
    sendPending_ = true;
    pollTimer_->start(PollMs);
}

void CDlgSerialDebug2::autoSendClicked(bool checked) {
    if (checked) {
        const auto period = autoSendPeriod(period_->text().toStdString(), session_.prompt());
        if (!period) {
            autoSend_->setChecked(false);
            return;
        }
        send_->setEnabled(false);
        period_->setEnabled(false);
        autoSendTimer_->start(static_cast<int>(*period));
        return;
    }
    send_->setEnabled(true);
    period_->setEnabled(true);
    autoSendTimer_->stop();
}

void CDlgSerialDebug2::pollTick() {
    if (closing_ || worker_->busy())
        return; // a pending send waits for the next tick
    if (sendPending_) {
        sendPending_ = false;
        (void)sendFields(true);
        return;
    }
    (void)exchange(pollRequest(channelIndex()), false);
}

void CDlgSerialDebug2::autoSendTick() {
    if (closing_ || worker_->busy())
        return;
    (void)sendFields(false);
}

bool CDlgSerialDebug2::sendFields(bool withMessages) {
    const auto request =
        passThroughRequest(channelIndex(), head_->text().toStdString(), data_->text().toStdString(),
                           check_->text().toStdString(), withMessages ? &session_.prompt() : nullptr);
    if (!request)
        return true; // the field's message has been shown, or auto-send skips it
    return exchange(*request, withMessages);
}

bool CDlgSerialDebug2::exchange(std::vector<std::uint8_t> request, bool withMessages) {
    return worker_->run([this, request = std::move(request),
                         withMessages](GatewayLink& link, Prompt& prompt,
                                       const OperationContext& context) -> ExchangeWorker::Result {
        auto* serial = dynamic_cast<SerialGatewayLink*>(&link);
        if (serial == nullptr)
            return {};
        if (!serial->isOpen() && serial->open() != ResultCode::Success) {
            prompt.message("Failed openning serial port");
            return [this] { close(); };
        }
        const auto line = sendPassThrough(*serial, request, withMessages ? &prompt : nullptr, context);
        return [this, line] {
            if (line)
                showLine(*line);
        };
    });
}

void CDlgSerialDebug2::showLine(const std::string& line) {
    // While paused, replies are still read but not shown.
    if (paused_)
        return;
    receivedText_ += QString::fromStdString(line);
    received_->moveCursor(QTextCursor::End);
    received_->insertPlainText(QString::fromStdString(line).remove(QLatin1Char('\r')));
    received_->moveCursor(QTextCursor::End);
}

void CDlgSerialDebug2::togglePause() {
    paused_ = !paused_;
    pause_->setText(paused_ ? QStringLiteral("Go on") : QStringLiteral("Pause"));
    pause_->setAccessibleName(pause_->text());
}

void CDlgSerialDebug2::clearReceived() {
    receivedText_.clear();
    received_->clear();
}

void CDlgSerialDebug2::closeEvent(QCloseEvent* event) {
    if (!closing_) {
        closing_ = true;
        pollTimer_->stop();
        autoSendTimer_->stop();
        clearReceived();
        enable_flags::serialDebugClosed(session_.state);
        // The exchange in flight says nothing more; the leave request follows it.
        worker_->cancel();
        if (worker_->busy())
            connect(worker_, &ExchangeWorker::idle, this, &CDlgSerialDebug2::leave, Qt::SingleShotConnection);
        else
            leave();
        Q_EMIT closed();
    }
    ConverterWindow::closeEvent(event);
}

void CDlgSerialDebug2::leave() {
    const std::uint8_t channel = channelIndex();
    (void)worker_->run(
        [channel](GatewayLink& link, Prompt&, const OperationContext&) -> ExchangeWorker::Result {
            auto* serial = dynamic_cast<SerialGatewayLink*>(&link);
            if (serial != nullptr && serial->isOpen()) {
                (void)serial->serialWriteKeepOpen(leaveRequest(channel));
                os::pauseMilliseconds(leavePauseMs);
                serial->purge();
            }
            link.close();
            return {};
        });
}

void CDlgSerialDebug2::deleteWhenIdle() {
    if (worker_->busy())
        connect(worker_, &ExchangeWorker::idle, this, &QObject::deleteLater, Qt::SingleShotConnection);
    else
        deleteLater();
}

} // namespace korvan::gui
