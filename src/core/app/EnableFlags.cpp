#include "app/EnableFlags.h"

#include "app/AppState.h"

namespace korvan::enable_flags {

void newProjectCreated(AppState& state) {
    state.mode = WorkMode::Config;
    state.canSelectMode = true;
}

void projectTreeReset(AppState& state) {
    state.canDownload = true;
    state.canUpload = true;
    state.canShowMemory = false;
    state.canDiagnose = false;
    state.canSerialDebug = false;
    state.linkKind = LinkKind::Serial;
}

void configModeChosen(AppState& state) {
    state.mode = WorkMode::Config;
    state.canSelectMode = true;
    state.canDownload = true;
    state.canUpload = true;
    state.canShowMemory = false;
    state.canDiagnose = false;
    state.canSerialDebug = false;
}

void debugModeChosen(AppState& state) {
    state.mode = WorkMode::Debug;
    state.canSelectMode = true;
    state.canDownload = false;
    state.canUpload = false;
    state.canShowMemory = true;
    state.canDiagnose = true;
    state.canSerialDebug = state.serialDebugAllowed;
}

void downloadDialogClosed(AppState& state) {
    if (state.mode != WorkMode::Config)
        return;
    state.canDownload = true;
    state.canUpload = true;
    state.canShowMemory = false;
    state.canDiagnose = false;
    state.canSerialDebug = false;
}

void uploadStarted(AppState& state) {
    if (state.linkKind == LinkKind::Ethernet) {
        state.canSelectMode = false;
        state.canDiagnose = false;
        state.canSerialDebug = false;
    } else {
        state.canSelectMode = true;
    }
}

bool openMemoryDisplay(AppState& state) {
    if (!state.canShowMemory)
        return false;
    state.canDownload = false;
    state.canUpload = false;
    state.canDiagnose = false;
    state.canSerialDebug = false;
    return true;
}

bool openDiagnose(AppState& state) {
    if (!state.canDiagnose)
        return false;
    state.canDownload = false;
    state.canUpload = false;
    state.canShowMemory = false;
    state.canSerialDebug = false;
    return true;
}

void diagnoseUploadEnded(AppState& state) {
    state.canDownload = false;
    state.canUpload = false;
    state.canShowMemory = false;
    state.canSerialDebug = false;
}

bool openSerialDebug(AppState& state) {
    if (!state.canSerialDebug)
        return false;
    state.canShowMemory = false;
    state.canDiagnose = false;
    return true;
}

void memoryDisplaySearchCancelled(AppState& state) {
    state.canSelectMode = true;
    state.canDiagnose = true;
    state.canShowMemory = true;
    state.canSerialDebug = true;
}

void memoryDisplayClosed(AppState& state) {
    if (state.mode != WorkMode::Debug)
        return;
    state.canDiagnose = true;
    state.canSerialDebug = state.serialDebugAllowed;
}

void serialDebugClosed(AppState& state) {
    if (state.mode != WorkMode::Debug)
        return;
    state.canShowMemory = true;
    state.canDiagnose = true;
}

void treeSelectionChanged(AppState& state) {
    state.linkKind = LinkKind::Serial;
}

} // namespace korvan::enable_flags
