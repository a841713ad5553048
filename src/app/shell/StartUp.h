#pragma once

#include "model/GatewayModel.h"

#include <optional>
#include <string>

namespace korvan::gui {

class TerminationSignals;

// Start-up's first step: the model the command line named, else the one picked in the device
// model dialog, shown modally. Nothing when the dialog was closed without a choice, or a
// termination request closed it: the program then ends.
[[nodiscard]] std::optional<GatewayModel> chooseModel(std::optional<GatewayModel> preset,
                                                      TerminationSignals* termination = nullptr);

// "config.ini" beside the program, which keeps the first-run wizard's flag; empty when the
// program's directory is unknown, and the wizard is then skipped.
[[nodiscard]] std::string wizardFlagFile();

} // namespace korvan::gui
