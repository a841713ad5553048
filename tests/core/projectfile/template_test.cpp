#include "ProjectFileFixture.h"

#include "app/StartSequence.h"
#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaNode.h"
#include "os/FileSystem.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace korvan {
namespace {

const GatewayModel models[] = {GatewayModel::Vela1hTcp, GatewayModel::Vela3hTcp, GatewayModel::Vela3hRtu};

std::string templatePath(GatewayModel model) { return os::joinPath(KORVAN_BIN_DIR, templateFileName(model)); }

TEST(ModelTemplate, EachFillsANewProjectOfItsModelWithOneDevicePollingCommand3) {
    for (GatewayModel model : models) {
        test::Session session(model);
        session.state.projectDirty = 1;
        ASSERT_TRUE(loadModelTemplate(session.product, session.state, session.prompt, templatePath(model)))
            << templateFileName(model);
        EXPECT_EQ(session.state.projectDirty, 0);
        EXPECT_FALSE(session.state.templatePending);
        const CHartbus& channel = *session.product.channel(0);
        ASSERT_EQ(channel.pointToPointNodes().size(), 1u);
        EXPECT_EQ(channel.pointToPointNodeAt(0)->commandAt(0)->commandName(), "Command ID3");
        EXPECT_EQ(session.product.channelCount(), static_cast<unsigned>(channelTotal(model)));
    }
}

TEST(ModelTemplate, AMissingOrForeignTemplateQuietlyKeepsTheDefaults) {
    test::Session session(GatewayModel::Vela1hTcp);
    EXPECT_FALSE(loadModelTemplate(session.product, session.state, session.prompt,
                                   templatePath(GatewayModel::Vela3hRtu)));
    EXPECT_FALSE(loadModelTemplate(session.product, session.state, session.prompt, "/nonexistent/t.ini"));
    EXPECT_TRUE(session.prompt.shown.empty());
    EXPECT_TRUE(session.product.channel(0)->pointToPointNodes().empty());
    EXPECT_EQ(session.product.channel(0)->items().size(), 8u);
}

TEST(ProgramFiles, AreJoinedWithExactlyOneSeparator) {
    EXPECT_EQ(os::joinPath("/opt/korvan", "a.ini"), "/opt/korvan/a.ini");
    EXPECT_EQ(os::joinPath("/", "a.ini"), "/a.ini");
    EXPECT_FALSE(os::programDirectory().empty());
    EXPECT_NE(os::programDirectory().back(), '/');
}

TEST(Wizard, ShowsOnlyForExactlyFalseAndRemembersADismissal) {
    test::TempDir dir;
    const std::string config = dir.file("config.ini");
    EXPECT_TRUE(wizardShouldShow(config)) << "no file reads as false";
    const std::pair<const char*, bool> cases[] = {
        {"[ITEMSTR]\r\nWizerd=false\r\n", true},  {"[ITEMSTR]\r\nWizerd=true\r\n", false},
        {"[ITEMSTR]\r\nWizerd=FALSE\r\n", false}, {"[ITEMSTR]\r\nWizerd=false \r\n", false},
        {"[OTHER]\r\nWizerd=true\r\n", true},     {"[itemstr]\nwizerd=true\n", false},
    };
    for (const auto& [contents, shows] : cases) {
        test::writeFile(config, contents);
        EXPECT_EQ(wizardShouldShow(config), shows) << contents;
    }
    test::writeFile(config, "[OTHER]\r\nKey=1\r\n");
    ASSERT_TRUE(rememberWizardDismissed(config));
    EXPECT_FALSE(wizardShouldShow(config));
    EXPECT_EQ(test::readFile(config), "[OTHER]\r\nKey=1\r\n[ITEMSTR]\r\nWizerd=true\r\n");
    ASSERT_TRUE(rememberWizardDismissed(dir.file("new.ini")));
    EXPECT_FALSE(wizardShouldShow(dir.file("new.ini")));
}

// An installed program's folder is the system's: the flag then lives in the user's own folder.
TEST(Wizard, FlagLivesBesideTheProgramUnlessItCannotBeWrittenThere) {
    test::TempDir program;
    test::TempDir user;
    const std::string beside = program.file("config.ini");
    const std::string own = user.file("config.ini");
    EXPECT_EQ(wizardFlagFile(program.path(), user.path()), beside) << "a writable program folder";
    EXPECT_EQ(wizardFlagFile(program.path(), ""), beside) << "no user folder known";

    test::writeFile(beside, "[ITEMSTR]\nWizerd=false\n");
    ASSERT_EQ(::chmod(beside.c_str(), 0444), 0); // refused even for root, as the system's files are
    EXPECT_EQ(wizardFlagFile(program.path(), user.path()), own);
    ASSERT_TRUE(rememberWizardDismissed(own));
    EXPECT_FALSE(wizardShouldShow(wizardFlagFile(program.path(), user.path())));

    ASSERT_EQ(::chmod(beside.c_str(), 0644), 0);
    EXPECT_EQ(wizardFlagFile(program.path(), user.path()), own) << "the user's file, once written, is read";
}

} // namespace
} // namespace korvan
