#pragma once

#include "link/LinkRequest.h"

namespace korvan {

// How the core reaches a gateway: TCP or a serial line (a USB adapter or a pseudo-terminal).
// Download, upload and the debug tools are written once against this interface.
class GatewayLink {
public:
    virtual ~GatewayLink() = default;

    [[nodiscard]] virtual bool isEthernet() const = 0;

    // A serial link opens its port here (0, or 4 when it cannot); TCP opens per exchange.
    [[nodiscard]] virtual ResultCode open() = 0;
    virtual void close() = 0;

    // One frame and its answer. On TCP one connection per exchange, followed by the 15 ms
    // pause, unless a session is open.
    [[nodiscard]] virtual LinkReply exchange(const LinkRequest& request) = 0;
    // A frame that gets no answer (the remote reset).
    [[nodiscard]] virtual LinkFailure sendOnly(const LinkRequest& request) = 0;

    // TCP: keeps one connection for the exchanges until endSession (an upload reads an
    // Advanced command's record and its table entry on one connection). Serial: nothing.
    [[nodiscard]] virtual LinkFailure beginSession(int receiveTimeoutMs, int sendTimeoutMs) = 0;
    virtual void endSession() = 0;

    // The management port (TCP only, no tunnel): sends and reads at least minimum bytes, at
    // most maximum. The serial link answers Setup.
    [[nodiscard]] virtual LinkReply managementExchange(std::span<const std::uint8_t> request,
                                                       std::size_t minimum, std::size_t maximum,
                                                       int receiveTimeoutMs, int sendTimeoutMs) = 0;

    // Serial only: the plain write, and the read after the 50 ms wait (nothing waiting
    // closes the port). TCP answers Write and Read.
    [[nodiscard]] virtual LinkFailure serialWrite(std::span<const std::uint8_t> bytes) = 0;
    [[nodiscard]] virtual LinkReply serialRead(std::size_t n) = 0;
    // The debug tools' read: up to n bytes, an empty answer when nothing is waiting; the
    // port stays open.
    [[nodiscard]] virtual Bytes serialPollRead(std::size_t n) = 0;
};

} // namespace korvan
