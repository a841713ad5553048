#pragma once

#include "app/GatewayModel.h"

#include <string>

namespace korvan {

// The process-wide application state every subsystem reads: the model fixed at start, the
// work mode, how the gateway is reached, the dirty flag and the command enable flags.
// Read and written on the user-interface thread only, except newsOnline.
struct AppState {
    GatewayModel model = GatewayModel::None;
    int mode = 1;     // 1 Config, 0 Debug
    int linkKind = 0; // 1 Ethernet, any other value serial
    std::string gatewayIp;
    std::string serialPortName;
    int directAddress = 0;
    int projectDirty = 0;
    int canSelectMode = 0;
    int canDownload = 0;
    int canUpload = 0;
    int canShowMemory = 0;
    int canDiagnose = 0;
    int canSerialDebug = 0;
    int serialDebugAllowed = 0;
    int newDocumentCount = 0;
    bool templatePending = true;
    int newsOnline = 0;
};

} // namespace korvan
