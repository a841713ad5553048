#include "ProgramRun.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace korvan {
namespace {

using test::runKorvanctl;

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// One project file of each model, written by korvanctl itself.
class KorvanctlModel : public ::testing::Test {
protected:
    KorvanctlModel() {
        for (const char* model : {"vela-1h-tcp", "vela-3h-tcp", "vela-3h-rtu"})
            EXPECT_EQ(runKorvanctl({"--model", model, "new", "-o", dir.file(std::string(model) + ".xml")})
                          .exitStatus,
                      0);
    }

    [[nodiscard]] std::string project(const std::string& model) const { return dir.file(model + ".xml"); }

    test::TempDir dir;
};

// The commands that read a project need no --model: the file's protocol and channels say it.
TEST_F(KorvanctlModel, CommandsThatReadAProjectTakeTheModelFromIt) {
    for (const char* model : {"vela-1h-tcp", "vela-3h-tcp", "vela-3h-rtu"}) {
        SCOPED_TRACE(model);
        const auto given = runKorvanctl({"--model", model, "show", project(model)});
        const auto inferred = runKorvanctl({"show", project(model)});
        EXPECT_EQ(inferred.exitStatus, 0) << inferred.err;
        EXPECT_EQ(inferred.out, given.out);
        EXPECT_EQ(inferred.err, "");
        EXPECT_EQ(runKorvanctl({"check", project(model)}).exitStatus, 0);
        EXPECT_EQ(
            runKorvanctl({"export", project(model), "-o", dir.file(std::string(model) + ".xlsx")}).exitStatus,
            0);
    }
    // A three-channel project keeps its three channels through an automap without --model.
    const std::string before = test::readFile(project("vela-3h-tcp"));
    const auto mapped = runKorvanctl({"automap", project("vela-3h-tcp")});
    ASSERT_EQ(mapped.exitStatus, 0) << mapped.err;
    const std::string after = test::readFile(project("vela-3h-tcp"));
    for (const char* channel : {"Value=\"Channel1\"", "Value=\"Channel2\"", "Value=\"Channel3\""})
        EXPECT_TRUE(contains(after, channel)) << channel;
    const auto listed = runKorvanctl({"show", project("vela-3h-tcp")});
    EXPECT_TRUE(contains(listed.out, "\nChannel3\n  Master Type = Primary Master\n")) << listed.out;
}

// A model without some of the file's channels would write back channel 1 alone.
TEST_F(KorvanctlModel, AModelWithoutTheFilesChannelsIsRefusedAndTheFileKept) {
    const std::string path = project("vela-3h-tcp");
    const std::string before = test::readFile(path);
    const struct {
        std::vector<std::string> arguments;
    } cases[] = {
        {{"--model", "vela-1h-tcp", "automap", path}},
        {{"--model", "vela-1h-tcp", "show", path}},
        {{"--model", "vela-1h-tcp", "check", path}},
        {{"--model", "vela-1h-tcp", "export", path, "-o", dir.file("one.xlsx")}},
        {{"--model", "vela-1h-tcp", "--gateway", "127.0.0.1:1", "download", path}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments[2]);
        const auto run = runKorvanctl(c.arguments);
        EXPECT_EQ(run.exitStatus, 65);
        EXPECT_EQ(run.err,
                  "korvanctl: '" + path +
                      "' holds Channel2 and Channel3, which a Vela-1H-TCP does not have (they would be "
                      "lost): leave --model out, or give --model vela-3h-tcp\n");
        EXPECT_TRUE(run.out.empty());
    }
    EXPECT_EQ(test::readFile(path), before);
    EXPECT_FALSE(contains(test::readFile(dir.file("one.xlsx")), "PK"));
}

TEST_F(KorvanctlModel, AProjectOfTheOtherProtocolNamesItsModel) {
    const auto run = runKorvanctl({"--model", "vela-3h-tcp", "check", project("vela-3h-rtu")});
    EXPECT_EQ(run.exitStatus, 65);
    EXPECT_EQ(run.err,
              "The profile protocol is inconsistent with the software protocol!\n"
              "korvanctl: '" +
                  project("vela-3h-rtu") +
                  "' is a Vela-3H-RTU project, not a Vela-3H-TCP one: leave --model out, or give --model "
                  "vela-3h-rtu\n");
    // The link options must fit the file's model as they must fit --model.
    const auto linked = runKorvanctl({"--gateway", "127.0.0.1:1", "download", project("vela-3h-rtu")});
    EXPECT_EQ(linked.exitStatus, 64);
    EXPECT_TRUE(
        contains(linked.err, "korvanctl: '" + project("vela-3h-rtu") +
                                 "' is a Vela-3H-RTU project: Vela-3H-RTU is reached over a serial line, "
                                 "not --gateway\n"))
        << linked.err;
}

// A model with more channels than the file reads the missing ones empty: that is said.
TEST_F(KorvanctlModel, ChannelsMissingFromTheFileAreWarnedAbout) {
    const auto run = runKorvanctl({"--model", "vela-3h-tcp", "show", project("vela-1h-tcp")});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.err,
              "korvanctl: warning: '" + project("vela-1h-tcp") +
                  "' holds no Channel2 or Channel3: in this Vela-3H-TCP project they have no parameters\n");
}

