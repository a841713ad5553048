// korvanctl finds its templates and code-table libraries in its own folder, the one
// /proc/self/exe names, which is the real folder also when it is started through a link. A
// copy away from them still works, with the defaults, and names the folder it looked in.
#include "ProgramRun.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <regex>
#include <string>
#include <vector>

namespace korvan {
namespace {

namespace fs = std::filesystem;
using test::runKorvanctl;
using test::runProgram;

const std::string buildBin = KORVAN_BIN_DIR;

// A folder holding a copy of korvanctl and of the named files from the build's bin folder.
class ProgramFolder {
public:
    explicit ProgramFolder(const std::vector<std::string>& files) {
        fs::copy_file(buildBin + "/korvanctl", program());
        for (const std::string& file : files)
            fs::copy_file(buildBin + "/" + file, dir_.file(file));
    }
    [[nodiscard]] std::string program() const { return dir_.file("korvanctl"); }
    [[nodiscard]] std::string folder() const { return dir_.path(); }
    [[nodiscard]] std::string file(const std::string& name) const { return dir_.file(name); }

private:
    test::TempDir dir_;
};

// A project file without the time its saving stamps into it.
std::string withoutSaveTime(const std::string& project) {
    return std::regex_replace(project, std::regex("<DateTime Value=\"[^\"]*\"/>"), "<DateTime/>");
}

std::string projectAt(const std::string& path) {
    return withoutSaveTime(test::readFile(path));
}

// The project the build's own korvanctl writes from the model's template.
std::string projectFromTemplate(const std::string& model, const test::TempDir& scratch) {
    const std::string path = scratch.file("reference-" + model + ".xml");
    const auto made = runKorvanctl({"--model", model, "new", "-o", path});
    EXPECT_EQ(made.exitStatus, 0) << made.err;
    EXPECT_EQ(made.err, "");
    return projectAt(path);
}

TEST(KorvanctlProgramFolder, ANewProjectWithoutTheTemplateHasTheDefaultsAndSaysWhereItLooked) {
    const ProgramFolder alone({});
    const test::TempDir scratch;
    const struct {
        std::string model;
        std::string templateName;
    } cases[] = {
        {"vela-1h-tcp", "Vela-1H-TCP.ini"},
        {"vela-3h-tcp", "Vela-3H-TCP.ini"},
        {"vela-3h-rtu", "Vela-3H-RTU.ini"},
    };
    for (const auto& c : cases) {
        const std::string path = scratch.file(c.model + ".xml");
        const auto made = runProgram(alone.program(), {"--model", c.model, "new", "-o", path});
        EXPECT_EQ(made.exitStatus, 0) << c.model;
        EXPECT_EQ(made.out, "");
        EXPECT_EQ(made.err, "korvanctl: no template " + c.templateName + " in " + alone.folder() +
                                ": the project has the defaults\n");
        // The project is still written, and is one the program opens.
        ASSERT_TRUE(fs::exists(path)) << c.model;
        EXPECT_NE(projectAt(path), projectFromTemplate(c.model, scratch)) << c.model;
        const auto shown = runKorvanctl({"--model", c.model, "show", path});
        EXPECT_EQ(shown.exitStatus, 0) << shown.err;
    }
}

TEST(KorvanctlProgramFolder, ATemplateThatCannotBeUsedIsNamedWithItsFolder) {
    const ProgramFolder folder({});
    test::writeFile(folder.file("Vela-3H-TCP.ini"), "<TREVLINK>");
    // The other protocol's template under this model's name.
    fs::copy_file(buildBin + "/Vela-3H-RTU.ini", folder.file("Vela-1H-TCP.ini"));
    for (const std::string model : {"vela-3h-tcp", "vela-1h-tcp"}) {
        const std::string name = model == "vela-3h-tcp" ? "Vela-3H-TCP.ini" : "Vela-1H-TCP.ini";
        const std::string path = folder.file("new-" + model + ".xml");
        const auto made = runProgram(folder.program(), {"--model", model, "new", "-o", path});
        EXPECT_EQ(made.exitStatus, 0) << model;
        EXPECT_EQ(made.err, "korvanctl: the template " + name + " in " + folder.folder() +
                                " cannot be used: the project has the defaults\n");
        EXPECT_TRUE(fs::exists(path)) << model;
    }
}

TEST(KorvanctlProgramFolder, MissingCodeTableLibrariesAreNamedWithTheFolderLookedIn) {
    const struct {
        std::vector<std::string> files;
        std::string missing;
    } cases[] = {
        {{}, "libMakerlex.so"},
        {{"libMakerlex.so"}, "libMeaslex.so"},
    };
    for (const auto& c : cases) {
        const ProgramFolder folder(c.files);
        for (const char* command : {"unit", "maker"}) {
            const auto looked = runProgram(folder.program(), {command, "32"});
            EXPECT_EQ(looked.exitStatus, 1) << command;
            EXPECT_EQ(looked.out, "");
            // The program's own message, unchanged, then where korvanctl looked.
            EXPECT_EQ(looked.err, "Failed loading " + c.missing +
                                      "!\nkorvanctl: looked for libMakerlex.so and libMeaslex.so in " +
                                      folder.folder() + "\n")
                << command;
        }
    }
}

TEST(KorvanctlProgramFolder, ACopyWithItsFilesBesideItWorksAsTheBuildsOwn) {
    const ProgramFolder complete({"libMakerlex.so", "libMeaslex.so", "Vela-3H-RTU.ini"});
    const test::TempDir scratch;
    const std::string path = scratch.file("copy.xml");
    const auto made = runProgram(complete.program(), {"--model", "vela-3h-rtu", "new", "-o", path});
    EXPECT_EQ(made.exitStatus, 0);
    EXPECT_EQ(made.err, "");
    EXPECT_EQ(projectAt(path), projectFromTemplate("vela-3h-rtu", scratch));
    const auto unit = runProgram(complete.program(), {"unit", "32"});
    EXPECT_EQ(unit.exitStatus, 0) << unit.err;
    EXPECT_EQ(unit.out, "Degrees Celsius\n");
}

// Started through a link from another folder, as from bin/ of an installation, korvanctl
// still finds everything in the folder of the real program.
TEST(KorvanctlProgramFolder, ALinkToTheProgramFindsTheFilesBesideTheRealProgram) {
    const test::TempDir links;
    const std::string link = links.file("korvanctl");
    fs::create_symlink(fs::relative(buildBin + "/korvanctl", links.path()), link);
    const test::TempDir scratch;
    const std::string path = scratch.file("linked.xml");
    const auto made = runProgram(link, {"--model", "vela-1h-tcp", "new", "-o", path});
    EXPECT_EQ(made.exitStatus, 0);
    EXPECT_EQ(made.err, "");
    EXPECT_EQ(projectAt(path), projectFromTemplate("vela-1h-tcp", scratch));
    const auto maker = runProgram(link, {"maker", "26"});
    EXPECT_EQ(maker.exitStatus, 0) << maker.err;
    EXPECT_EQ(maker.out, "ABB Automation\n");
}

} // namespace
} // namespace korvan
