#include "network/EthernetConfiguration.h"

namespace korvan {

EthernetConfiguration::EthernetConfiguration(GatewayAddressing state)
    : state_(state), openedDirectAddress_(state.directAddress), searchTicked_(!state.directAddress),
      entry_(state.gatewayIp) {}

void EthernetConfiguration::setSearchTicked(bool ticked) {
    searchTicked_ = ticked;
    state_.directAddress = !ticked;
}

void EthernetConfiguration::ok() {
    if (searchTicked_) {
        state_.gatewayIp.clear();
        state_.directAddress = false;
        return;
    }
    state_.gatewayIp = entry_;
    state_.linkKind = LinkKind::Ethernet;
    state_.directAddress = !entry_.empty() && entry_ != "0.0.0.0";
}

void EthernetConfiguration::cancel() {
    state_.directAddress = openedDirectAddress_;
}

} // namespace korvan
