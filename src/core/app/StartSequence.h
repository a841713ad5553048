#pragma once

#include "model/GatewayModel.h"

#include <string>
#include <string_view>

namespace korvan {

class CProductTarn;
class Prompt;
struct AppState;

// The start of a run once the model is chosen: the model is fixed in the application state,
// the HART command catalogue is built, and the product is built for the model, the
// network-side bus first, then its channels.
void startProduct(AppState& state, CProductTarn& product, GatewayModel model);

// A file beside the program.
[[nodiscard]] std::string programFile(std::string_view name);

// Fills the first project from the model's template file. A missing, unreadable or
// unfitting template leaves the defaults, without a message. Answers whether it loaded.
bool loadModelTemplate(CProductTarn& product, AppState& state, Prompt& prompt,
                       const std::string& templatePath);

// The first-run wizard's flag, key "Wizerd" of section "ITEMSTR" in "config.ini" beside the
// program: the wizard shows when the value is exactly "false", which a missing file or key
// reads as.
[[nodiscard]] bool wizardShouldShow(const std::string& configPath);
// Where the wizard's flag is kept: "config.ini" beside the program, unless it cannot be written
// there (an installed program, whose folder is the system's): then "config.ini" in the user's
// own folder `userDirectory`. Once a user's file exists, it is the one read.
[[nodiscard]] std::string wizardFlagFile(const std::string& programDirectory, const std::string& userDirectory);

// The engineer cleared "Pop up the wizard next time.": the key becomes "true" (the file is
// created when missing). Answers false when the file cannot be written.
bool rememberWizardDismissed(const std::string& configPath);

} // namespace korvan
