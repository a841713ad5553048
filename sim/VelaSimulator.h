#pragma once

#include "FaultPlan.h"
#include "GatewayEngine.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace korvan::sim {

struct SimOptions {
    GatewayModel model = GatewayModel::Vela3hTcp;
    // Loopback ports; 0 lets the system choose one (read back from the simulator).
    std::uint16_t configurationPort = 0;
    std::uint16_t managementPort = 0;
    std::uint16_t searchPort = 0;
    bool pseudoTerminal = false;
    int lifetimeMs = 30000; // the simulator stops by itself after this time
    FaultPlan faults;
    int searchAnswers = 1; // answers sent per search request, as from that many gateways at one address
    std::string logPath;   // every received frame as a line of hexadecimal bytes; empty: none
    // What the simulated devices answer, in place of their live values: per HART command the
    // whole payload (communication status, response code, data), and per command sequence
    // number the status the node status read reports for it.
    std::map<int, Bytes> deviceReplies;
    std::map<int, std::uint8_t> commandStatuses;
};

// A received frame and where it came from ("tcp", "mgmt", "udp" or "pty").
struct LoggedFrame {
    std::string port;
    Bytes bytes;                   // the private frame (tunnel header removed) or the management request
    std::uint16_t transaction = 0; // of the tunnel
    std::uint8_t frameType = 0;    // of the tunnel
};

// The gateway simulator: listens on loopback only, answers every exchange through its
// engine, logs the frames it receives and injects the planned faults. run() returns when the
// lifetime is over or stop() was called from another thread.
class VelaSimulator {
public:
    explicit VelaSimulator(SimOptions options);
    ~VelaSimulator();
    VelaSimulator(const VelaSimulator&) = delete;
    VelaSimulator& operator=(const VelaSimulator&) = delete;

    // Opens the ports (and the pseudo-terminal); false with a reason when one cannot be opened.
    [[nodiscard]] bool start(std::string& reason);
    void run();
    void stop() { stopping_ = true; }

    [[nodiscard]] std::uint16_t configurationPort() const { return configurationPort_; }
    [[nodiscard]] std::uint16_t managementPort() const { return managementPort_; }
    [[nodiscard]] std::uint16_t searchPort() const { return searchPort_; }
    [[nodiscard]] const std::string& pseudoTerminalPath() const { return ptyPath_; }

    [[nodiscard]] std::vector<LoggedFrame> frames() const;
    // Search requests answered so far: their answers are on their way once this counts them.
    [[nodiscard]] int searchesAnswered() const { return searchesAnswered_; }
    // The TCP connections open now, as the simulator last saw them (it notices a client's
    // close at its next poll, within 50 ms).
    [[nodiscard]] int openConnections() const { return openConnections_; }
    // Reads the engine under the simulator's lock (the answers are built on its thread).
    template <typename Reader> auto withEngine(Reader reader) const {
        std::lock_guard lock(mutex_);
        return reader(engine_);
    }

private:
    struct Connection {
        int fd = -1;
        bool management = false;
        Bytes buffer;
    };

    void acceptOn(int listener, bool management);
    bool serveConnection(Connection& connection);
    void serveSearch();
    void servePseudoTerminal();
    [[nodiscard]] std::optional<Bytes> answerFrame(const std::string& port,
                                                   std::span<const std::uint8_t> frame,
                                                   std::size_t tunnelLength, std::uint16_t transaction,
                                                   std::uint8_t frameType);
    void sendWithFaults(int fd, Bytes answer, int exchange, bool tunnelled);

    SimOptions options_;
    GatewayEngine engine_;
    mutable std::mutex mutex_;
    std::vector<LoggedFrame> frames_;
    std::atomic<bool> stopping_{false};
    std::atomic<int> searchesAnswered_{0};
    std::atomic<int> openConnections_{0};
    int exchanges_ = 0;
    int configurationListener_ = -1;
    int managementListener_ = -1;
    int searchSocket_ = -1;
    int ptyMaster_ = -1;
    int ptySlave_ = -1;
    Bytes ptyBuffer_;
    std::vector<Connection> connections_;
    std::uint16_t configurationPort_ = 0;
    std::uint16_t managementPort_ = 0;
    std::uint16_t searchPort_ = 0;
    std::string ptyPath_;
};

} // namespace korvan::sim
