#include "help/NewsPane.h"

namespace korvan::gui {

// A placeholder until the pane is built.
NewsPane::NewsPane(AppState&, QWidget* parent) : QWidget(parent) {}

NewsPane::~NewsPane() = default;

} // namespace korvan::gui
