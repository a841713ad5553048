#pragma once

#include "link/GatewayLink.h"
#include "link/LinkSettings.h"

#include <memory>
#include <optional>
#include <string>

namespace korvan::cli {

// The gateway link of one command, watched: it passes every call on and remembers the last
// exchange that failed and on which port, so that korvanctl can say which host, port or
// device the program's message is about.
class WatchedLink : public GatewayLink {
public:
    explicit WatchedLink(LinkSettings settings); // Ethernet
    explicit WatchedLink(std::string device);    // the serial line

    // What went wrong last, as a line of context ("no connection to 127.0.0.1 port 1, ...");
    // empty when nothing failed.
    [[nodiscard]] std::string failureContext() const;
    [[nodiscard]] bool anyFailure() const { return failure_.has_value(); }

    [[nodiscard]] bool isEthernet() const override { return inner_->isEthernet(); }
    [[nodiscard]] ResultCode open() override;
    void close() override { inner_->close(); }
    [[nodiscard]] LinkReply exchange(const LinkRequest& request) override;
    [[nodiscard]] LinkFailure sendOnly(const LinkRequest& request) override;
    [[nodiscard]] LinkFailure beginSession(int receiveTimeoutMs, int sendTimeoutMs) override;
    void endSession() override { inner_->endSession(); }
    [[nodiscard]] LinkReply managementExchange(std::span<const std::uint8_t> request, std::size_t minimum,
                                               std::size_t maximum, int receiveTimeoutMs,
                                               int sendTimeoutMs) override;
    [[nodiscard]] LinkFailure serialWrite(std::span<const std::uint8_t> bytes) override;
    [[nodiscard]] LinkReply serialRead(std::size_t n) override;
    [[nodiscard]] Bytes serialPollRead(std::size_t n) override { return inner_->serialPollRead(n); }

private:
    enum class Where { ConfigurationPort, ManagementPort, SerialOpen, SerialLine };
    struct Failure {
        Where where;
        LinkFailure kind;
    };

    LinkFailure watched(LinkFailure failure, Where where);

    std::unique_ptr<GatewayLink> inner_;
    LinkSettings settings_;
    std::string device_;
    std::optional<Failure> failure_;
};

// Why a serial device cannot be opened, as far as the system tells without opening it: no
// such device, no permission (with the group to join), or else in use or no serial port.
[[nodiscard]] std::string serialOpenContext(const std::string& device);

} // namespace korvan::cli
