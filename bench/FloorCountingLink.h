#pragma once

// The protocol's own floor for a transfer, computed from the calls its link gets: 15 ms after
// each TCP exchange; on the serial line 100 ms between write and read, 50 ms before each read,
// and every byte at 19200 baud (10 bits a byte).
#include "link/GatewayLink.h"

#include <memory>

namespace korvan::bench {

constexpr double serialByteMs = 10.0 * 1000.0 / 19200.0;

// Passes every call on and adds up the protocol's own waits for it.
class FloorCountingLink : public GatewayLink {
public:
    explicit FloorCountingLink(GatewayLink& inner) : inner_(inner) {}
    // The link is the counter's own: the form a window's link factory hands over.
    explicit FloorCountingLink(std::unique_ptr<GatewayLink> inner)
        : owned_(std::move(inner)), inner_(*owned_) {}

    [[nodiscard]] double floorMs() const { return floorMs_; }
    [[nodiscard]] int exchanges() const { return exchanges_; }

    bool isEthernet() const override { return inner_.isEthernet(); }
    ResultCode open() override { return inner_.open(); }
    void close() override { inner_.close(); }
    LinkReply exchange(const LinkRequest& request) override {
        ++exchanges_;
        if (isEthernet())
            floorMs_ += 15;
        else
            floorMs_ += request.serialPauseMs + 50 +
                        static_cast<double>(request.frame.size() + request.serialAnswerLength) * serialByteMs;
        return inner_.exchange(request);
    }
    LinkFailure sendOnly(const LinkRequest& request) override {
        floorMs_ += isEthernet() ? 15 : static_cast<double>(request.frame.size()) * serialByteMs;
        return inner_.sendOnly(request);
    }
    LinkFailure beginSession(int receiveTimeoutMs, int sendTimeoutMs) override {
        return inner_.beginSession(receiveTimeoutMs, sendTimeoutMs);
    }
    void endSession() override { inner_.endSession(); }
    LinkReply managementExchange(std::span<const std::uint8_t> request, std::size_t minimum,
                                 std::size_t maximum, int receiveTimeoutMs, int sendTimeoutMs) override {
        ++exchanges_;
        floorMs_ += 15;
        return inner_.managementExchange(request, minimum, maximum, receiveTimeoutMs, sendTimeoutMs);
    }
    LinkFailure serialWrite(std::span<const std::uint8_t> bytes) override {
        floorMs_ += static_cast<double>(bytes.size()) * serialByteMs;
        return inner_.serialWrite(bytes);
    }
    LinkReply serialRead(std::size_t n) override {
        floorMs_ += 50 + static_cast<double>(n) * serialByteMs;
        return inner_.serialRead(n);
    }
    Bytes serialPollRead(std::size_t n) override {
        floorMs_ += 50;
        return inner_.serialPollRead(n);
    }

private:
    std::unique_ptr<GatewayLink> owned_;
    GatewayLink& inner_;
    double floorMs_ = 0;
    int exchanges_ = 0;
};

} // namespace korvan::bench
