#pragma once

#include "TransferFixture.h"
#include "gateway/ExchangeWorker.h"
#include "link/GatewayLink.h"

#include <QTest>
#include <algorithm>

namespace korvan::test {

// How long a test waits for an exchange of the window against the simulator.
inline constexpr int exchangeWaitMs = 10000;

// The private frames the simulator received that start with the given bytes.
inline std::vector<Bytes> framesStartingWith(SimulatorRun& run, const Bytes& start) {
    std::vector<Bytes> found;
    for (const sim::LoggedFrame& frame : run.simulator().frames())
        if (frame.port != "mgmt" && frame.bytes.size() >= start.size() &&
            std::equal(start.begin(), start.end(), frame.bytes.begin()))
            found.push_back(frame.bytes);
    return found;
}

inline bool received(SimulatorRun& run, const Bytes& frame) {
    const auto frames = framesStartingWith(run, frame);
    return std::find(frames.begin(), frames.end(), frame) != frames.end();
}

} // namespace korvan::test
