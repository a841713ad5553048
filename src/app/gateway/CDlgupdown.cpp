#include "gateway/CDlgupdown.h"

#include "gateway/CDlgSetSrialPort.h"
#include "link/SerialGatewayLink.h"
#include "link/TcpGatewayLink.h"
#include "model/GatewayModel.h"
#include "shell/Session.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvan::gui {
namespace {

bool downloading(TransferDirection direction) {
    return direction == TransferDirection::Download;
}

} // namespace

CDlgupdown::Choosers CDlgupdown::defaultChoosers() {
    Choosers choosers;
    choosers.serialPort = [](Session& session, QWidget* parent) {
        CDlgSetSrialPort dialog(session.state, parent);
        return dialog.exec() == QDialog::Accepted;
    };
    // The gateway search window hooks in here; until then the gateway is the one the session
    // was told about.
    choosers.gateway = [](Session& session, QWidget*) { return !session.state.gatewayIp.empty(); };
    return choosers;
}

std::unique_ptr<GatewayLink> CDlgupdown::makeLink(Session& session) {
    if (session.state.linkKind == LinkKind::Ethernet) {
        LinkSettings settings = session.link;
        settings.host = session.state.gatewayIp;
        return std::make_unique<TcpGatewayLink>(settings);
    }
    return std::make_unique<SerialGatewayLink>(session.state.serialPortName);
}

CDlgupdown::CDlgupdown(Session& session, TransferDirection direction, QWidget* parent)
    : QDialog(parent), session_(session), direction_(direction), linkFactory_(&CDlgupdown::makeLink) {
    build();
}

CDlgupdown::~CDlgupdown() {
    // Stops a transfer that still runs and waits for its current exchange, before any widget
    // it reports to is gone.
    delete worker_;
    worker_ = nullptr;
}

void CDlgupdown::build() {
    setObjectName(QStringLiteral("CDlgupdown"));
    const QString title = downloading(direction_) ? QStringLiteral("Download") : QStringLiteral("Upload");
    setWindowTitle(title);
    setAccessibleName(title);

    linkList_ = new QComboBox(this);
    linkList_->setObjectName(QStringLiteral("linkList"));
    hint_ = new QLabel(QStringLiteral("Serial port:"), this);
    hint_->setObjectName(QStringLiteral("hint"));
    hint_->setBuddy(linkList_);
    linkList_->setAccessibleName(hint_->text());
    linkList_->setMinimumContentsLength(20);

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setAccessibleName(QStringLiteral("Progress"));
    progress_->setRange(0, 1);
    progress_->setValue(0);
    progress_->setFormat(QStringLiteral("%v / %m"));
    // The count shows once the transfer has told how many frames it sends.
    progress_->setTextVisible(false);
    progress_->setMinimumWidth(320);

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(QDialogButtonBox::Ok);
    cancel_ = buttons->addButton(QDialogButtonBox::Cancel);
    ok_->setAccessibleName(QStringLiteral("OK"));
    cancel_->setAccessibleName(QStringLiteral("Cancel"));
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &CDlgupdown::accept);
    connect(cancel_, &QPushButton::clicked, this, &CDlgupdown::reject);

    auto* linkRow = new QHBoxLayout;
    linkRow->addWidget(hint_);
    linkRow->addWidget(linkList_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(linkRow);
    layout->addWidget(progress_);
    layout->addWidget(buttons);
}

bool CDlgupdown::prepare(const Choosers& choosers) {
    AppState& state = session_.state;
    if (state.model == GatewayModel::Vela3hRtu) {
        if (!choosers.serialPort || !choosers.serialPort(session_, this))
            return false;
    } else {
        state.linkKind = LinkKind::Ethernet;
        state.canDiagnose = false;
        state.canShowMemory = false;
        state.canSerialDebug = false;
        linkList_->hide();
        hint_->setText(downloading(direction_)
                           ? QStringLiteral("Click \"Download\" to download the configuration.")
                           : QStringLiteral("Click \"Upload\" to upload the configuration."));
        hint_->setMinimumWidth(360);
        hint_->setWordWrap(true);
        if (!choosers.gateway || !choosers.gateway(session_, this))
            return false;
    }
    linkList_->clear();
    linkList_->addItem(state.linkKind == LinkKind::Ethernet ? QStringLiteral("TCP/IP")
                                                            : QString::fromStdString(state.serialPortName));
    linkList_->setCurrentIndex(0);
    return true;
}

void CDlgupdown::setButtonsEnabled(bool enabled) {
    ok_->setEnabled(enabled);
    cancel_->setEnabled(enabled);
}

void CDlgupdown::accept() {
    if (running())
        return;
    std::unique_ptr<GatewayLink> link = linkFactory_(session_);
    if (!link)
        return;
    if (worker_ == nullptr) {
        worker_ = new TransferWorker(session_.product, session_.prompt(), this);
        connect(worker_, &TransferWorker::progress, this, &CDlgupdown::showProgress);
        connect(worker_, &TransferWorker::finished, this, &CDlgupdown::transferFinished);
    }
    setButtonsEnabled(false);
    closeRequested_ = false;
    outcome_.reset();
    progress_->setRange(0, 1);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    const bool ethernet = session_.state.linkKind == LinkKind::Ethernet;
    if (!downloading(direction_) && ethernet && isTcpModel(session_.state.model))
        hint_->setText(QStringLiteral("Configuration information uploading ..."));
    Q_EMIT transferStarting();
    worker_->start(direction_, std::move(link), session_.state);
}

void CDlgupdown::reject() {
    if (running()) {
        // The window closes once the worker has stopped between two exchanges.
        closeRequested_ = true;
        worker_->requestStop();
        return;
    }
    QDialog::reject();
}

void CDlgupdown::showProgress(int done, int total) {
    // The hint changes once the DHCP question is behind the download and frames go out.
    if (downloading(direction_) && session_.state.linkKind == LinkKind::Ethernet &&
        isTcpModel(session_.state.model))
        hint_->setText(QStringLiteral("Configuration information downloading ..."));
    progress_->setRange(0, std::max(total, 1));
    progress_->setValue(std::min(done, std::max(total, 1)));
    progress_->setTextVisible(true);
}

void CDlgupdown::transferFinished() {
    outcome_ = worker_->outcome();
    setButtonsEnabled(true);
    if (outcome_->end == TransferEnd::Done && !downloading(direction_))
        session_.state.projectDirty = true;
    Q_EMIT transferEnded();
    switch (outcome_->end) {
    case TransferEnd::Done:
        QDialog::accept();
        return;
    case TransferEnd::Refused:
        // Overlapping memory or the DHCP question: the dialog stays for another try.
        if (closeRequested_)
            QDialog::reject();
        return;
    case TransferEnd::Failed:
    case TransferEnd::Cancelled:
    case TransferEnd::Stopped:
        QDialog::reject();
        return;
    }
}

} // namespace korvan::gui
