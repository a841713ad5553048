#pragma once

#include "hart/AdvancedSelectionTable.h"

#include <string>

namespace korvan {

class CProductTarn;
class Prompt;
struct AppState;

// The single open project: when the product is reset, filled from the model's template,
// loaded or saved, the project file's path and the caption that shows it, and the questions
// before unsaved changes are lost. Each operation that answers true has replaced or
// reloaded the project, and the views then clear the grid, reset the tree's selection and
// rebuild the tree.
class ProjectDocument {
public:
    static constexpr const char* StartCaption = "Gateway Configuration Software Korvan";

    ProjectDocument(CProductTarn& product, AppState& state, Prompt& prompt);

    // File / New and the first project at start-up.
    bool newProject();
    // The first project's contents from the model's template beside the program; quiet on failure.
    bool loadModelTemplate();
    bool loadModelTemplate(const std::string& templatePath);
    // A failed open shows why and keeps the open project, its path and caption.
    bool openProject(const std::string& path);
    // A failed save shows why and leaves the project dirty.
    bool saveProject(const std::string& path);
    // File / Save: the current path, or a name asked for when there is none.
    bool save();
    // Before the main window closes: false keeps the program running.
    bool mayCloseProject();

    [[nodiscard]] const std::string& currentPath() const { return path_; }
    [[nodiscard]] const std::string& caption() const { return caption_; }
    // The working copy of the project's Advanced configurations, for its parameter grid and
    // Advanced Configuration dialog.
    [[nodiscard]] AdvancedSelectionTable& advancedSelection() { return advancedSelection_; }

private:
    enum class SaveOutcome { Saved, Cancelled, Failed };

    // Saves for the save question: to the current path, else to a chosen name, which does not
    // become the current path.
    SaveOutcome saveForQuestion();
    bool writeTo(const std::string& path);

    CProductTarn& product_;
    AppState& state_;
    Prompt& prompt_;
    std::string path_;
    std::string caption_ = StartCaption;
    AdvancedSelectionTable advancedSelection_;
};

} // namespace korvan
