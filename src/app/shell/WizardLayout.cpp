#include "shell/WizardLayout.h"

#include <algorithm>
#include <cmath>

namespace korvan::gui {
namespace {

constexpr int buttonWidth = 126;
constexpr int buttonHeight = 26;
constexpr int rightMargin = 8;

int rounded(double value) {
    return static_cast<int>(std::lround(value));
}

} // namespace

double wizardScreenFactor(int dpiX, int dpiY) {
    const int average = (dpiX + dpiY) / 2;
    return std::max(1.0, 1.0 + 0.25 * ((average - 96) / 24));
}

WizardLayout wizardLayout(int dpiX, int dpiY, int showAgainTextWidth) {
    const double f = wizardScreenFactor(dpiX, dpiY);
    WizardLayout layout;
    layout.picture = {0, 0, WizardLayout::WindowWidth, 620};
    const int buttonY = rounded(679 - 15 * f);
    layout.back = {432, buttonY, buttonWidth, buttonHeight};
    layout.next = {562, buttonY, buttonWidth, buttonHeight};
    layout.close = {702, buttonY, buttonWidth, buttonHeight};
    const int width = std::max(rounded(236 * f), showAgainTextWidth);
    const int x = std::min(rounded(WizardLayout::WindowWidth - 188 * f),
                           WizardLayout::WindowWidth - rightMargin - showAgainTextWidth);
    layout.showAgain = {x, rounded(667 - 25 * f), std::min(width, WizardLayout::WindowWidth - x), 20};
    return layout;
}

} // namespace korvan::gui
