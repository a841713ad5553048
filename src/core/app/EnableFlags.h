#pragma once

namespace korvan {

struct AppState;

// The events that decide which transfer and debug commands the main window offers, and what
// each does to the application state's flags.
namespace enable_flags {

void newProjectCreated(AppState& state);
// After a new project, the template load or an open, the tree starts over.
void projectTreeReset(AppState& state);
void configModeChosen(AppState& state);
void debugModeChosen(AppState& state);
// The download dialog has closed; changes the flags only in Config mode.
void downloadDialogClosed(AppState& state);
void uploadStarted(AppState& state);
// The debug tools open only while their flag is set; each answers whether it may open.
bool openMemoryDisplay(AppState& state);
bool openDiagnose(AppState& state);
bool openSerialDebug(AppState& state);
// Diagnose's own upload rebuilt the tree, which offered the transfers again: while Diagnose
// holds the link they stay off, as its opening set them.
void diagnoseUploadEnded(AppState& state);
void treeSelectionChanged(AppState& state);

} // namespace enable_flags
} // namespace korvan
