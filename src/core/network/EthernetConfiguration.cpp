#include "network/EthernetConfiguration.h"

#include "app/AppState.h"

namespace korvan {

EthernetConfiguration::EthernetConfiguration(AppState& state)
    : state_(state), openedDirectAddress_(state.directAddress), searchTicked_(state.directAddress != 1),
      entry_(state.gatewayIp) {}

void EthernetConfiguration::setSearchTicked(bool ticked) {
    searchTicked_ = ticked;
    state_.directAddress = ticked ? 0 : 1;
}

void EthernetConfiguration::ok() {
    if (searchTicked_) {
        state_.gatewayIp.clear();
        state_.directAddress = 0;
        return;
    }
    state_.gatewayIp = entry_;
    state_.linkKind = 1;
    state_.directAddress = !entry_.empty() && entry_ != "0.0.0.0" ? 1 : 0;
}

void EthernetConfiguration::cancel() {
    state_.directAddress = openedDirectAddress_;
}

} // namespace korvan
