#pragma once

#include "model/GatewayModel.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvan {

// A gateway on Ethernet given on a command line: its host and configuration port.
struct GatewayEndpoint {
    std::string host;
    std::uint16_t port = 502;
};

// The command-line options both front ends take to reach a gateway without asking for it:
// --model, --gateway HOST[:PORT], --mgmt-port PORT and --serial DEVICE.
struct GatewayOptions {
    std::optional<GatewayModel> model;
    std::optional<GatewayEndpoint> gateway;
    std::uint16_t managementPort = 18801;
    std::optional<std::string> serialDevice;
};

// Reading one word of a command line: whether it was one of the gateway options, and the
// reason when it was but its value is unusable.
struct GatewayOptionRead {
    bool matched = false;
    std::string error;
};

// Reads the gateway option at words[index] into `options`, moving `index` onto its value.
// A word that is not one of them is left for the caller (matched is false).
[[nodiscard]] GatewayOptionRead readGatewayOption(const std::vector<std::string>& words, std::size_t& index,
                                                  GatewayOptions& options);

// Options that exclude each other or do not fit the model; empty when they fit.
[[nodiscard]] std::string gatewayOptionsConflict(const GatewayOptions& options);

} // namespace korvan
