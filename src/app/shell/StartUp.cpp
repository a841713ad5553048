#include "shell/StartUp.h"

#include "app/StartSequence.h"
#include "os/FileSystem.h"
#include "shell/CDlgSelectDevice.h"
#include "shell/TerminationSignals.h"

#include <QDir>
#include <QStandardPaths>

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
    // The user's own folder is made only when the flag has to go there.
    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    const std::string path = korvan::wizardFlagFile(os::programDirectory(), userFolder.toStdString());
    if (!path.empty() && path.rfind(userFolder.toStdString(), 0) == 0)
        QDir().mkpath(userFolder);
    return path;
}

} // namespace korvan::gui
