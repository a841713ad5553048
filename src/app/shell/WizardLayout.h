#pragma once

namespace korvan::gui {

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Where the first-run wizard's picture and controls sit, in window pixels.
struct WizardLayout {
    static constexpr int WindowWidth = 840;
    static constexpr int WindowHeight = 729;

    PixelRect picture;
    PixelRect back;
    PixelRect next;
    PixelRect close;
    PixelRect showAgain;
};

// The screen factor f = 1 + 0.25 x ((average dots per inch - 96) / 24, integer division),
// never below 1, that moves the controls up on screens of more dots per inch.
[[nodiscard]] double wizardScreenFactor(int dpiX, int dpiY);

// The layout for a screen of these dots per inch. The check box "Pop up the wizard next
// time." is moved left as far as its text needs (`showAgainTextWidth`, indicator included)
// so that it is never cut at the window's right edge.
[[nodiscard]] WizardLayout wizardLayout(int dpiX, int dpiY, int showAgainTextWidth);

} // namespace korvan::gui
