#include "os/SerialPort.h"
#include "os/SerialPortList.h"
#include "os/TcpConnection.h"
#include "support/SimulatorRun.h"

#include <chrono>
#include <unistd.h>

namespace korvan {
namespace {

TEST(Transports, RefusedConnectionAndSilentPeerEndInBoundedTime) {
    sim::SimOptions options;
    options.faults.refuseConnections = true;
    test::SimulatorRun refusing(options);
    os::TcpConnection connection;
    ASSERT_EQ(connection.open(300, 300), os::NetStatus::Ok);
    EXPECT_EQ(connection.connect("127.0.0.1", refusing.simulator().configurationPort(), 3000),
              os::NetStatus::ConnectFailed);

    sim::SimOptions listening;
    test::SimulatorRun run(listening);
    ASSERT_EQ(connection.open(300, 300), os::NetStatus::Ok);
    ASSERT_EQ(connection.connect("127.0.0.1", run.simulator().configurationPort(), 3000), os::NetStatus::Ok);
    const auto began = std::chrono::steady_clock::now();
    // Nothing was sent, so nothing comes back: the read gives up after its time-out.
    EXPECT_TRUE(connection.receive(15, 15).empty());
    EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(2));
}

TEST(Transports, SerialPortsAreListedAndPseudoTerminalsOpened) {
    for (const os::SerialPortInfo& port : os::listSerialPorts())
        EXPECT_FALSE(port.name.empty());
    os::SerialPort port;
    EXPECT_FALSE(port.open("/dev/korvan-no-such-port"));
    EXPECT_FALSE(port.isOpen());

    sim::SimOptions options;
    options.pseudoTerminal = true;
    test::SimulatorRun run(options);
    ASSERT_TRUE(port.open(run.ptyPath()));
    // The port is not shared while it is open, and can be opened again once closed.
    os::SerialPort second;
    if (geteuid() != 0) {
        EXPECT_FALSE(second.open(run.ptyPath()));
    }
    port.close();
    EXPECT_TRUE(second.open(run.ptyPath()));
    EXPECT_EQ(second.inputQueueLength(), 0u);
    EXPECT_TRUE(second.read(4, 50, 100).empty());
}

} // namespace
} // namespace korvan
