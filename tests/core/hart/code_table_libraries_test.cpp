#include "hart/CodeTableLibraries.h"
#include "os/DynamicLibrary.h"
#include "support/ScriptedPrompt.h"
#include "support/TempDir.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace korvan {
namespace {

using Messages = std::vector<std::string>;
namespace fs = std::filesystem;

const std::string binDir = KORVAN_BIN_DIR;
const std::string noExportLibrary = KORVAN_NO_EXPORT_LIBRARY;

TEST(CodeTableLibraries, BindsTheBuiltLibrariesAndLooksCodesUp) {
    test::ScriptedPrompt prompt;
    CodeTableLibraries libraries(prompt);
    ASSERT_EQ(libraries.bind(binDir), BindOutcome::Bound);
    struct Case {
        int code;
        const char* unit;
        const char* maker;
    };
    for (const Case& c :
         {Case{32, "Degrees Celsius", "Moore Industries"}, Case{33, "Degrees Fahrenheit ", "Moore Products"},
          // The first record wins: the longer text of the second run is not shown.
          Case{46, "barrels", "Rosemount Analytic"}, Case{1, "inches of water at 68 degrees F", "Acromag"},
          Case{170, "centimeters of water at 4 degrees C", "(null)"},
          Case{179, "meters of mercury at 0 degrees C", "(null)"},
          Case{240, "Enumeration may be used for manufacturer specific definitions", "(null)"},
          Case{250, "Not Used", "not_used"}, Case{251, "None", "none"}, Case{252, "Unknown", "unknown"},
          Case{253, "Special", "special"}, Case{0, "(null)", "(null)"}, Case{156, "(null)", "Turck"},
          Case{167, "normal liter", "(null)"}, Case{200, "(null)", "(null)"}, Case{249, "(null)", "(null)"},
          Case{255, "(null)", "(null)"}, Case{-1, "(null)", "(null)"}, Case{256 + 32, "(null)", "(null)"}}) {
        EXPECT_EQ(libraries.unitText(c.code), c.unit) << c.code;
        EXPECT_EQ(libraries.manufacturerText(c.code), c.maker) << c.code;
    }
    EXPECT_EQ(libraries.manufacturerText(166), "Fluid Components Intl");
    EXPECT_TRUE(prompt.shown.empty());
}

// Copies the real libraries into a folder, replacing one with a library lacking the export
// or leaving one out.
struct LibraryFolder {
    test::TempDir dir;
    LibraryFolder(std::string_view replaced, bool present) {
        for (std::string_view file : {CodeTableLibraries::MakerlexFile, CodeTableLibraries::MeaslexFile}) {
            const std::string target = dir.file(file);
            if (file != replaced)
                fs::copy_file(binDir + "/" + std::string(file), target);
            else if (present)
                fs::copy_file(noExportLibrary, target);
        }
    }
};

TEST(CodeTableLibraries, ReportsEachFailureOfTheBinding) {
    struct Case {
        std::string_view replaced;
        bool present;
        BindOutcome outcome;
        Messages bindMessages;
        bool makerRows;
        Messages unitMessages;
    };
    const Messages noUnitFunction{"Failed calling function in libMeaslex.so!"};
    const std::vector<Case> cases{
        {CodeTableLibraries::MakerlexFile,
         false,
         BindOutcome::LoadFailed,
         {"Failed loading libMakerlex.so!"},
         false,
         noUnitFunction},
        {CodeTableLibraries::MakerlexFile, true, BindOutcome::MissingExport, {}, false, noUnitFunction},
        {CodeTableLibraries::MeaslexFile,
         false,
         BindOutcome::LoadFailed,
         {"Failed loading libMeaslex.so!"},
         true,
         noUnitFunction},
        {CodeTableLibraries::MeaslexFile, true, BindOutcome::MissingExport, {}, true, noUnitFunction},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.replaced) + (c.present ? " without its export" : " missing"));
        LibraryFolder folder(c.replaced, c.present);
        test::ScriptedPrompt prompt;
        CodeTableLibraries libraries(prompt);
        EXPECT_EQ(libraries.bind(folder.dir.path()), c.outcome);
        EXPECT_EQ(prompt.shown, c.bindMessages);
        EXPECT_EQ(libraries.manufacturerText(250), c.makerRows ? "not_used" : "");
        prompt.shown.clear();
        EXPECT_EQ(libraries.unitText(32), "");
        EXPECT_EQ(prompt.shown, c.unitMessages);
    }
}

// The texts are the libraries' own constants: a pointer stays readable after later calls.
TEST(CodeTableLibraries, ReturnedTextsStayValid) {
    const auto measlex = os::DynamicLibrary::load(binDir + "/libMeaslex.so");
    const auto makerlex = os::DynamicLibrary::load(binDir + "/libMakerlex.so");
    ASSERT_TRUE(measlex && makerlex);
    const auto unit = reinterpret_cast<const char* (*)(int)>(measlex->function("GetEngineerUnitCodeStr"));
    const auto maker =
        reinterpret_cast<const char* (*)(int)>(makerlex->function("GetHartCommanyNameByIndex"));
    ASSERT_TRUE(unit && maker);
    const char* celsius = unit(32);
    const char* notUsed = maker(250);
    for (int code = 0; code < 256; ++code) {
        static_cast<void>(unit(code));
        static_cast<void>(maker(code));
    }
    EXPECT_STREQ(celsius, "Degrees Celsius");
    EXPECT_STREQ(notUsed, "not_used");
    EXPECT_EQ(maker(0), nullptr);
    EXPECT_EQ(unit(1000), unit(0)) << "one constant not-found text";
    EXPECT_EQ(measlex->function("GetHartCommanyNameByIndex"), nullptr);
}

std::string commandOutput(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return output;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        output += buffer;
    pclose(pipe);
    return output;
}

// The dynamic symbol table of each library holds one function from the project's code: its
// lookup, under its exact undecorated name.
TEST(CodeTableLibraries, EachLibraryExportsOnlyItsLookup) {
    struct Case {
        std::string_view file;
        const char* function;
    };
    for (const Case& c : {Case{CodeTableLibraries::MeaslexFile, "GetEngineerUnitCodeStr"},
                          Case{CodeTableLibraries::MakerlexFile, "GetHartCommanyNameByIndex"}}) {
        const std::string listing =
            commandOutput("nm -D --defined-only '" + binDir + "/" + std::string(c.file) + "' 2>&1");
        std::set<std::string> functions;
        std::istringstream lines(listing);
        for (std::string address, type, name; lines >> address >> type >> name;)
            if (type == "T" || type == "t" || type == "W" || type == "i")
                functions.insert(name);
        EXPECT_EQ(functions, std::set<std::string>{c.function}) << listing;
    }
}

} // namespace
} // namespace korvan
