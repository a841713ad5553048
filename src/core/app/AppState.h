#pragma once

#include "model/GatewayModel.h"

#include <string>

namespace korvan {

// The process-wide application state every subsystem reads: the model fixed at start, the
// work mode, how the gateway is reached, the dirty flag and the command enable flags.
// Read and written on the user-interface thread only, except newsOnline.
struct AppState {
    GatewayModel model = GatewayModel::None;
    WorkMode mode = WorkMode::Config;
    LinkKind linkKind = LinkKind::Serial;
    std::string gatewayIp;
    std::string serialPortName;
    // The Ethernet configuration asks one fixed address instead of searching by broadcast.
    bool directAddress = false;
    bool projectDirty = false;
    bool canSelectMode = false;
    bool canDownload = false;
    bool canUpload = false;
    bool canShowMemory = false;
    bool canDiagnose = false;
    bool canSerialDebug = false;
    bool serialDebugAllowed = false;
    int newDocumentCount = 0;
    bool templatePending = true;
    int newsOnline = 0;
};

} // namespace korvan
