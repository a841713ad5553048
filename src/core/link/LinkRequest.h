#pragma once

#include "link/PrivateFrame.h"

namespace korvan {

// Where an exchange failed, for the caller to pick its own message and result code.
enum class LinkFailure {
    None,
    Setup,   // TCP socket or time-out set-up
    Connect, // TCP connection not made
    Send,    // TCP send
    Receive, // TCP: nothing received before the time-out
    Write,   // serial write (the port is closed)
    Read,    // serial read: nothing waiting or nothing read (the port is closed)
};

// One private frame to the gateway and the answer expected for it. The same request runs on
// both links: tunnelled on TCP, as is on the serial line.
struct LinkRequest {
    Bytes frame;
    std::uint16_t transaction = 1;      // tunnel
    std::uint8_t frameType = 0x11;      // tunnel
    std::size_t tcpAnswerLength = 0;    // the whole tunnel answer
    std::size_t tcpAnswerMinimum = 0;   // 0: the whole length must arrive; else what suffices
    std::size_t serialAnswerLength = 0; // the private answer
    int receiveTimeoutMs = 1000;
    int sendTimeoutMs = 0;   // 0: no send time-out is set
    int serialPauseMs = 100; // between writing and reading on the serial line
};

struct LinkReply {
    LinkFailure failure = LinkFailure::None;
    Bytes answer; // the private answer; may be shorter than expected

    [[nodiscard]] bool failed() const { return failure != LinkFailure::None; }
};

} // namespace korvan
