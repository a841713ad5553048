#pragma once

#include "gateway/TransferWorker.h"

#include <QDialog>
#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace korvan {
class GatewayLink;
}

namespace korvan::gui {

class Session;

// The upload/download dialog: the link (the serial port, or "TCP/IP"), a hint, the progress
// of the transfer (frames done of frames to send) and OK and Cancel. OK runs the core's
// download or upload on a worker thread; the window keeps repainting meanwhile and its
// buttons stay disabled until the transfer has ended. Closing the window while it runs stops
// the transfer between two exchanges; the window closes once the current exchange has ended.
class CDlgupdown : public QDialog {
    Q_OBJECT
public:
    // How the link is chosen before the dialog shows: true when it is chosen, false when the
    // engineer cancelled (the dialog then does not show).
    using Choose = std::function<bool(Session&, QWidget* parent)>;
    struct Choosers {
        // Vela-3H-RTU: the serial port dialog by default.
        Choose serialPort;
        // The TCP models: the gateway search fixes the gateway's address. Until the search
        // window is given here, the address the session knows (the command line's, or the
        // Ethernet configuration's) is taken, and without one the dialog does not show.
        Choose gateway;
    };
    [[nodiscard]] static Choosers defaultChoosers();

    CDlgupdown(Session& session, TransferDirection direction, QWidget* parent = nullptr);
    ~CDlgupdown() override;

    // The opening steps: the link is chosen and the texts set. False when the dialog must
    // close at once (the serial port dialog or the gateway search was cancelled).
    [[nodiscard]] bool prepare(const Choosers& choosers = defaultChoosers());

    [[nodiscard]] TransferDirection direction() const { return direction_; }
    [[nodiscard]] bool running() const { return worker_ != nullptr && worker_->running(); }
    // How the last transfer ended; nothing before one has.
    [[nodiscard]] const std::optional<TransferOutcome>& outcome() const { return outcome_; }

    [[nodiscard]] QComboBox* linkList() const { return linkList_; }
    [[nodiscard]] QLabel* hint() const { return hint_; }
    [[nodiscard]] QProgressBar* progressBar() const { return progress_; }
    [[nodiscard]] QPushButton* okButton() const { return ok_; }
    [[nodiscard]] QPushButton* cancelButton() const { return cancel_; }

    // The link the transfer uses, made from the application state; replaceable so that a
    // measurement can look at the exchanges.
    using LinkFactory = std::function<std::unique_ptr<GatewayLink>(Session&)>;
    void setLinkFactory(LinkFactory factory) { linkFactory_ = std::move(factory); }
    [[nodiscard]] static std::unique_ptr<GatewayLink> makeLink(Session& session);

Q_SIGNALS:
    // OK was pressed and the worker is about to start: an upload rebuilds the product from
    // now on, so nothing may show it until the transfer has ended.
    void transferStarting();
    // A transfer has ended (before the dialog closes, where it does).
    void transferEnded();

public Q_SLOTS:
    void accept() override;
    void reject() override;

private:
    void build();
    void showProgress(int done, int total);
    void transferFinished();
    void setButtonsEnabled(bool enabled);

    Session& session_;
    TransferDirection direction_;
    QComboBox* linkList_ = nullptr;
    QLabel* hint_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    TransferWorker* worker_ = nullptr;
    LinkFactory linkFactory_;
    std::optional<TransferOutcome> outcome_;
    bool closeRequested_ = false;
};

} // namespace korvan::gui
