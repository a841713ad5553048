#include "ProgramRun.h"
#include "SimProcess.h"
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

#include <arpa/inet.h>
#include <chrono>
#include <fstream>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace korvan {
namespace {

using test::join;
using test::runKorvanctl;
using test::SimProcess;

const std::string templateFile = std::string(KORVAN_BIN_DIR) + "/Vela-3H-TCP.ini";

TEST(CliLink, DownloadTheTemplateThenUploadItBack) {
    SimProcess sim({"--model", "vela-3h-tcp"});
    ASSERT_TRUE(sim.ready());
    test::TempDir dir;
    const auto link = sim.tcpLink();
    const auto downloaded =
        runKorvanctl(join(join({"--model", "vela-3h-tcp"}, link), {"download", templateFile, "--reset"}));
    EXPECT_EQ(downloaded.exitStatus, 0) << downloaded.err;
    EXPECT_EQ(downloaded.err,
              "Download succeeded, whether to conduct remote reset?\n"
              "korvanctl: answered Yes to the remote reset question (--reset): the reset was sent\n"
              "korvanctl: the gateway was given the IP Address 192.168.0.10 of '" +
                  templateFile + "' (it was reached at 127.0.0.1)\n");

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
              "Connection fails, make sure the IP address and port number are correct!\nUnknown Error!\n"
              "korvanctl: no connection to 127.0.0.1 port " +
                  refusing.value("mgmt") + " (the management port, --mgmt-port PORT)\n");

    SimProcess corrupting({"--model", "vela-3h-tcp", "--bad-checksum-at", "2"});
    const auto corrupt = runKorvanctl(
        join(join({"--model", "vela-3h-tcp"}, corrupting.tcpLink()), {"download", templateFile}));
    EXPECT_EQ(corrupt.exitStatus, 3);
    EXPECT_EQ(corrupt.err, "Data upload check error\n");

    const auto noPort = runKorvanctl({"--model", "vela-3h-rtu", "--serial", "/dev/korvan-no-such-port",
                                      "upload", "-o", "/tmp/korvan-never-written.xml"});
    EXPECT_EQ(noPort.exitStatus, 4);
    EXPECT_EQ(noPort.err,
              "Failed openning serial port\nkorvanctl: cannot open /dev/korvan-no-such-port: there is "
              "no such device (is the adapter plugged in? ls /dev/ttyUSB* /dev/ttyS*)\n");
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

namespace korvan {
namespace {

using test::join;
using test::runKorvanctl;
using test::SimProcess;

const std::string tcpTemplate = std::string(KORVAN_BIN_DIR) + "/Vela-3H-TCP.ini";
const std::string resetFrame = "EB 01 01 ED";

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Whether the simulator's log shows the text, waiting at most `ms` for it to be written.
bool logShows(const std::string& log, const std::string& text, int ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!contains(test::readFile(log), text)) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// A UDP socket of the test on loopback that receives and never answers: a search port on
// which no gateway answers, or (closed again) a free port for the simulator's search.
class SilentUdpPort {
public:
    SilentUdpPort() {
        fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        socklen_t length = sizeof address;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = std::to_string(ntohs(address.sin_port));
    }
    ~SilentUdpPort() { close(); }
    SilentUdpPort(const SilentUdpPort&) = delete;
    SilentUdpPort& operator=(const SilentUdpPort&) = delete;

