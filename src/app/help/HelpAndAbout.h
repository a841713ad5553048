#pragma once

class QWidget;

namespace korvan::gui {

// Help / Content: the help page beside the program, opened with the desktop's default handler.
void openHelpContent();

// Help / About: the about box with the maker's picture.
void showAboutBox(QWidget* parent);

} // namespace korvan::gui