TEST_F(KorvanctlModel, FilesThatHoldNoProjectOrDoNotTellTheModelAreRefused) {
    test::writeFile(dir.file("drawing.xml"), "<?xml version=\"1.0\"?>\n<svg width=\"10\"><g/></svg>\n");
    const auto other = runKorvanctl({"show", dir.file("drawing.xml")});
    EXPECT_EQ(other.exitStatus, 65);
    EXPECT_EQ(other.err, "Cannot open \"" + dir.file("drawing.xml") +
                             "\": it holds no Korvan project (its root element is <svg>, a project's is "
                             "<TREVLINK>).\n");
    EXPECT_TRUE(other.out.empty()) << "not listed as an empty project";
    EXPECT_EQ(runKorvanctl({"--model", "vela-3h-tcp", "show", dir.file("drawing.xml")}).exitStatus, 65);

    // A project whose network side is incomplete does not say which model it is for.
    test::writeFile(dir.file("bare.xml"),
                    "<TREVLINK Value=\"TREVLINK\"><Hartbus Value=\"Channel1\"/></TREVLINK>");
    const auto bare = runKorvanctl({"show", dir.file("bare.xml")});
    EXPECT_EQ(bare.exitStatus, 64);
    EXPECT_TRUE(
        contains(bare.err, "korvanctl: '" + dir.file("bare.xml") +
                               "' does not say which gateway model it is for (its network side has no "
                               "protocol mode): give --model\n"))
        << bare.err;
    EXPECT_EQ(runKorvanctl({"--model", "vela-1h-tcp", "show", dir.file("bare.xml")}).exitStatus, 0);

    const auto missing = runKorvanctl({"show", dir.file("missing.xml")});
    EXPECT_EQ(missing.exitStatus, 65);
    EXPECT_EQ(missing.err,
              "File not exisit\nkorvanctl: cannot find the project file '" + dir.file("missing.xml") + "'\n");
}

TEST_F(KorvanctlModel, NewKeepsAnExistingFileUnlessForced) {
    const std::string path = project("vela-1h-tcp");
    test::writeFile(path, "my notes");
    const auto refused = runKorvanctl({"--model", "vela-3h-tcp", "new", "-o", path});
    EXPECT_EQ(refused.exitStatus, 1);
    EXPECT_EQ(refused.err, "korvanctl: '" + path + "' exists; give --force to replace it\n");
    EXPECT_EQ(test::readFile(path), "my notes");
    const auto forced = runKorvanctl({"--model", "vela-3h-tcp", "new", "-o", path, "--force"});
    EXPECT_EQ(forced.exitStatus, 0) << forced.err;
    EXPECT_TRUE(contains(test::readFile(path), "Value=\"Channel3\""));
}

TEST_F(KorvanctlModel, ExportWarnsOfANameWithoutXlsx) {
    const struct {
        const char* name;
        bool warned;
    } cases[] = {{"p.xlsx", false}, {"p.xls", true}, {"p", true}, {"p.xlsx.bak", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto run = runKorvanctl({"export", project("vela-3h-tcp"), "-o", dir.file(c.name)});
        EXPECT_EQ(run.exitStatus, 0);
        EXPECT_EQ(run.err,
                  c.warned ? "korvanctl: warning: '" + dir.file(c.name) +
                                 "' does not end in .xlsx; it is written as an .xlsx workbook all the same\n"
                           : std::string());
        EXPECT_EQ(test::readFile(dir.file(c.name)).substr(0, 2), "PK");
    }
}

// The global options may follow the command as well.
TEST_F(KorvanctlModel, GlobalOptionsMayComeAfterTheCommand) {
    const auto before = runKorvanctl({"--model", "vela-3h-tcp", "show", project("vela-3h-tcp")});
    const auto after = runKorvanctl({"show", project("vela-3h-tcp"), "--model", "vela-3h-tcp"});
    EXPECT_EQ(after.exitStatus, 0) << after.err;
    EXPECT_EQ(after.out, before.out);
    const auto created = runKorvanctl({"new", "-o", dir.file("late.xml"), "--model", "vela-1h-tcp"});
    EXPECT_EQ(created.exitStatus, 0) << created.err;
    EXPECT_EQ(runKorvanctl({"show", dir.file("late.xml")}).out,
              runKorvanctl({"show", project("vela-1h-tcp")}).out);
}

} // namespace
} // namespace korvan
