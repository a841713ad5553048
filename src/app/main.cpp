// korvan: the desktop program. The start sequence: the command line, the device model dialog,
// the session of core objects, the first project, the main window shown maximised, and the
// first-run wizard.
#include "shell/CMainFrame.h"
#include "shell/CWizard.h"
#include "shell/CommandLine.h"
#include "shell/ProjectController.h"
#include "shell/Session.h"
#include "shell/StartUp.h"
#include "shell/TerminationSignals.h"
#include "support/PictureView.h"
#include "support/QtPrompt.h"
#include "support/StartupTiming.h"

#include <QApplication>
#include <QSettings>
#include <QTimer>
#include <cstdio>
#include <optional>

namespace {

using namespace korvan;
using namespace korvan::gui;

enum ExitStatus : int {
    ExitOk = 0,
    ExitUsage = 64,
    // The project named on the command line could not be opened.
    ExitBadProject = 65,
};

// A platform on which no one sees a window: a message box there would wait for ever.
bool unseenPlatform() {
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

// --help and --version are answered before Qt starts, so that they need no display. A
// command line with Qt's own options is read again once QApplication has taken them out.
bool answeredWithoutDisplay(int argc, char* argv[]) {
    const ProgramArguments early = parseProgramArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!early.error.empty() || (!early.help && !early.version))
        return false;
    if (early.help)
        std::fputs(programUsage(), stdout);
    else
        std::puts("korvan " KORVAN_VERSION);
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    StartupTiming::markMainEntered();
    if (answeredWithoutDisplay(argc, argv))
        return ExitOk;
    QApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("Korvan"));
    application.setWindowIcon(pictureIcon(QStringLiteral(":/icons/korvan.svg")));

    // QApplication has taken its own options out of argv.
    const ProgramArguments arguments = parseProgramArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (arguments.help) {
        std::fputs(programUsage(), stdout);
        return ExitOk;
    }
    if (arguments.version) {
        std::puts("korvan " KORVAN_VERSION);
        return ExitOk;
    }
    if (!arguments.error.empty()) {
        std::fprintf(stderr, "korvan: %s\n\n%s", arguments.error.c_str(), programUsage());
        return ExitUsage;
    }

    TerminationSignals termination;
    QtPrompt prompt;
    prompt.setUnattended(unseenPlatform());
    Session session(prompt);

    const std::optional<GatewayModel> model = chooseModel(arguments.gateway.model, &termination);
    if (!model)
        return ExitOk;

    QSettings settings(QStringLiteral("Local AppWizard-Generated Applications"), QStringLiteral("Korvan"));
    session.start(*model);
    session.presetGateway(arguments.gateway);
    if (arguments.searchPort) {
        SearchSettings search;
        search.port = *arguments.searchPort;
        session.search = search;
    }

    CMainFrame window(session, settings);
    prompt.setWindow(&window);
    if (!window.projects().startFirstProject(arguments.projectFile))
        return ExitBadProject;

    // A termination request closes the window as its close box does: the document decides.
    QObject::connect(&termination, &TerminationSignals::received, &window, &QWidget::close);
    QObject::connect(&window, &CMainFrame::closed, &application, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    StartupTiming::reportFirstPaint(&window);
    window.showMaximized();

    QTimer::singleShot(0, &window, [&] { showWizardIfDue(*model, &window, wizardFlagFile()); });
    return application.exec();
}
