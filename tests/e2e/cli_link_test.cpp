#include "ProgramRun.h"
#include "app/AppState.h"
#include "app/StartSequence.h"
#include "mapping/AutoMapping.h"
#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"
#include "model/CommandItems.h"
#include "projectfile/ProjectFile.h"
#include "support/ScriptedPrompt.h"
#include "support/TempDir.h"

#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace korvan {
namespace {

using test::runKorvanctl;

// vela-sim started as a child process for one test: bounded by its own lifetime, and
// stopped by the test (its own child, by process id) when the test ends.
class SimProcess {
public:
    explicit SimProcess(std::vector<std::string> arguments) {
        const std::string path = std::string(KORVAN_BIN_DIR) + "/vela-sim";
        arguments.insert(arguments.begin(), {path, "--lifetime", "30"});
        int out[2];
        if (::pipe(out) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        const int spawned = ::posix_spawn(&pid_, path.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        if (spawned != 0) {
            pid_ = -1;
            ::close(out[0]);
            return;
        }
        readUntilReady(out[0]);
        ::close(out[0]);
    }
    ~SimProcess() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    [[nodiscard]] bool ready() const { return values_.count("tcp") != 0; }
    [[nodiscard]] std::string value(const std::string& key) const {
        const auto found = values_.find(key);
        return found == values_.end() ? "" : found->second;
    }
    [[nodiscard]] std::vector<std::string> tcpLink() const {
        return {"--gateway", "127.0.0.1:" + value("tcp"), "--mgmt-port", value("mgmt")};
    }

private:
    void readUntilReady(int fd) {
        std::string text;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (text.find("ready\n") == std::string::npos && std::chrono::steady_clock::now() < deadline) {
            pollfd waiting{fd, POLLIN, 0};
            if (::poll(&waiting, 1, 200) <= 0)
                continue;
            char buffer[512];
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got <= 0)
                break;
            text.append(buffer, static_cast<std::size_t>(got));
        }
        std::size_t start = 0;
        for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
            const std::string line = text.substr(start, end - start);
            if (const auto space = line.find(' '); space != std::string::npos)
                values_[line.substr(0, space)] = line.substr(space + 1);
        }
    }

