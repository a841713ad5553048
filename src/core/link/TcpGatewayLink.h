#pragma once

#include "link/GatewayLink.h"
#include "link/LinkSettings.h"
#include "os/TcpConnection.h"

namespace korvan {

// The Ethernet link: every exchange is a tunnel frame on its own connection to the
// configuration port, closed again and followed by a 15 ms pause.
class TcpGatewayLink : public GatewayLink {
public:
    explicit TcpGatewayLink(LinkSettings settings) : settings_(std::move(settings)) {}

    [[nodiscard]] bool isEthernet() const override { return true; }
    [[nodiscard]] ResultCode open() override { return ResultCode::Success; }
    void close() override { endSession(); }
    [[nodiscard]] LinkReply exchange(const LinkRequest& request) override;
    [[nodiscard]] LinkFailure sendOnly(const LinkRequest& request) override;
    [[nodiscard]] LinkFailure beginSession(int receiveTimeoutMs, int sendTimeoutMs) override;
    void endSession() override;
    [[nodiscard]] LinkReply managementExchange(std::span<const std::uint8_t> request, std::size_t minimum,
                                               std::size_t maximum, int receiveTimeoutMs,
                                               int sendTimeoutMs) override;
    [[nodiscard]] LinkFailure serialWrite(std::span<const std::uint8_t>) override {
        return LinkFailure::Write;
    }
    [[nodiscard]] LinkReply serialRead(std::size_t) override { return {LinkFailure::Read, {}}; }
    [[nodiscard]] Bytes serialPollRead(std::size_t) override { return {}; }

    [[nodiscard]] const LinkSettings& settings() const { return settings_; }

private:
    [[nodiscard]] LinkFailure connect(os::TcpConnection& connection, std::uint16_t port, int receiveTimeoutMs,
                                      int sendTimeoutMs) const;
    void finish(os::TcpConnection& connection) const;

    LinkSettings settings_;
    os::TcpConnection session_;
};

} // namespace korvan
