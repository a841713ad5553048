#pragma once

#include "app/RecentFileList.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <string>

class QSettings;
class QWidget;

namespace korvan::gui {

class Session;

// The File menu over the core's ProjectDocument: New, Open, Save, Save As, the recent files
// and the question before closing. After every new project, template load or open it tells
// the window to clear the grid, reset the tree's selection and rebuild the tree. The open
// dialog is a member so that tests choose the file without a real dialog; Save As asks for
// its name through the session's prompt.
class ProjectController : public QObject {
    Q_OBJECT
public:
    // Nothing when the engineer cancels.
    using OpenDialog = std::function<std::optional<std::string>()>;

    // The recent files are kept in `settings` (group "Recent File List", File1 to File4).
    ProjectController(Session& session, QSettings& settings, QWidget* window);

    void setOpenDialog(OpenDialog dialog) { openDialog_ = std::move(dialog); }
    // The model's template beside the program unless set (tests keep theirs elsewhere).
    void setTemplatePath(std::string path) { templatePath_ = std::move(path); }

    // Start-up: the first project, filled from the model's template, or the project named on
    // the command line. False when that project cannot be opened (the core said why).
    bool startFirstProject(const std::optional<std::string>& projectFile);

    [[nodiscard]] const RecentFileList& recentFiles() const { return recent_; }
    [[nodiscard]] QString caption() const;

public Q_SLOTS:
    bool newProject();
    bool open();
    bool openPath(const std::string& path);
    bool openRecent(int index);
    bool save();
    bool saveAs();
    // The main window is about to close: false keeps the program running.
    bool mayClose();

Q_SIGNALS:
    // The project was replaced or reloaded: clear the grid and the annotation, reset the
    // tree's selection and rebuild the tree, re-selecting the previous label when asked.
    void projectReplaced(bool reselect);
    void captionChanged(const QString& caption);
    void recentFilesChanged();
    // The application state's enable flags may have changed.
    void flagsChanged();

private:
    void remember(const std::string& path);
    void forget(const std::string& path);
    void storeRecentFiles();
    void afterDocumentChange();

    Session& session_;
    QSettings& settings_;
    QWidget* window_;
    OpenDialog openDialog_;
    std::string templatePath_;
    RecentFileList recent_;
};

} // namespace korvan::gui
