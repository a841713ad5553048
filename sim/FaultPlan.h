#pragma once

namespace korvan::sim {

// The faults the simulator injects. Exchanges are counted from 1 over every frame received
// on any port; 0 switches a fault off.
struct FaultPlan {
    int silentFrom = 0;    // no answer to this exchange and every later one
    int badChecksumAt = 0; // the answer's last byte is off by one
    int truncateAt = 0;    // only the first half of the answer is sent
    int garbageAt = 0;     // the answer is replaced by rubbish of the same length
    int closeAt = 0;       // the connection is closed instead of answered (TCP)
    int lateAt = 0;        // the answer is held back for lateMs
    int lateMs = 1500;
    int splitAt = 0;                // the answer goes in two parts, the second 100 ms after the first
    bool refuseConnections = false; // nothing listens on the TCP ports
};

} // namespace korvan::sim
