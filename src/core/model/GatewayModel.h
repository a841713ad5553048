#pragma once

#include <optional>
#include <string_view>

namespace korvan {

// The gateway model chosen at start; its code is the one the program stores and compares.
enum class GatewayModel : int {
    None = 0,
    Vela3hRtu = 1, // three HART channels, Modbus on a serial line
    Vela3hTcp = 2, // three HART channels, Modbus TCP
    Vela1hTcp = 3, // one HART channel, Modbus TCP
};

// The engineer's work mode: Config edits and transfers the project, Debug runs the live tools.
enum class WorkMode : int {
    Debug = 0,
    Config = 1,
};

// How the gateway is reached.
enum class LinkKind : int {
    Serial = 0,
    Ethernet = 1,
};

// "Vela-1H-TCP", "Vela-3H-TCP", "Vela-3H-RTU".
[[nodiscard]] std::string_view modelName(GatewayModel model);

// Accepts the names as shown and in any letter case.
[[nodiscard]] std::optional<GatewayModel> parseModelName(std::string_view name);

[[nodiscard]] constexpr bool isTcpModel(GatewayModel model) {
    return model == GatewayModel::Vela3hTcp || model == GatewayModel::Vela1hTcp;
}

[[nodiscard]] constexpr int channelTotal(GatewayModel model) {
    return model == GatewayModel::Vela3hRtu || model == GatewayModel::Vela3hTcp ? 3 : 1;
}

// The model's template file beside the program, for example "Vela-1H-TCP.ini".
[[nodiscard]] std::string_view templateFileName(GatewayModel model);

} // namespace korvan
