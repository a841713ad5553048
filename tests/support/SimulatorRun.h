#pragma once

#include "VelaSimulator.h"
#include "link/LinkSettings.h"

#include <chrono>
#include <gtest/gtest.h>
#include <string>
#include <thread>

namespace korvan::test {

// vela-sim run in-process on its own thread for one test: it listens on loopback ports the
// system picks and stops when the test ends, or by itself after its lifetime.
class SimulatorRun {
public:
    explicit SimulatorRun(sim::SimOptions options) : simulator_(withLifetime(std::move(options))) {
        std::string reason;
        started_ = simulator_.start(reason);
        EXPECT_TRUE(started_) << reason;
        if (started_)
            thread_ = std::thread([this] { simulator_.run(); });
    }
    ~SimulatorRun() {
        simulator_.stop();
        if (thread_.joinable())
            thread_.join();
    }
    SimulatorRun(const SimulatorRun&) = delete;
    SimulatorRun& operator=(const SimulatorRun&) = delete;

    [[nodiscard]] sim::VelaSimulator& simulator() { return simulator_; }
    [[nodiscard]] LinkSettings settings() const {
        LinkSettings settings;
        settings.host = "127.0.0.1";
        settings.configurationPort = simulator_.configurationPort();
        settings.managementPort = simulator_.managementPort();
        return settings;
    }
    [[nodiscard]] const std::string& ptyPath() const { return simulator_.pseudoTerminalPath(); }
    // Waits, at most two seconds, until the simulator has received `count` frames: a frame
    // that gets no answer may still be on its way when the client is done.
    bool waitForFrames(std::size_t count) const {
        return waitUntil([&] { return simulator_.frames().size() >= count; });
    }
    // Waits, at most two seconds, until the simulator has answered `count` search requests:
    // a search tick reads only the answers already there.
    bool waitForSearchAnswers(int count) const {
        return waitUntil([&] { return simulator_.searchesAnswered() >= count; });
    }
    // Waits, at most two seconds, until the simulator sees no TCP connection open.
    bool waitForNoConnection() const {
        return waitUntil([&] { return simulator_.openConnections() == 0; });
    }
    // The first byte of every private frame received on the port, in order.
    [[nodiscard]] std::string letters(const std::string& port) const {
        std::string text;
        for (const sim::LoggedFrame& frame : simulator_.frames())
            if (frame.port == port && !frame.bytes.empty())
                text += static_cast<char>(frame.bytes[0]);
        return text;
    }

private:
    template <typename Condition> static bool waitUntil(Condition condition) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (!condition()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }

    static sim::SimOptions withLifetime(sim::SimOptions options) {
        if (options.lifetimeMs > 60000)
            options.lifetimeMs = 60000;
        return options;
    }

    sim::VelaSimulator simulator_;
    std::thread thread_;
    bool started_ = false;
};

} // namespace korvan::test
