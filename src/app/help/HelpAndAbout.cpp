#include "help/HelpAndAbout.h"

namespace korvan::gui {

// Placeholders until help and about are built.
void openHelpContent() {}
void showAboutBox(QWidget*) {}

} // namespace korvan::gui
