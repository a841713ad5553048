#include "shell/ProjectController.h"

#include "app/StartSequence.h"
#include "base/Prompt.h"
#include "os/FileSystem.h"
#include "shell/Session.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QWidget>

namespace korvan::gui {
namespace {

constexpr const char* recentGroup = "Recent File List";
// File / Open and File / Save As offer the project files of the document type.
constexpr const char* projectFilter = "XML File(*.xml)";
constexpr const char* projectExtension = "xml";

QString recentKey(std::size_t index) {
    return QStringLiteral("File%1").arg(index + 1);
}

ProjectController::OpenDialog standardOpenDialog(QWidget* window) {
    return [window]() -> std::optional<std::string> {
        QFileDialog dialog(window, QString(), QString(), QString::fromUtf8(projectFilter));
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setDefaultSuffix(QString::fromUtf8(projectExtension));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return dialog.selectedFiles().front().toStdString();
    };
}

} // namespace

ProjectController::ProjectController(Session& session, QSettings& settings, QWidget* window)
    : QObject(window), session_(session), settings_(settings), window_(window),
      openDialog_(standardOpenDialog(window)),
      templatePath_(programFile(templateFileName(session.state.model))) {
    std::vector<std::string> stored;
    settings_.beginGroup(QString::fromUtf8(recentGroup));
    for (std::size_t i = 0; i < recent_.size(); ++i)
        stored.push_back(settings_.value(recentKey(i)).toString().toStdString());
    settings_.endGroup();
    recent_.assign(stored);
}

QString ProjectController::caption() const {
    return QString::fromStdString(session_.document.caption());
}

void ProjectController::afterDocumentChange() {
    Q_EMIT captionChanged(caption());
    Q_EMIT flagsChanged();
}

bool ProjectController::startFirstProject(const std::optional<std::string>& projectFile) {
    // The program's first project never asks and keeps the product start-up built; a project
    // named on the command line then replaces it, and the template is not loaded over it.
    session_.document.newProject();
    if (projectFile) {
        session_.state.templatePending = false;
        if (!openPath(*projectFile))
            return false;
    } else {
        session_.document.loadModelTemplate(templatePath_);
        Q_EMIT projectReplaced(true);
    }
    afterDocumentChange();
    return true;
}

bool ProjectController::newProject() {
    const bool created = session_.document.newProject();
    if (created)
        Q_EMIT projectReplaced(false);
    afterDocumentChange();
    return created;
}

bool ProjectController::open() {
    const auto chosen = openDialog_ ? openDialog_() : std::nullopt;
    return chosen && openPath(*chosen);
}

bool ProjectController::openPath(const std::string& path) {
    const bool opened = session_.document.openProject(path);
    if (opened) {
        remember(path);
        Q_EMIT projectReplaced(true);
    } else if (!os::fileExists(path)) {
        // A project that has gone leaves the list; one that did not fit this model stays for
        // a run with another model.
        forget(path);
    }
    afterDocumentChange();
    return opened;
}

bool ProjectController::openRecent(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= recent_.entries().size())
        return false;
    const std::string path = recent_.entries()[static_cast<std::size_t>(index)];
    return openPath(path);
}

bool ProjectController::save() {
    const bool saved = session_.document.save();
    if (saved)
        remember(session_.document.currentPath());
    afterDocumentChange();
    return saved;
}

bool ProjectController::saveAs() {
    const std::string current = session_.document.currentPath();
    const std::string suggested =
        current.empty() ? std::string() : QFileInfo(QString::fromStdString(current)).fileName().toStdString();
    const auto chosen = session_.prompt().chooseSaveFile({projectFilter, projectExtension, suggested});
    const bool saved = chosen && session_.document.saveProject(*chosen);
    if (saved)
        remember(*chosen);
    afterDocumentChange();
    return saved;
}

bool ProjectController::mayClose() {
    const bool may = session_.document.mayCloseProject();
    afterDocumentChange();
    return may;
}

void ProjectController::remember(const std::string& path) {
    recent_.add(path);
    storeRecentFiles();
}

void ProjectController::forget(const std::string& path) {
    recent_.remove(path);
    storeRecentFiles();
}

void ProjectController::storeRecentFiles() {
    settings_.beginGroup(QString::fromUtf8(recentGroup));
    for (std::size_t i = 0; i < recent_.size(); ++i) {
        if (i < recent_.entries().size())
            settings_.setValue(recentKey(i), QString::fromStdString(recent_.entries()[i]));
        else
            settings_.remove(recentKey(i));
    }
    settings_.endGroup();
    settings_.sync();
    Q_EMIT recentFilesChanged();
}

} // namespace korvan::gui
