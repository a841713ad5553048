#include "ProgramRun.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace korvan {
namespace {

using test::runKorvanctl;

// The converters and the code-table lookups need no --model; `unit` and `maker` go through
// the libraries built beside korvanctl.
TEST(KorvanctlHart, ConvertsAndLooksCodesUp) {
    struct Case {
        std::vector<std::string> arguments;
        int exitStatus;
        std::string out;
        std::string err;
    };
    const std::vector<Case> cases{
        {{"pack", "ABCD"}, 0, "04 20 C4\n", ""},
        {{"pack", "abc"}, 0, "04 20 E0\n", ""},
        {{"pack", "AB CD"}, 0, "04 28 03 12 08 20\n", ""},
        {{"unpack", "04 28 20"}, 0, "AB  \n", ""},
        {{"unpack", "04", "28", "20"}, 0, "AB  \n", ""},
        {{"float2hex", "1"}, 0, "3F 80 00 00\n", ""},
        {{"float2hex", "-2"}, 0, "C0 00 00 00\n", ""},
        {{"hex2float", "40 49 0f db"}, 0, "3.14159\n", ""},
        {{"unit", "32"}, 0, "Degrees Celsius\n", ""},
        {{"unit", "200"}, 0, "(null)\n", ""},
        {{"maker", "250"}, 0, "not_used\n", ""},
        {{"maker", "167"}, 0, "(null)\n", ""},
        {{"pack", "A~"}, 1, "", "Has Illegal char\nIllegal data\n"},
        {{"pack", ""}, 1, "", "Illegal data\n"},
        {{"unpack", "04 20"}, 1, "", "Incorrect data length\n"},
        {{"unpack", "0428"}, 1, "", "Illegal data\n"},
        {{"float2hex", "one"}, 1, "", "Enter a number.\n"},
        {{"hex2float", "3F800000"}, 1, "", "Illegal input data\n"},
    };
    for (const Case& c : cases) {
        const auto run = runKorvanctl(c.arguments);
        EXPECT_EQ(run.exitStatus, c.exitStatus) << c.arguments[0] << "\n" << run.err;
        EXPECT_EQ(run.out, c.out) << c.arguments[0];
        EXPECT_EQ(run.err, c.err) << c.arguments[0];
    }
}

TEST(KorvanctlHart, BadArgumentsAreUsageErrors) {
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"pack"}, {"unit"}, {"unit", "256"}, {"unit", "-1"}, {"maker", "x1"}, {"maker", "1", "2"}}) {
        const auto run = runKorvanctl(arguments);
        EXPECT_EQ(run.exitStatus, 64) << arguments[0];
        EXPECT_TRUE(run.out.empty());
        EXPECT_NE(run.err.find("usage:"), std::string::npos) << run.err;
    }
}

} // namespace
} // namespace korvan
