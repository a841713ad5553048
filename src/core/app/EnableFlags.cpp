#include "app/EnableFlags.h"

#include "app/AppState.h"

namespace korvan::enable_flags {

void newProjectCreated(AppState& state) {
    state.mode = 1;
    state.canSelectMode = 1;
}

void projectTreeReset(AppState& state) {
    state.canDownload = 1;
    state.canUpload = 1;
    state.canShowMemory = 0;
    state.canDiagnose = 0;
    state.canSerialDebug = 0;
    state.linkKind = 0;
}

void configModeChosen(AppState& state) {
    state.mode = 1;
    state.canSelectMode = 1;
    state.canDownload = 1;
    state.canUpload = 1;
    state.canShowMemory = 0;
    state.canDiagnose = 0;
    state.canSerialDebug = 0;
}

void debugModeChosen(AppState& state) {
    state.mode = 0;
    state.canSelectMode = 1;
    state.canDownload = 0;
    state.canUpload = 0;
    state.canShowMemory = 1;
    state.canDiagnose = 1;
    state.canSerialDebug = state.serialDebugAllowed;
}

void downloadDialogClosed(AppState& state) {
    if (state.mode != 1)
        return;
    state.canDownload = 1;
    state.canUpload = 1;
    state.canShowMemory = 0;
    state.canDiagnose = 0;
    state.canSerialDebug = 0;
}

void uploadStarted(AppState& state) {
    if (state.linkKind == 1) {
        state.canSelectMode = 0;
        state.canDiagnose = 0;
        state.canSerialDebug = 0;
    } else {
        state.canSelectMode = 1;
    }
}

bool openMemoryDisplay(AppState& state) {
    if (state.canShowMemory != 1)
        return false;
    state.canDownload = 0;
    state.canUpload = 0;
    state.canDiagnose = 0;
    state.canSerialDebug = 0;
    return true;
}

bool openDiagnose(AppState& state) {
    if (state.canDiagnose != 1)
        return false;
    state.canDownload = 0;
    state.canUpload = 0;
    state.canShowMemory = 0;
    state.canSerialDebug = 0;
    return true;
}

bool openSerialDebug(AppState& state) {
    if (state.canSerialDebug != 1)
        return false;
    state.canShowMemory = 0;
    state.canDiagnose = 0;
    return true;
}

void treeSelectionChanged(AppState& state) { state.linkKind = 0; }

} // namespace korvan::enable_flags