    void close() {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }
    [[nodiscard]] const std::string& port() const { return port_; }

private:
    int fd_ = -1;
    std::string port_;
};

// After a download korvanctl says how the remote reset question was answered and whether
// the reset went out; the simulator's log shows whether it did.
TEST(CliLinkContext, ADownloadSaysWhatTheResetQuestionGotAndWhetherTheResetWasSent) {
    const struct {
        std::vector<std::string> flags;
        const char* said;
        bool sent;
    } cases[] = {
        {{},
         "korvanctl: answered No to the remote reset question (--reset answers Yes): no reset was sent\n",
         false},
        {{"--no-reset"},
         "korvanctl: answered No to the remote reset question (--reset answers Yes): no reset was sent\n",
         false},
        {{"--reset"},
         "korvanctl: answered Yes to the remote reset question (--reset): the reset was sent\n",
         true},
    };
    test::TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flags.empty() ? "no flag" : c.flags[0]);
        const std::string log = dir.file("frames.log");
        SimProcess sim({"--model", "vela-3h-tcp", "--log", log});
        ASSERT_TRUE(sim.ready());
        // The project's own address is the simulator's, so nothing else is said.
        std::string project = test::readFile(tcpTemplate);
        project.replace(project.find("192.168.0.10"), 12, "127.0.0.1");
        test::writeFile(dir.file("p.xml"), project);
        const auto run = runKorvanctl(join(join({"download", dir.file("p.xml")}, sim.tcpLink()), c.flags));
        EXPECT_EQ(run.exitStatus, 0);
        EXPECT_EQ(run.err, std::string("Download succeeded, whether to conduct remote reset?\n") + c.said);
        EXPECT_EQ(logShows(log, "tcp: " + resetFrame, c.sent ? 2000 : 0), c.sent) << test::readFile(log);
    }
}

TEST(CliLinkContext, ARefusedDhcpQuestionSaysNothingWasDownloaded) {
    test::TempDir dir;
    std::string project = test::readFile(tcpTemplate);
    const std::string manual = "<CurrentVal Value=\"Manually Assign\"/>";
    project.replace(project.find(manual), manual.size(), "<CurrentVal Value=\"DHCP\"/>");
    test::writeFile(dir.file("dhcp.xml"), project);
    const std::string log = dir.file("frames.log");
    SimProcess sim({"--model", "vela-3h-tcp", "--log", log});
    ASSERT_TRUE(sim.ready());
    const auto refused = runKorvanctl(join({"download", dir.file("dhcp.xml")}, sim.tcpLink()));
    EXPECT_EQ(refused.exitStatus, 1);
    EXPECT_TRUE(contains(refused.err,
                         "do you want to continue downloading?\n"
                         "korvanctl: answered No to the DHCP question (--yes answers Yes): nothing "
                         "was downloaded\n"))
        << refused.err;
    EXPECT_EQ(test::readFile(log), "");
    const auto accepted = runKorvanctl(join({"download", dir.file("dhcp.xml"), "--yes"}, sim.tcpLink()));
    EXPECT_EQ(accepted.exitStatus, 0) << accepted.err;
    EXPECT_FALSE(contains(accepted.err, "IP Address")) << "a DHCP gateway is given no address";
}

// Which port did not answer: the configuration port or the management port.
TEST(CliLinkContext, AFailedConnectionNamesTheHostAndPort) {
    SimProcess sim({"--model", "vela-3h-tcp"});
    SimProcess refusing({"--model", "vela-3h-tcp", "--refuse"});
    ASSERT_TRUE(sim.ready() && refusing.ready());
    const std::string deadTcp = refusing.value("tcp");
    const std::string deadMgmt = refusing.value("mgmt");
    const std::string connectFails =
        "Connection fails, make sure the IP address and port number are correct!\n";
    const struct {
        std::vector<std::string> arguments;
        std::string err;
    } cases[] = {
        {{"--gateway", "127.0.0.1:" + sim.value("tcp"), "--mgmt-port", deadMgmt, "download", tcpTemplate},
         connectFails + "Unknown Error!\nkorvanctl: no connection to 127.0.0.1 port " + deadMgmt +
             " (the management port, --mgmt-port PORT)\n"},
        {{"--gateway", "127.0.0.1:" + deadTcp, "--mgmt-port", sim.value("mgmt"), "download", tcpTemplate},
         connectFails + "Unknown Error!\nkorvanctl: no connection to 127.0.0.1 port " + deadTcp +
             " (the configuration port, --gateway HOST:PORT)\n"},
        {{"--model", "vela-3h-tcp", "--gateway", "127.0.0.1:" + deadTcp, "--mgmt-port", sim.value("mgmt"),
          "upload", "-o", "/tmp/korvan-never-written.xml"},
         connectFails + "korvanctl: no connection to 127.0.0.1 port " + deadTcp +
             " (the configuration port, --gateway HOST:PORT)\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments[1] + " " + c.arguments[3]);
        const auto run = runKorvanctl(c.arguments);
        EXPECT_EQ(run.exitStatus, 13);
        EXPECT_EQ(run.err, c.err);
    }
}

// Diagnose reads the configuration first; on a port where nothing answers the status read
// that follows would fail the same way: the message is printed once, the exit status is
// the link's result code.
TEST(CliLinkContext, DiagnoseOnAWrongPortSaysSoOnce) {
    SimProcess sim({"--model", "vela-3h-tcp"});
    SimProcess refusing({"--model", "vela-3h-tcp", "--refuse"});
    ASSERT_TRUE(sim.ready() && refusing.ready());
    const auto run =
        runKorvanctl({"--model", "vela-3h-tcp", "--gateway", "127.0.0.1:" + refusing.value("tcp"),
                      "--mgmt-port", sim.value("mgmt"), "diagnose", "--channel", "1"});
    EXPECT_EQ(run.exitStatus, 13);
    EXPECT_EQ(run.err, "Connection fails, make sure the IP address and port number are correct!\n"
                       "korvanctl: no connection to 127.0.0.1 port " +
                           refusing.value("tcp") + " (the configuration port, --gateway HOST:PORT)\n");
    EXPECT_TRUE(run.out.empty());

    // With only the management port wrong the status is still read, and the exit status tells.
    const auto half = runKorvanctl({"--model", "vela-3h-tcp", "--gateway", "127.0.0.1:" + sim.value("tcp"),
                                    "--mgmt-port", refusing.value("mgmt"), "diagnose", "--channel", "1"});
    EXPECT_EQ(half.exitStatus, 13);
    EXPECT_TRUE(contains(half.out, "System State machine\t"));
    EXPECT_TRUE(contains(half.err, "(the management port, --mgmt-port PORT)\n")) << half.err;

    const auto node = runKorvanctl(
        join({"--model", "vela-3h-tcp", "diagnose", "--channel", "2", "--node", "4"}, sim.tcpLink()));
    EXPECT_EQ(node.exitStatus, 1);
    EXPECT_TRUE(contains(node.err, "korvanctl: Node(4) is not configured on Channel2 of the gateway"))
        << node.err;
}

TEST(CliLinkContext, SearchUsesItsPortAndSaysWhenNothingAnswered) {
    SilentUdpPort freePort;
    freePort.close();
    // A simulator whose search port is not its management port, as a test or a second gateway
    // on one computer would have.
    SimProcess sim({"--model", "vela-1h-tcp", "--udp-port", freePort.port()});
    ASSERT_TRUE(sim.ready());
    ASSERT_EQ(sim.value("udp"), freePort.port());
    ASSERT_NE(sim.value("udp"), sim.value("mgmt"));
    const std::string line =
        "1\tVela-1H-TCP\t127.0.0.1\t00-1a-2b-3c-4d-5e\t1.5\tAllows remote configuration\n";

    SilentUdpPort silent;
    const struct {
        std::vector<std::string> arguments;
        int exitStatus;
        std::string out;
        std::string err;
    } cases[] = {
        {{"search", "--gateway", "127.0.0.1", "--search-port", sim.value("udp")}, 0, line, ""},
        {{"search", "--gateway", "127.0.0.1:" + sim.value("udp")}, 0, line, ""},
        {{"--model", "vela-1h-tcp", "--gateway", "127.0.0.1", "--mgmt-port", sim.value("mgmt"),
          "--search-port", sim.value("udp"), "search"},
         0,
         line,
         ""},
        {{"search", "--gateway", "127.0.0.1", "--search-port", silent.port()},
         1,
         "",
         "korvanctl: no gateway answered at 127.0.0.1 on UDP port " + silent.port() + "\n"},
        {{"search", "--gateway", "127.0.0.1:" + silent.port()},
         1,
         "",
         "korvanctl: no gateway answered at 127.0.0.1 on UDP port " + silent.port() + "\n"},
        {{"search", "--gateway", "127.0.0.1", "--mgmt-port", silent.port()},
         1,
         "",
         "korvanctl: no gateway answered at 127.0.0.1 on UDP port " + silent.port() + "\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.back());
        const auto run = runKorvanctl(c.arguments);
        EXPECT_EQ(run.exitStatus, c.exitStatus);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, c.err);
    }
    const auto serial = runKorvanctl({"--model", "vela-3h-rtu", "search", "--gateway", "127.0.0.1"});
    EXPECT_EQ(serial.exitStatus, 64);
    EXPECT_TRUE(contains(serial.err, "korvanctl: Vela-3H-RTU is reached over a serial line, not --gateway\n"))
        << serial.err;
}

// Why a serial port could not be opened: no device, no serial port, or no permission.
TEST(CliLinkContext, ASerialPortThatCannotBeOpenedIsExplained) {
    test::TempDir dir;
    test::writeFile(dir.file("plain-file"), "");
    const auto plain = runKorvanctl(
        {"--model", "vela-3h-rtu", "--serial", dir.file("plain-file"), "diagnose", "--channel", "1"});
    EXPECT_EQ(plain.exitStatus, 4);
    EXPECT_EQ(plain.err, "Failed openning serial port\nkorvanctl: cannot open " + dir.file("plain-file") +
                             " as a serial port (in use by another program, or no serial port?)\n");

    // A device the user may not open, tried as an unprivileged user: the group that may is named.
    const bool root = ::geteuid() == 0;
    if (root && ::access("/usr/bin/setpriv", X_OK) != 0)
        GTEST_SKIP() << "running as root without setpriv to try as another user";
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    const struct {
        mode_t mode;
        std::string says;
    } cases[] = {
        {0660, ": permission denied; add your user to the group '"},
        {0600, ": permission denied (no group may read and write it)"},
    };
    for (const auto& c : cases) {
        const std::string device = dir.file("ttyTEST" + std::to_string(c.mode));
        test::writeFile(device, "");
        ASSERT_EQ(::chmod(device.c_str(), root ? c.mode : 0), 0);
        std::vector<std::string> words{"--model", "vela-3h-rtu", "--serial",       device,
                                       "upload",  "-o",          dir.file("u.xml")};
        const std::string korvanctl = std::string(KORVAN_BIN_DIR) + "/korvanctl";
        const auto run =
            root ? test::runProgram(
                       "/usr/bin/setpriv",
                       join({"--reuid=65534", "--regid=65534", "--clear-groups", korvanctl}, words))
                 : runKorvanctl(words);
        EXPECT_EQ(run.exitStatus, 4) << run.err;
        EXPECT_TRUE(contains(run.err, "Failed openning serial port\nkorvanctl: cannot open " + device))
            << run.err;
        if (root || c.mode == 0600) {
            EXPECT_TRUE(contains(run.err, c.says)) << run.err;
        }
    }
}

} // namespace
} // namespace korvan
