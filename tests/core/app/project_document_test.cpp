#include "app/AppState.h"
#include "app/ProjectDocument.h"
#include "app/StartSequence.h"
#include "model/CHartbus.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"
#include "os/FileSystem.h"
#include "projectfile/ProjectFile.h"
#include "support/ProductDescription.h"
#include "support/SampleProjects.h"
#include "support/ScriptedPrompt.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace korvan {
namespace {

using Strings = std::vector<std::string>;
const std::string question = "Configuration has changed,Save it or not?";
const std::string saved = "Successfully Saved!";

class ProjectDocumentTest : public ::testing::Test {
protected:
    explicit ProjectDocumentTest(GatewayModel model = GatewayModel::Vela3hTcp)
        : document(product, state, prompt) {
        startProduct(state, product, model);
        EXPECT_TRUE(document.newProject()); // the program's first project keeps the product
    }

    // A project with a node, changed since it was last saved.
    void makeDirtyProject() {
        test::fillSampleProject(product);
        state.projectDirty = 1;
    }

    [[nodiscard]] bool isEmptyProject() const { return product.channel(0)->currentNodes().empty(); }

    test::TempDir folder;
    AppState state;
    CProductTarn product;
    test::ScriptedPrompt prompt;
    ProjectDocument document;
};

TEST_F(ProjectDocumentTest, NewAsksOnlyWhenDirtyAndFollowsTheAnswer) {
    const struct {
        const char* what;
        int dirty;
        std::vector<Answer> answers;
        std::vector<std::optional<std::string>> files;
        bool created;
        Strings shown;
        bool fileWritten;
    } cases[] = {
        {"clean", 0, {}, {}, true, {}, false},
        {"No", 1, {Answer::No}, {}, true, {question}, false},
        {"Cancel", 1, {Answer::Cancel}, {}, false, {question}, false},
        // Yes asked for the changes to be kept: a cancelled save dialog keeps the project.
        {"Yes, then the save dialog is cancelled",
         1,
         {Answer::Yes},
         {std::nullopt},
         false,
         {question},
         false},
        {"Yes, saved under a chosen name", 1, {Answer::Yes}, {"chosen.xml"}, true, {question, saved}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::ScriptedPrompt run;
        ProjectDocument doc(product, state, run);
        test::fillSampleProject(product);
        state.projectDirty = c.dirty;
        for (Answer answer : c.answers)
            run.answerNext(answer);
        const std::string chosen = folder.file(c.what);
        for (const auto& file : c.files)
            run.chooseNext(file ? std::optional(chosen) : std::nullopt);
        EXPECT_EQ(doc.newProject(), c.created);
        EXPECT_EQ(run.shown, c.shown);
        EXPECT_EQ(run.asked, c.dirty ? std::vector{QuestionId::SaveChanges} : std::vector<QuestionId>{});
        EXPECT_EQ(isEmptyProject(), c.created);
        EXPECT_EQ(os::fileExists(chosen), c.fileWritten);
        EXPECT_TRUE(doc.currentPath().empty()); // a name chosen at the question is not kept
        EXPECT_EQ(state.projectDirty, c.created ? 0 : 1);
        product.rebuild(state.model);
    }
}

TEST_F(ProjectDocumentTest, SaveThenOpenRoundTripsAndSetsPathAndCaption) {
    makeDirtyProject();
    const std::string before = test::describeProduct(product);
    const std::string path = folder.file("p.xml");
    EXPECT_EQ(document.caption(), ProjectDocument::StartCaption);
    ASSERT_TRUE(document.saveProject(path));
    EXPECT_EQ(prompt.shown, Strings{saved});
    EXPECT_EQ(state.projectDirty, 0);
    EXPECT_EQ(document.caption(), path);

    ASSERT_TRUE(document.newProject());
    EXPECT_TRUE(isEmptyProject());
    EXPECT_EQ(document.caption(), path); // New does not restore the start caption
    state.projectDirty = 1;
    state.canShowMemory = 1;
    state.canDownload = 0;
    ASSERT_TRUE(document.openProject(path)); // no question on open
    EXPECT_EQ(state.canShowMemory, 0);
    EXPECT_EQ(state.canDownload, 1);
    EXPECT_EQ(test::describeProduct(product), before);
    EXPECT_EQ(state.projectDirty, 0);
    EXPECT_EQ(document.currentPath(), path);
}

TEST_F(ProjectDocumentTest, FailedOpenShowsWhyAndKeepsTheOpenProject) {
    makeDirtyProject();
    const std::string kept = test::describeProduct(product);
    const std::string garbage = folder.file("garbage.xml");
    test::writeFile(garbage, "<TREVLINK><unclosed>");
    const std::string missing = folder.file("missing.xml");
    ASSERT_FALSE(document.openProject(missing));
    ASSERT_FALSE(document.openProject(garbage));
    ASSERT_EQ(prompt.shown.size(), 2u);
    EXPECT_EQ(prompt.shown[0], "File not exisit");
    EXPECT_NE(prompt.shown[1].find("garbage.xml"), std::string::npos);
    EXPECT_EQ(test::describeProduct(product), kept);
    EXPECT_EQ(state.projectDirty, 1);
    EXPECT_TRUE(document.currentPath().empty());
}

TEST_F(ProjectDocumentTest, OpeningAProjectOfAnotherProtocolFails) {
    CProductTarn rtu;
    AppState rtuState;
    startProduct(rtuState, rtu, GatewayModel::Vela3hRtu);
    const std::string path = folder.file("rtu.xml");
    ASSERT_TRUE(saveToFile(rtu, path).ok);
    EXPECT_FALSE(document.openProject(path));
    EXPECT_EQ(prompt.shown, Strings{"The profile protocol is inconsistent with the software protocol!"});
}

TEST_F(ProjectDocumentTest, FailedSaveShowsWhyAndLeavesTheProjectDirty) {
    makeDirtyProject();
    const std::string unwritable = folder.file("no-such-folder/p.xml");
    EXPECT_FALSE(document.saveProject(unwritable));
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_NE(prompt.shown[0], saved);
    EXPECT_EQ(state.projectDirty, 1);
    EXPECT_TRUE(document.currentPath().empty());

    // At the close question a failed save keeps the program running with the project.
    prompt.answerNext(Answer::Yes);
    prompt.chooseNext(unwritable);
    EXPECT_FALSE(document.mayCloseProject());
    EXPECT_EQ(state.projectDirty, 1);
}

TEST_F(ProjectDocumentTest, MayCloseFollowsTheAnswer) {
    EXPECT_TRUE(document.mayCloseProject());
    EXPECT_TRUE(prompt.shown.empty());
    const struct {
        Answer answer;
        std::optional<std::string> file;
        bool closes;
    } cases[] = {
        {Answer::Cancel, std::nullopt, false},
        {Answer::No, std::nullopt, true},
        {Answer::Yes, std::nullopt, false}, // the save dialog cancelled: the program keeps running
        {Answer::Yes, "closing.xml", true},
    };
    for (const auto& c : cases) {
        test::ScriptedPrompt run;
        ProjectDocument doc(product, state, run);
        state.projectDirty = 1;
        run.answerNext(c.answer);
        run.chooseNext(c.file ? std::optional(folder.file(*c.file)) : std::nullopt);
        EXPECT_EQ(doc.mayCloseProject(), c.closes);
        if (c.file) {
            EXPECT_TRUE(os::fileExists(folder.file(*c.file)));
        }
    }
}

TEST_F(ProjectDocumentTest, ClosingAfterYesWithTheSaveDialogCancelledKeepsTheProject) {
    makeDirtyProject();
    const std::string kept = test::describeProduct(product);
    prompt.answerNext(Answer::Yes);
    prompt.chooseNext(std::nullopt);
    EXPECT_FALSE(document.mayCloseProject());
    EXPECT_EQ(prompt.shown, Strings{question}); // no "Successfully Saved!"
    EXPECT_EQ(prompt.fileRequests.size(), 1u);
    EXPECT_EQ(state.projectDirty, 1); // the next close asks again
    EXPECT_EQ(test::describeProduct(product), kept);

    // With a path the project is saved there without a dialog, and the program may close.
    const std::string path = folder.file("kept.xml");
    ASSERT_TRUE(document.saveProject(path));
    state.projectDirty = 1;
    prompt.answerNext(Answer::Yes);
    EXPECT_TRUE(document.mayCloseProject());
    EXPECT_EQ(prompt.fileRequests.size(), 1u);
    EXPECT_EQ(state.projectDirty, 0);
}

TEST_F(ProjectDocumentTest, TemplateFillsTheFirstProjectQuietlyOrLeavesTheDefaults) {
    makeDirtyProject();
    const std::string templatePath = folder.file("Vela-3H-TCP.ini");
    ASSERT_TRUE(saveToFile(product, templatePath).ok);
    const std::string filled = test::describeProduct(product);
    product.rebuild(state.model);
    ASSERT_TRUE(document.loadModelTemplate(templatePath));
    EXPECT_EQ(test::describeProduct(product), filled);
    EXPECT_EQ(state.projectDirty, 0);
    EXPECT_TRUE(document.currentPath().empty());

    product.rebuild(state.model);
    EXPECT_FALSE(document.loadModelTemplate(folder.file("absent.ini")));
    EXPECT_TRUE(isEmptyProject());
    EXPECT_TRUE(prompt.shown.empty());
}

} // namespace
} // namespace korvan
