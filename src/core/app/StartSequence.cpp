#include "app/StartSequence.h"

#include "app/AppState.h"
#include "app/ProfileFile.h"
#include "app/ProjectLoad.h"
#include "hart/HartCommandCatalogue.h"
#include "model/CProductTarn.h"
#include "os/FileProbe.h"
#include "os/FileSystem.h"
#include "projectfile/ProjectFile.h"

namespace korvan {
namespace {

constexpr std::string_view wizardSection = "ITEMSTR";
constexpr std::string_view wizardKey = "Wizerd";
// The flag is read into a buffer of 10 characters: longer values are cut to 9.
constexpr std::size_t wizardValueLength = 9;

} // namespace

void startProduct(AppState& state, CProductTarn& product, GatewayModel model) {
    state.model = model;
    buildCatalogue();
    product.build(model);
}

std::string programFile(std::string_view name) {
    return os::joinPath(os::programDirectory(), name);
}

bool loadModelTemplate(CProductTarn& product, AppState& state, Prompt& prompt,
                       const std::string& templatePath) {
    state.templatePending = false;
    if (!loadProject(product, state, prompt, templatePath).ok())
        return false;
    state.projectDirty = false;
    return true;
}

bool wizardShouldShow(const std::string& configPath) {
    const std::string value = ProfileFile(configPath).value(wizardSection, wizardKey).value_or("false");
    return value.substr(0, wizardValueLength) == "false";
}

std::string wizardFlagFile(const std::string& programDirectory, const std::string& userDirectory) {
    constexpr std::string_view name = "config.ini";
    const std::string own = userDirectory.empty() ? std::string() : os::joinPath(userDirectory, name);
    if (!own.empty() && os::fileExists(own))
        return own;
    const std::string beside = programDirectory.empty() ? std::string() : os::joinPath(programDirectory, name);
    if (!beside.empty() && (own.empty() || os::probeWritable(beside).empty()))
        return beside;
    return own;
}

bool rememberWizardDismissed(const std::string& configPath) {
    ProfileFile file(configPath);
    file.setValue(wizardSection, wizardKey, "true");
    return file.save();
}

} // namespace korvan
