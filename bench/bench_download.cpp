// Downloads the maximal project to vela-sim over loopback TCP and over a pseudo-terminal and
// prints the measured time divided by the protocol's own floor, computed in the same run:
// 15 ms after each TCP exchange; on the serial line 100 ms between write and read, 50 ms
// before each read, and every byte at 19200 baud (10 bits a byte).
//
// usage: bench_download [tcp|serial|both]   (the serial run takes several minutes)
#include "FloorCountingLink.h"
#include "VelaSimulator.h"
#include "link/ConfigurationDownload.h"
#include "link/SerialGatewayLink.h"
#include "link/TcpGatewayLink.h"
#include "model/CProductTarn.h"
#include "support/SampleProjects.h"
#include "support/ScriptedPrompt.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

namespace {

using namespace korvan;
using Clock = std::chrono::steady_clock;
using bench::FloorCountingLink;

bool runOne(bool serial) {
    const GatewayModel model = serial ? GatewayModel::Vela3hRtu : GatewayModel::Vela3hTcp;
    sim::SimOptions options;
    options.model = model;
    options.pseudoTerminal = serial;
    options.lifetimeMs = 30 * 60 * 1000;
    sim::VelaSimulator simulator(options);
    std::string reason;
    if (!simulator.start(reason)) {
        std::fprintf(stderr, "vela-sim: %s\n", reason.c_str());
        return false;
    }
    std::thread thread([&] { simulator.run(); });

    CProductTarn product;
    product.build(model);
    test::fillMaximalProject(product);
    LinkSettings settings;
    settings.host = "127.0.0.1";
    settings.configurationPort = simulator.configurationPort();
    settings.managementPort = simulator.managementPort();
    TcpGatewayLink tcp(settings);
    SerialGatewayLink pty(simulator.pseudoTerminalPath());
    GatewayLink& real = serial ? static_cast<GatewayLink&>(pty) : static_cast<GatewayLink&>(tcp);
    FloorCountingLink link(real);
    test::ScriptedPrompt prompt; // the reset question is answered No
    bool ok = succeeded(link.open());
    const auto began = Clock::now();
    ConfigurationDownload download(product, link, prompt);
    const ResultCode result = ok ? download.downloadAll().code : ResultCode::OpenPortFailed;
    const double measuredMs = std::chrono::duration<double, std::milli>(Clock::now() - began).count();
    link.close();
    simulator.stop();
    thread.join();
    ok = succeeded(result);
    std::printf("%-7s %5d exchanges  measured %9.1f ms  floor %9.1f ms  ratio %.3f (goal %.2f)%s\n",
                serial ? "serial" : "tcp", link.exchanges(), measuredMs, link.floorMs(),
                measuredMs / link.floorMs(), serial ? 1.05 : 1.15, ok ? "" : "  DOWNLOAD FAILED");
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    const std::string which = argc > 1 ? argv[1] : "both";
    std::printf("maximal project: 3 channels x 15 nodes, 256 Advanced commands of 26 segments per channel\n");
    bool ok = true;
    if (which == "tcp" || which == "both")
        ok = runOne(false) && ok;
    if (which == "serial" || which == "both")
        ok = runOne(true) && ok;
    return ok ? 0 : 1;
}
