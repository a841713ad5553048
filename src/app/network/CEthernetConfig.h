#pragma once

#include "network/EthernetConfiguration.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace korvan {
struct AppState;
}

namespace korvan::gui {

// The "Ethernet configuration" dialog: search by broadcast, or one fixed address typed in
// four parts of 0-255. It changes only the application state, through the core's rules.
class CEthernetConfig : public QDialog {
    Q_OBJECT
public:
    explicit CEthernetConfig(AppState& state, QWidget* parent = nullptr);

    [[nodiscard]] QCheckBox* searchBox() const { return search_; }
    [[nodiscard]] QLineEdit* addressPart(int i) const { return parts_.at(static_cast<std::size_t>(i)); }
    [[nodiscard]] QPushButton* okButton() const { return ok_; }
    [[nodiscard]] QPushButton* cancelButton() const { return cancel_; }
    // The entry's text as four dotted decimal parts; an empty part reads as 0.
    [[nodiscard]] QString addressText() const;

    void accept() override;
    void reject() override;

private:
    void showAddress(const std::string& address);
    void enableEntry();

    EthernetConfiguration configuration_;
    QCheckBox* search_ = nullptr;
    std::array<QLineEdit*, 4> parts_{};
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

} // namespace korvan::gui
