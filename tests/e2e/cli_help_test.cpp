#include "ProgramRun.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace korvan {
namespace {

using test::runKorvanctl;
using test::runProgram;

const std::vector<std::string> commandNames{"new",      "show",      "check",     "automap",  "export",
                                            "download", "upload",    "search",    "diagnose", "pack",
                                            "unpack",   "float2hex", "hex2float", "unit",     "maker"};

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::size_t longestLine(const std::string& text) {
    std::istringstream lines(text);
    std::size_t longest = 0;
    for (std::string line; std::getline(lines, line);)
        longest = std::max(longest, line.size());
    return longest;
}

TEST(KorvanctlHelp, DescribesEveryCommandOptionDefaultAndExitCode) {
    const auto help = runKorvanctl({"--help"});
    ASSERT_EQ(help.exitStatus, 0);
    EXPECT_TRUE(help.err.empty());
    for (const std::string& name : commandNames)
        EXPECT_TRUE(contains(help.out, "\n  " + name + " ")) << name;
    for (const char* part :
         {"--model MODEL", "--gateway HOST[:PORT]", "default 502", "--mgmt-port PORT", "default 18801",
          "--search-port PORT", "--serial DEVICE", "--version", "(needs --model)", "take it from the file",
          "exit status:", "  64  ", "  65  ", "20  The operation was stopped.", "13  Unknown Error!",
          "examples:", "korvanctl download plant.xml --gateway"})
        EXPECT_TRUE(contains(help.out, part)) << part << "\nin:\n" << help.out;
    EXPECT_LE(longestLine(help.out), 100u);
    EXPECT_EQ(runKorvanctl({"help"}).out, help.out);
    EXPECT_EQ(runKorvanctl({"-h"}).out, help.out);
}

// Each command's own help: its usage line and what it needs, whichever way it is asked for.
TEST(KorvanctlHelp, EachCommandHasItsOwnPart) {
    const struct {
        const char* command;
        const char* says;
    } cases[] = {
        {"new", "--force"},
        {"show", "taken from FILE unless --model"},
        {"check", "11 on overlaps"},
        {"automap", "-o OUT"},
        {"export", ".xlsx"},
        {"download", "--reset"},
        {"upload", "--model"},
        {"search", "the management port (18801)"},
        {"diagnose", "--node ADDRESS"},
        {"pack", "04 20 C4"},
        {"unpack", "three bytes"},
        {"float2hex", "3F 80 00 00"},
        {"hex2float", "IEEE 754"},
        {"unit", "libMeaslex.so"},
        {"maker", "libMakerlex.so"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        const auto help = runKorvanctl({c.command, "--help"});
        EXPECT_EQ(help.exitStatus, 0);
        EXPECT_EQ(help.out.rfind(std::string("usage: korvanctl [OPTIONS] ") + c.command + " ", 0), 0u)
            << help.out;
        EXPECT_TRUE(contains(help.out, c.says)) << help.out;
        EXPECT_FALSE(contains(help.out, "exit status:")) << "only the command's part";
        EXPECT_LE(longestLine(help.out), 110u);
        EXPECT_EQ(runKorvanctl({"help", c.command}).out, help.out);
        EXPECT_EQ(runKorvanctl({"--help", c.command}).out, help.out);
    }
    const auto unknown = runKorvanctl({"help", "frobnicate"});
    EXPECT_EQ(unknown.exitStatus, 64);
    EXPECT_TRUE(contains(unknown.err, "korvanctl: unknown command 'frobnicate'"));
}

TEST(KorvanctlHelp, AUsageErrorShowsTheCommandsUsage) {
    const auto missing = runKorvanctl({"show"});
    EXPECT_EQ(missing.exitStatus, 64);
    EXPECT_EQ(missing.err, "korvanctl: missing FILE\nusage: korvanctl [OPTIONS] show FILE\n"
                           "'korvanctl show --help' tells more.\n");
    const auto badPort = runKorvanctl({"download", "p.xml", "--gateway", "host:x"});
    EXPECT_EQ(badPort.exitStatus, 64);
    EXPECT_TRUE(contains(badPort.err, "korvanctl: 'x' is not a port number (1-65535)\n"
                                      "usage: korvanctl [OPTIONS] download FILE LINK"))
        << badPort.err;
}

TEST(Programs, TellTheirVersion) {
    const auto korvanctl = runKorvanctl({"--version"});
    EXPECT_EQ(korvanctl.exitStatus, 0);
    EXPECT_EQ(korvanctl.out, "korvanctl " KORVAN_VERSION "\n");
    const auto sim = runProgram("vela-sim", {"--version"});
    EXPECT_EQ(sim.exitStatus, 0);
    EXPECT_EQ(sim.out, "vela-sim " KORVAN_VERSION "\n");
    // The desktop program answers without a display.
    const auto korvan = runProgram("korvan", {"--version"});
    EXPECT_EQ(korvan.exitStatus, 0) << korvan.err;
    EXPECT_EQ(korvan.out, "korvan " KORVAN_VERSION "\n");
    const auto korvanHelp = runProgram("korvan", {"--help"});
    EXPECT_EQ(korvanHelp.exitStatus, 0) << korvanHelp.err;
    EXPECT_TRUE(contains(korvanHelp.out, "--version"));
}

} // namespace
} // namespace korvan
