#pragma once

#include "VelaSimulator.h"
#include "link/LinkSettings.h"

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
    // The first byte of every private frame received on the port, in order.
    [[nodiscard]] std::string letters(const std::string& port) const {
        std::string text;
        for (const sim::LoggedFrame& frame : simulator_.frames())
            if (frame.port == port && !frame.bytes.empty())
                text += static_cast<char>(frame.bytes[0]);
        return text;
    }

private:
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
