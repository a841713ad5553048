#pragma once

#include "SessionFixture.h"
#include "shell/CMainFrame.h"
#include "shell/ProjectController.h"
#include "support/TempDir.h"

#include <QSettings>
#include <memory>

namespace korvan::test {

// A main window over a started session, its settings in a folder of its own, and the first
// project filled from the model's template in the build's bin folder. Nothing is shown
// until show() is called.
struct WindowFixture {
    explicit WindowFixture(GatewayModel model, bool startProject = true)
        : session(model), settings(QString::fromStdString(folder.file("settings.ini")), QSettings::IniFormat),
          window(std::make_unique<gui::CMainFrame>(session.session, settings)) {
        projects().setTemplatePath(std::string(KORVAN_BIN_DIR) + "/" + std::string(templateFileName(model)));
        projects().setOpenDialog([this] { return nextOpen; });
        if (startProject)
            projects().startFirstProject(std::nullopt);
    }

    [[nodiscard]] gui::ProjectController& projects() const { return window->projects(); }
    [[nodiscard]] const gui::MainActions& actions() const { return window->actions(); }
    [[nodiscard]] ScriptedPrompt& prompt() { return session.prompt; }
    [[nodiscard]] gui::Session& core() { return session.session; }

    TempDir folder;
    SessionFixture session;
    QSettings settings;
    std::unique_ptr<gui::CMainFrame> window;
    // What the injected open dialog answers next.
    std::optional<std::string> nextOpen;
};

} // namespace korvan::test
