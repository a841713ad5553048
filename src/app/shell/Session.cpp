#include "shell/Session.h"

#include "app/StartSequence.h"

namespace korvan::gui {

Session::Session(Prompt& prompt)
    : document(product, state, prompt), tree(product, state, prompt),
      grid(product, state, prompt, document.advancedSelection()), prompt_(prompt) {}

void Session::start(GatewayModel model) {
    startProduct(state, product, model);
}

void Session::presetGateway(const GatewayOptions& options) {
    link.managementPort = options.managementPort;
    if (options.gateway) {
        state.gatewayIp = options.gateway->host;
        state.directAddress = true;
        link.host = options.gateway->host;
        link.configurationPort = options.gateway->port;
    }
    if (options.serialDevice)
        state.serialPortName = *options.serialDevice;
}

} // namespace korvan::gui
