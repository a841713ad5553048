#include "app/CommandAvailability.h"

#include "app/AppState.h"

namespace korvan {

CommandAvailability commandAvailability(const AppState& state, const TreeEnableFlags& tree) {
    const bool serialModel = state.model == GatewayModel::Vela3hRtu;
    CommandAvailability offered;
    offered.tree = tree;
    offered.serialSetting = serialModel;
    offered.ethernetConfig = !serialModel;
    offered.upload = state.canUpload;
    offered.download = state.canDownload;
    offered.selectMode = state.canSelectMode;
    offered.showMemory = state.canShowMemory;
    offered.diagnose = state.canDiagnose;
    offered.serialDebug = serialModel && state.canSerialDebug;
    return offered;
}

} // namespace korvan
