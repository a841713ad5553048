#pragma once

#include "SessionFixture.h"
#include "app/TransferRun.h"
#include "gateway/CDlgupdown.h"
#include "link/SerialGatewayLink.h"
#include "link/TcpGatewayLink.h"
#include "support/SimulatorRun.h"

#include <QElapsedTimer>
#include <QTimer>
#include <memory>

namespace korvan::test {

inline sim::SimOptions simulatorFor(GatewayModel model, sim::FaultPlan faults = {}) {
    sim::SimOptions options;
    options.model = model;
    options.pseudoTerminal = model == GatewayModel::Vela3hRtu;
    options.faults = faults;
    options.lifetimeMs = 50000;
    return options;
}

// The link the dialog would open, chosen as the serial port dialog or the gateway search
// would choose it.
inline gui::CDlgupdown::Choosers choosersFor(const SimulatorRun& run) {
    gui::CDlgupdown::Choosers choosers;
    const std::string pty = run.ptyPath();
    choosers.serialPort = [pty](gui::Session& session, QWidget*) {
        session.state.serialPortName = pty;
        session.state.linkKind = LinkKind::Serial;
        return true;
    };
    choosers.gateway = [](gui::Session& session, QWidget*) {
        session.state.gatewayIp = "127.0.0.1";
        return true;
    };
    return choosers;
}

// A session of the desktop program whose gateway is the simulator.
struct TransferSession : SessionFixture {
    TransferSession(GatewayModel model, const SimulatorRun& run) : SessionFixture(model) {
        session.link = run.settings();
    }
};

// The core's own link to the simulator, as korvanctl opens it.
inline std::unique_ptr<GatewayLink> coreLink(GatewayModel model, const SimulatorRun& run) {
    if (model == GatewayModel::Vela3hRtu)
        return std::make_unique<SerialGatewayLink>(run.ptyPath());
    return std::make_unique<TcpGatewayLink>(run.settings());
}

// A zero-length timer on the user-interface thread: the longest time it went without a tick
// is the longest the window went without processing events.
class TickWatch {
public:
    TickWatch() {
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
            const qint64 now = clock_.elapsed();
            longestGapMs_ = std::max(longestGapMs_, now - lastMs_);
            lastMs_ = now;
            ++ticks_;
        });
        clock_.start();
        timer_.start(0);
    }
    [[nodiscard]] qint64 longestGapMs() const { return longestGapMs_; }
    [[nodiscard]] long ticks() const { return ticks_; }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 lastMs_ = 0;
    qint64 longestGapMs_ = 0;
    long ticks_ = 0;
};

} // namespace korvan::test