    pid_t pid_ = -1;
    std::map<std::string, std::string> values_;
};

std::vector<std::string> join(std::vector<std::string> first, const std::vector<std::string>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

const std::string templateFile = std::string(KORVAN_BIN_DIR) + "/Vela-3H-TCP.ini";

TEST(CliLink, DownloadTheTemplateThenUploadItBack) {
    SimProcess sim({"--model", "vela-3h-tcp"});
    ASSERT_TRUE(sim.ready());
    test::TempDir dir;
    const auto link = sim.tcpLink();
    const auto downloaded =
        runKorvanctl(join(join({"--model", "vela-3h-tcp"}, link), {"download", templateFile, "--reset"}));
    EXPECT_EQ(downloaded.exitStatus, 0) << downloaded.err;
    EXPECT_EQ(downloaded.err, "Download succeeded, whether to conduct remote reset?\n");

    const std::string uploaded = dir.file("uploaded.xml");
    const auto upload =
        runKorvanctl(join(join({"--model", "vela-3h-tcp"}, link), {"upload", "-o", uploaded}));
    EXPECT_EQ(upload.exitStatus, 0) << upload.err;
    EXPECT_EQ(upload.err, "Upload successfully\n");
    const auto original = runKorvanctl({"--model", "vela-3h-tcp", "show", templateFile});
    const auto back = runKorvanctl({"--model", "vela-3h-tcp", "show", uploaded});
    EXPECT_EQ(back.exitStatus, 0);
    EXPECT_NE(back.out.find("Command ID"), std::string::npos);
    EXPECT_EQ(back.out, original.out);
}

TEST(CliLink, SerialModelOverAPseudoTerminal) {
    SimProcess sim({"--model", "vela-3h-rtu", "--pty"});
    ASSERT_FALSE(sim.value("pty").empty());
    const std::string rtuTemplate = std::string(KORVAN_BIN_DIR) + "/Vela-3H-RTU.ini";
    const auto downloaded =
        runKorvanctl({"--model", "vela-3h-rtu", "--serial", sim.value("pty"), "download", rtuTemplate});
    EXPECT_EQ(downloaded.exitStatus, 0) << downloaded.err;
    const auto diagnosed =
        runKorvanctl({"--model", "vela-3h-rtu", "--serial", sim.value("pty"), "diagnose", "--channel", "1"});
    EXPECT_EQ(diagnosed.exitStatus, 0) << diagnosed.err;
    EXPECT_NE(diagnosed.out.find("System State machine\t"), std::string::npos);
}

TEST(CliLink, SearchListsTheSimulatorAndDiagnosePrintsItsStatus) {
    SimProcess sim({"--model", "vela-1h-tcp"});
    ASSERT_TRUE(sim.ready());
    const auto found = runKorvanctl(
        {"--model", "vela-1h-tcp", "--gateway", "127.0.0.1", "--mgmt-port", sim.value("udp"), "search"});
    EXPECT_EQ(found.exitStatus, 0) << found.err;
    EXPECT_EQ(found.out, "1\tVela-1H-TCP\t127.0.0.1\t00-1a-2b-3c-4d-5e\t1.5\tAllows remote configuration\n");

    const auto link = sim.tcpLink();
    const std::string oneTemplate = std::string(KORVAN_BIN_DIR) + "/Vela-1H-TCP.ini";
    ASSERT_EQ(
        runKorvanctl(join(join({"--model", "vela-1h-tcp"}, link), {"download", oneTemplate})).exitStatus, 0);
    const auto channel =
        runKorvanctl(join(join({"--model", "vela-1h-tcp"}, link), {"diagnose", "--channel", "1"}));
    EXPECT_EQ(channel.exitStatus, 0) << channel.err;
    EXPECT_NE(channel.out.find("Request times\t"), std::string::npos);
    const auto node = runKorvanctl(
        join(join({"--model", "vela-1h-tcp"}, link), {"diagnose", "--channel", "1", "--node", "0"}));
    EXPECT_EQ(node.exitStatus, 0) << node.err;
    EXPECT_NE(node.out.find("Command ID"), std::string::npos);
    EXPECT_NE(node.out.find("\tResponse correct"), std::string::npos);
}

TEST(CliLink, FailuresGiveTheirMessagesAndExitStatus) {
    SimProcess refusing({"--model", "vela-3h-tcp", "--refuse"});
    ASSERT_TRUE(refusing.ready());
    const auto refused =
        runKorvanctl(join(join({"--model", "vela-3h-tcp"}, refusing.tcpLink()), {"download", templateFile}));
    EXPECT_EQ(refused.exitStatus, 13);
    EXPECT_EQ(refused.err,
              "Connection fails, make sure the IP address and port number are correct!\nUnknown Error!\n");

    SimProcess corrupting({"--model", "vela-3h-tcp", "--bad-checksum-at", "2"});
    const auto corrupt = runKorvanctl(
        join(join({"--model", "vela-3h-tcp"}, corrupting.tcpLink()), {"download", templateFile}));
    EXPECT_EQ(corrupt.exitStatus, 3);
    EXPECT_EQ(corrupt.err, "Data upload check error\n");

    const auto noPort = runKorvanctl({"--model", "vela-3h-rtu", "--serial", "/dev/korvan-no-such-port",
                                      "upload", "-o", "/tmp/korvan-never-written.xml"});
    EXPECT_EQ(noPort.exitStatus, 4);
    EXPECT_EQ(noPort.err, "Failed openning serial port\n");
}

TEST(CliLink, UsageErrorsTouchNothing) {
    for (const std::vector<std::string>& words :
         {std::vector<std::string>{"--model", "vela-3h-tcp", "download", templateFile},
          {"--model", "vela-1h-tcp", "--gateway", "127.0.0.1:1", "diagnose", "--channel", "2"},
          {"--model", "vela-3h-tcp", "--gateway", "127.0.0.1:1", "upload"},
          {"--model", "vela-3h-tcp", "--gateway", "127.0.0.1:1", "download", templateFile, "--reset",
           "--no-reset"}}) {
        const auto result = runKorvanctl(words);
        EXPECT_EQ(result.exitStatus, 64) << words.back();
        EXPECT_NE(result.err.find("usage:"), std::string::npos);
    }
}

// A project whose download takes many seconds: 15 devices with 15 small commands each on
// every channel, laid out by the automatic mapping so that the pre-check lets it through.
std::string writeLargeProject(const test::TempDir& dir) {
    AppState state;
    CProductTarn product;
    startProduct(state, product, GatewayModel::Vela3hTcp);
    for (CHartbus* channel : product.channels()) {
        channel->setMode(MultiDropMode);
        channel->itemAt(channel_item::NetworkMode)->setValue("Multi-drop");
        for (int n = 0; n < MaxMultiDropNodes; ++n) {
            COrlaNode* node = channel->addNode();
            for (int c = 0; c < 15; ++c)
                node->addHartCommand(product.registries(), 1)
                    ->setItemInt(command_item::ReceiveLengthBytes, 4);
        }
        channel->renumberChannelCommands();
    }
    test::ScriptedPrompt prompt;
    prompt.answerNext(Answer::Yes);
    EXPECT_TRUE(autoMapAddresses(product, prompt));
    const std::string path = dir.file("large.xml");
    EXPECT_TRUE(saveToFile(product, path).ok);
    return path;
}

std::size_t lineCount(const std::string& path) {
    std::ifstream file(path);
    std::size_t lines = 0;
    for (std::string line; std::getline(file, line);)
        ++lines;
    return lines;
}

bool waitForLines(const std::string& path, std::size_t count) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (lineCount(path) < count) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// Ctrl+C, or SIGTERM, while korvanctl waits for the answer to the fourth exchange (the
// second command, answered 1.5 s late): the download ends after that answer, before the
// next frame, with the stopped message and exit status, long before the whole project
// would have gone out.
TEST(CliLink, InterruptStopsADownloadBetweenTwoExchanges) {
    test::TempDir dir;
    const std::string project = writeLargeProject(dir);
    for (const int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        const std::string log = dir.file("frames-" + std::to_string(signal) + ".log");
        SimProcess sim({"--model", "vela-3h-tcp", "--log", log, "--late-at", "4", "--late-ms", "1500"});
        ASSERT_TRUE(sim.ready());
        test::RunningProgram korvanctl(
            "korvanctl", join(join({"--model", "vela-3h-tcp"}, sim.tcpLink()), {"download", project}));
        ASSERT_TRUE(waitForLines(log, 4));
        const auto interrupted = std::chrono::steady_clock::now();
        korvanctl.signal(signal);
        const test::ProgramResult result = korvanctl.finish(30);
        EXPECT_LT(std::chrono::steady_clock::now() - interrupted, std::chrono::seconds(5));
        EXPECT_EQ(result.exitStatus, 20);
        EXPECT_EQ(result.err, "The operation was stopped.\n");
        EXPECT_EQ(lineCount(log), 4u);
    }
}

} // namespace
} // namespace korvan
