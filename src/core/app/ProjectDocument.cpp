#include "app/ProjectDocument.h"

#include "app/AppState.h"
#include "app/EnableFlags.h"
#include "app/ProjectLoad.h"
#include "app/StartSequence.h"
#include "base/Prompt.h"
#include "model/CProductTarn.h"
#include "os/FileSystem.h"
#include "projectfile/ProjectFile.h"

namespace korvan {
namespace {

constexpr const char* saveQuestion = "Configuration has changed,Save it or not?";
constexpr const char* savedMessage = "Successfully Saved!";

FileRequest configFileRequest() {
    return {"Config File(*.xml)", "xml", ""};
}

} // namespace

ProjectDocument::ProjectDocument(CProductTarn& product, AppState& state, Prompt& prompt)
    : product_(product), state_(state), prompt_(prompt) {}

bool ProjectDocument::writeTo(const std::string& path) {
    const SaveResult result = saveToFile(product_, path);
    if (!result.ok) {
        prompt_.message(result.message);
        return false;
    }
    prompt_.message(savedMessage);
    return true;
}

ProjectDocument::SaveOutcome ProjectDocument::saveForQuestion() {
    if (!path_.empty())
        return writeTo(path_) ? SaveOutcome::Saved : SaveOutcome::Failed;
    const auto chosen = prompt_.chooseSaveFile(configFileRequest());
    if (!chosen)
        return SaveOutcome::Cancelled;
    return writeTo(*chosen) ? SaveOutcome::Saved : SaveOutcome::Failed;
}

// Yes at the question means the engineer wants the changes kept: a save that fails or whose
// dialog is cancelled keeps the project as it was, since dropping it then would lose the
// engineer's work without their consent.
bool ProjectDocument::newProject() {
    state_.mode = WorkMode::Config;
    if (state_.newDocumentCount != 0) {
        if (state_.projectDirty) {
            const Answer answer = prompt_.ask(QuestionId::SaveChanges, saveQuestion, Buttons::YesNoCancel);
            if (answer == Answer::Cancel)
                return false;
            if (answer == Answer::Yes && saveForQuestion() != SaveOutcome::Saved)
                return false;
        }
        path_.clear();
        state_.projectDirty = false;
        product_.rebuild(state_.model);
    }
    ++state_.newDocumentCount;
    enable_flags::projectTreeReset(state_);
    enable_flags::newProjectCreated(state_);
    state_.serialDebugAllowed = true;
    return true;
}

bool ProjectDocument::loadModelTemplate() {
    return loadModelTemplate(programFile(templateFileName(state_.model)));
}

bool ProjectDocument::loadModelTemplate(const std::string& templatePath) {
    if (!korvan::loadModelTemplate(product_, state_, prompt_, templatePath))
        return false;
    state_.projectDirty = false;
    enable_flags::projectTreeReset(state_);
    return true;
}

bool ProjectDocument::openProject(const std::string& path) {
    if (!os::fileExists(path)) {
        prompt_.message("File not exisit");
        return false;
    }
    const LoadResult result = loadProject(product_, state_, prompt_, path);
    if (!result.ok()) {
        prompt_.message(result.message);
        return false;
    }
    state_.projectDirty = false;
    path_ = path;
    caption_ = path;
    enable_flags::projectTreeReset(state_);
    return true;
}

bool ProjectDocument::saveProject(const std::string& path) {
    const SaveResult result = saveToFile(product_, path);
    if (!result.ok) {
        prompt_.message(result.message);
        return false;
    }
    state_.projectDirty = false;
    path_ = path;
    caption_ = path;
    prompt_.message(savedMessage);
    return true;
}

bool ProjectDocument::save() {
    if (!path_.empty())
        return saveProject(path_);
    const auto chosen = prompt_.chooseSaveFile({"XML File(*.xml)", "xml", ""});
    return chosen && saveProject(*chosen);
}

bool ProjectDocument::mayCloseProject() {
    if (!state_.projectDirty)
        return true;
    switch (prompt_.ask(QuestionId::SaveChanges, saveQuestion, Buttons::YesNoCancel)) {
    case Answer::Cancel:
        return false;
    case Answer::Yes:
        // A failed save, or a save dialog cancelled after Yes, keeps the program running and
        // the project dirty, so nothing is lost.
        if (saveForQuestion() != SaveOutcome::Saved)
            return false;
        state_.projectDirty = false;
        return true;
    default:
        return true;
    }
}

} // namespace korvan
