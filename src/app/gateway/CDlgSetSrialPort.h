#pragma once

#include "os/SerialPortList.h"

#include <QDialog>
#include <vector>

class QComboBox;
class QDialogButtonBox;
class QLabel;

namespace korvan {
struct AppState;
}

namespace korvan::gui {

// "Select the serial port": the computer's serial ports, each shown with the system's
// description (a USB adapter's name) beside its device path, or a device path typed by hand
// (a pseudo-terminal, for example). OK makes the chosen port the gateway's link.
class CDlgSetSrialPort : public QDialog {
    Q_OBJECT
public:
    explicit CDlgSetSrialPort(AppState& state, QWidget* parent = nullptr);
    // With a given list of ports in place of the computer's (tests).
    CDlgSetSrialPort(AppState& state, std::vector<os::SerialPortInfo> ports, QWidget* parent = nullptr);

    [[nodiscard]] QComboBox* portList() const { return ports_; }
    [[nodiscard]] QDialogButtonBox* buttons() const { return buttons_; }
    // The device the current choice or typed text names; empty when there is none.
    [[nodiscard]] QString chosenDevice() const;

    // The text a port is listed with.
    [[nodiscard]] static QString entryText(const os::SerialPortInfo& port);

public Q_SLOTS:
    void accept() override;

private:
    void build();
    void fill();
    void updateOk();

    AppState& state_;
    std::vector<os::SerialPortInfo> known_;
    QComboBox* ports_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};

} // namespace korvan::gui
