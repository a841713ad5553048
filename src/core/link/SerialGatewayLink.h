#pragma once

#include "link/GatewayLink.h"
#include "os/SerialPort.h"

#include <string>

namespace korvan {

// The serial link: frames travel as they are at 19200 baud 8N1. Every failed write or read
// closes the port, so that after a failure a caller sees no open port.
class SerialGatewayLink : public GatewayLink {
public:
    explicit SerialGatewayLink(std::string device) : device_(std::move(device)) {}

    // 0, or 4 when the port cannot be opened.
    [[nodiscard]] ResultCode open() override;
    void close() override { port_.close(); }
    [[nodiscard]] bool isOpen() const { return port_.isOpen(); }

    [[nodiscard]] bool isEthernet() const override { return false; }
    [[nodiscard]] LinkReply exchange(const LinkRequest& request) override;
    [[nodiscard]] LinkFailure sendOnly(const LinkRequest& request) override {
        return serialWrite(request.frame);
    }
    [[nodiscard]] LinkFailure beginSession(int, int) override { return LinkFailure::None; }
    void endSession() override {}
    [[nodiscard]] LinkReply managementExchange(std::span<const std::uint8_t>, std::size_t, std::size_t, int,
                                               int) override {
        return {LinkFailure::Setup, {}};
    }
    [[nodiscard]] LinkFailure serialWrite(std::span<const std::uint8_t> bytes) override;
    [[nodiscard]] LinkReply serialRead(std::size_t n) override;
    [[nodiscard]] Bytes serialPollRead(std::size_t n) override;
    // The debug assistant's write, which leaves the port open when it fails.
    [[nodiscard]] bool serialWriteKeepOpen(std::span<const std::uint8_t> bytes);
    void purge() { port_.purge(); }

private:
    std::string device_;
    os::SerialPort port_;
};

} // namespace korvan
