#include "ProgramRun.h"
#include "SimProcess.h"

#include <gtest/gtest.h>

namespace korvan {
namespace {

using test::runProgram;
using test::SimProcess;

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A refused command line names the option and the value, and starts nothing.
TEST(VelaSimOptions, ARefusedOptionIsNamedWithItsValue) {
    const struct {
        std::vector<std::string> arguments;
        std::string says;
    } cases[] = {
        {{"--tcp-port", "70000"}, "vela-sim: '70000' is not a port number for --tcp-port (0-65535)\n"},
        {{"--mgmt-port", "x"}, "vela-sim: 'x' is not a port number for --mgmt-port (0-65535)\n"},
        {{"--udp-port", "-1"}, "vela-sim: '-1' is not a port number for --udp-port (0-65535)\n"},
        {{"--lifetime", "ten"}, "vela-sim: 'ten' is not a number of seconds for --lifetime (0-65535)\n"},
        {{"--late-ms", "1.5"}, "vela-sim: '1.5' is not a number of milliseconds for --late-ms (0-65535)\n"},
        {{"--silent-from", "2x"},
         "vela-sim: '2x' is not an exchange number for --silent-from (0-1000000000)\n"},
        {{"--model", "vela-9h"},
         "vela-sim: unknown model 'vela-9h' for --model (vela-1h-tcp, vela-3h-tcp or "
         "vela-3h-rtu)\n"},
        {{"--bad-checksum-at"}, "vela-sim: --bad-checksum-at needs a value\n"},
        {{"--frobnicate"}, "vela-sim: unknown option '--frobnicate'\n"},
        {{"stray"}, "vela-sim: unexpected argument 'stray'\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments[0]);
        const auto run = runProgram("vela-sim", c.arguments, 10);
        EXPECT_EQ(run.exitStatus, 64);
        EXPECT_EQ(run.err.rfind(c.says, 0), 0u) << run.err;
        EXPECT_TRUE(contains(run.err, "usage: vela-sim"));
        EXPECT_TRUE(run.out.empty()) << "nothing started";
    }
}

TEST(VelaSimOptions, APortItCannotHaveIsNamed) {
    SimProcess first({"--model", "vela-3h-tcp"});
    ASSERT_TRUE(first.ready());
    const struct {
        const char* option;
        std::string port;
        std::string says;
    } cases[] = {
        {"--tcp-port", first.value("tcp"), "TCP port " + first.value("tcp") + " (--tcp-port)"},
        {"--mgmt-port", first.value("mgmt"), "TCP port " + first.value("mgmt") + " (--mgmt-port)"},
        {"--udp-port", first.value("udp"), "UDP port " + first.value("udp") + " (--udp-port)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.option);
        const auto run = runProgram("vela-sim", {c.option, c.port, "--lifetime", "1"}, 10);
        EXPECT_EQ(run.exitStatus, 1);
        EXPECT_EQ(run.err, "vela-sim: cannot listen on 127.0.0.1 " + c.says + ": Address already in use\n");
    }
}

TEST(VelaSimOptions, ItsHelpExplainsEveryOptionAndFault) {
    const auto help = runProgram("vela-sim", {"--help"}, 10);
    EXPECT_EQ(help.exitStatus, 0);
    for (const char* option : {"--model MODEL", "--tcp-port PORT", "--mgmt-port PORT", "--udp-port PORT",
                               "--pty", "--lifetime SECONDS", "--log FILE", "--silent-from N",
                               "--bad-checksum-at N", "--truncate-at N", "--garbage-at N", "--close-at N",
                               "--split-at N", "--late-at N", "--late-ms MS", "--refuse", "--version"}) {
        // Each option on a line of its own, with its explanation beside it.
        const std::size_t at = help.out.find("\n  " + std::string(option) + " ");
        ASSERT_NE(at, std::string::npos) << option << "\nin:\n" << help.out;
        const std::size_t end = help.out.find('\n', at + 1);
        EXPECT_GT(end - at, std::string(option).size() + 12) << option;
    }
    EXPECT_TRUE(contains(help.out, "counted from 1"));
    EXPECT_EQ(runProgram("vela-sim", {"--lifetime", "1", "-h"}, 10).out, help.out) << "--help anywhere";
}

} // namespace
} // namespace korvan
