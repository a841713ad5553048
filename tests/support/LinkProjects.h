#pragma once

#include "model/GatewayModel.h"

#include <string>

namespace korvan {
class CProductTarn;
}

namespace korvan::test {

// A project of the model whose every downloaded detail an upload gives back: the network
// side changed from its defaults, a point-to-point channel with basic, Advanced and sending
// commands, and (on three-channel models) a multi-drop channel with two devices.
void fillRoundTripProject(CProductTarn& product);

// The parts of a product that travel to the gateway and back, as text: the channels, and
// the network side when `withNetworkSide`.
[[nodiscard]] std::string describeDownloaded(const CProductTarn& product, bool withNetworkSide);

} // namespace korvan::test
