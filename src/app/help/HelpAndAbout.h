#pragma once

class QUrl;
class QWidget;

namespace korvan::gui {

// Help / Content: the help page beside the program, opened with the desktop's default handler.
void openHelpContent();
// The help page beside the program, "Korvan.html"; whether it exists is the handler's to say.
[[nodiscard]] QUrl helpContentUrl();

// Help / About: the about box with the maker's picture.
void showAboutBox(QWidget* parent);

} // namespace korvan::gui
