#pragma once

#include "FuzzInput.h"
#include "link/GatewayLink.h"

namespace korvan::fuzz {

// A gateway that answers every exchange with the next slice of the fuzzer's bytes: the
// answer is what a real link would hand over, never longer than the request lets it read (on
// TCP the private part after the tunnel header). A marker slice fails the exchange where the
// byte after it says; an input that has run out fails it as a gateway that stays silent.
// Serial writes and session starts succeed and take nothing; as on the real links, the
// serial calls fail on TCP and the management port on the serial line.
class SlicedAnswerLink : public GatewayLink {
public:
    SlicedAnswerLink(FuzzInput& input, bool ethernet) : input_(input), ethernet_(ethernet) {}

    [[nodiscard]] bool isEthernet() const override { return ethernet_; }
    [[nodiscard]] ResultCode open() override { return ResultCode::Success; }
    void close() override {}

    [[nodiscard]] LinkReply exchange(const LinkRequest& request) override;
    [[nodiscard]] LinkFailure sendOnly(const LinkRequest&) override { return LinkFailure::None; }
    [[nodiscard]] LinkFailure beginSession(int, int) override { return LinkFailure::None; }
    void endSession() override {}
    [[nodiscard]] LinkReply managementExchange(std::span<const std::uint8_t> request, std::size_t minimum,
                                               std::size_t maximum, int receiveTimeoutMs,
                                               int sendTimeoutMs) override;
    [[nodiscard]] LinkFailure serialWrite(std::span<const std::uint8_t> bytes) override;
    [[nodiscard]] LinkReply serialRead(std::size_t n) override;
    [[nodiscard]] Bytes serialPollRead(std::size_t n) override;

    // Every frame sent, in order.
    [[nodiscard]] const std::vector<Bytes>& sent() const { return sent_; }

private:
    // The next answer of at most `maximum` bytes; an empty answer is a failure.
    LinkReply answer(std::size_t maximum);

    FuzzInput& input_;
    bool ethernet_;
    std::vector<Bytes> sent_;
};

// The byte after a marker slice that makes SlicedAnswerLink fail with `failure`.
[[nodiscard]] std::uint8_t failureDetail(LinkFailure failure);

} // namespace korvan::fuzz
