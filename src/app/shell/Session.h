#pragma once

#include "app/AppState.h"
#include "app/GatewayOptions.h"
#include "app/ParameterGrid.h"
#include "app/ProjectDocument.h"
#include "app/ProjectTreeEditor.h"
#include "link/LinkSettings.h"
#include "model/CProductTarn.h"
#include "network/GatewaySearch.h"

#include <optional>

namespace korvan {
class Prompt;
}

namespace korvan::gui {

// The core objects of one run of the program, owned together: the application state, the
// product, the project document, and the editing rules of the project tree and the
// parameter grid. Windows and tests hold a session and the prompt it was given.
class Session {
public:
    explicit Session(Prompt& prompt);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The model is chosen: the catalogue is built and the product for the model.
    void start(GatewayModel model);

    // The command line named the gateway: what the Ethernet configuration or the serial port
    // dialog would set is set here, so that the gateway windows start from it. A gateway
    // address is then asked directly rather than searched for by broadcast.
    void presetGateway(const GatewayOptions& options);

    [[nodiscard]] Prompt& prompt() { return prompt_; }

    AppState state;
    CProductTarn product;
    ProjectDocument document;
    ProjectTreeEditor tree;
    ParameterGrid grid;
    // The gateway's Ethernet ports; its host is state.gatewayIp once one is known.
    LinkSettings link;
    // How the gateway search asks, when not on the management port to the whole local
    // network: the command line's --search-port, or a test's search kept on loopback.
    std::optional<SearchSettings> search;

private:
    Prompt& prompt_;
};

} // namespace korvan::gui
