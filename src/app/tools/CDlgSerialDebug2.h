#pragma once

#include "gateway/CDlgupdown.h"
#include "tools/ConverterWindow.h"

#include <QString>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace korvan {
class SerialGatewayLink;
}

namespace korvan::gui {

class ExchangeWorker;
class Session;

// The "Serial Debug" window: raw HART frames typed as hexadecimal text (head, data, check)
// are passed through the gateway to the chosen channel over the serial line, and what the
// channel returns is listed line by line. After the first "Send" the gateway is polled every
// 280 ms (timer 1); "Auto-send" sends the fields every period (timer 2). Every exchange runs
// on the window's ExchangeWorker; a tick that finds it busy starts nothing. The frames, the
// checks and their messages are the core's.
class CDlgSerialDebug2 : public ConverterWindow {
    Q_OBJECT
public:
    static constexpr int PollMs = 280;

    explicit CDlgSerialDebug2(Session& session, QWidget* parent = nullptr);
    ~CDlgSerialDebug2() override;

    // The opening steps: the serial port is chosen (false when cancelled: the window does not
    // show), the fields reset and the channel list filled; then the window shows. The port
    // opens at the first send.
    [[nodiscard]] bool start(const CDlgupdown::Choose& choosePort = CDlgupdown::defaultChoosers().serialPort);

    // Deletes the window once the leave request has gone and the port is closed.
    void deleteWhenIdle();

    [[nodiscard]] QLineEdit* headEdit() const { return head_; }
    [[nodiscard]] QLineEdit* dataEdit() const { return data_; }
    [[nodiscard]] QLineEdit* checkEdit() const { return check_; }
    [[nodiscard]] QLineEdit* periodEdit() const { return period_; }
    [[nodiscard]] QCheckBox* autoSendBox() const { return autoSend_; }
    [[nodiscard]] QComboBox* channelList() const { return channels_; }
    [[nodiscard]] QPlainTextEdit* receivedBox() const { return received_; }
    [[nodiscard]] QPushButton* checknumButton() const { return checknum_; }
    [[nodiscard]] QPushButton* sendButton() const { return send_; }
    [[nodiscard]] QPushButton* clearButton() const { return clear_; }
    [[nodiscard]] QPushButton* pauseButton() const { return pause_; }
    [[nodiscard]] QTimer* pollTimer() const { return pollTimer_; }
    [[nodiscard]] QTimer* autoSendTimer() const { return autoSendTimer_; }
    [[nodiscard]] ExchangeWorker* worker() const { return worker_; }
    // The received text as the gateway's bytes were listed, each line ending in CR LF.
    [[nodiscard]] const QString& receivedText() const { return receivedText_; }

Q_SIGNALS:
    // The window has closed: the main window offers the other tools again.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void build();
    void reset();
    void fillChannels();
    void chooseChannel(int index);
    [[nodiscard]] std::uint8_t channelIndex() const;
    void checknum();
    void sendClicked();
    void autoSendClicked(bool checked);
    void pollTick();
    void autoSendTick();
    // Sends the fields' request (with messages for "Send"), or a poll; false when the worker
    // was busy.
    bool sendFields(bool withMessages);
    bool exchange(std::vector<std::uint8_t> request, bool withMessages);
    void showLine(const std::string& line);
    void togglePause();
    void clearReceived();
    void leave();

    Session& session_;
    ExchangeWorker* worker_ = nullptr;
    QLineEdit* head_ = nullptr;
    QLineEdit* data_ = nullptr;
    QLineEdit* check_ = nullptr;
    QLineEdit* period_ = nullptr;
    QCheckBox* autoSend_ = nullptr;
    QComboBox* channels_ = nullptr;
    QPlainTextEdit* received_ = nullptr;
    QPushButton* checknum_ = nullptr;
    QPushButton* send_ = nullptr;
    QPushButton* clear_ = nullptr;
    QPushButton* pause_ = nullptr;
    QTimer* pollTimer_ = nullptr;
    QTimer* autoSendTimer_ = nullptr;
    QString receivedText_;
    bool sendPending_ = false;
    bool paused_ = false;
    bool closing_ = false;
    bool leaving_ = false;
};

} // namespace korvan::gui
