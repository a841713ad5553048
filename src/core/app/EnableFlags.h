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
// The gateway search of the memory display was cancelled on a TCP model: the window closes
// and the mode switch and the debug tools are offered again.
void memoryDisplaySearchCancelled(AppState& state);
// A debug tool has closed: in Debug mode the other tools its opening held back are offered
// again (download and upload stay with the mode).
void memoryDisplayClosed(AppState& state);
void serialDebugClosed(AppState& state);
void treeSelectionChanged(AppState& state);

} // namespace enable_flags
} // namespace korvan
