#include "shell/StartUp.h"

#include "app/StartSequence.h"
#include "os/FileSystem.h"
#include "shell/CDlgSelectDevice.h"
#include "shell/TerminationSignals.h"

namespace korvan::gui {

std::optional<GatewayModel> chooseModel(std::optional<GatewayModel> preset, TerminationSignals* termination) {
    if (preset)
        return preset;
    CDlgSelectDevice dialog;
    if (termination != nullptr)
        QObject::connect(termination, &TerminationSignals::received, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.model();
}

std::string wizardFlagFile() {
    return os::programDirectory().empty() ? std::string() : programFile("config.ini");
}

} // namespace korvan::gui
