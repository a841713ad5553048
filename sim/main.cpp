// vela-sim: a gateway simulator on loopback for tests, benchmarks and demonstrations.
#include "VelaSimulator.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace {

using korvan::sim::SimOptions;

constexpr const char* usage =
    "usage: vela-sim [--model vela-1h-tcp|vela-3h-tcp|vela-3h-rtu] [--tcp-port PORT] [--mgmt-port PORT]\n"
    "                [--udp-port PORT] [--pty] [--lifetime SECONDS] [--log FILE]\n"
    "                [--silent-from N] [--bad-checksum-at N] [--truncate-at N] [--garbage-at N]\n"
    "                [--close-at N] [--split-at N] [--late-at N] [--late-ms MS]\n"
    "                [--refuse]\n"
    "Listens on 127.0.0.1 only (port 0 or none: the system picks one) and prints the ports and the\n"
    "pseudo-terminal's path; exchanges are counted from 1 for the faults; stops after the lifetime\n"
    "(default 30 s).\n";

bool parseNumber(const std::string& text, long low, long high, long& value) {
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 10);
    return !text.empty() && end != nullptr && *end == '\0' && value >= low && value <= high;
}

bool parseOptions(const std::vector<std::string>& words, SimOptions& options) {
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "--pty") {
            options.pseudoTerminal = true;
            continue;
        }
        if (word == "--refuse") {
            options.faults.refuseConnections = true;
            continue;
        }
        if (i + 1 >= words.size())
            return false;
        const std::string& value = words[++i];
        long number = 0;
        if (word == "--model") {
            const auto model = korvan::parseModelName(value);
            if (!model)
                return false;
            options.model = *model;
        } else if (word == "--log") {
            options.logPath = value;
        } else if (!parseNumber(value, 0, 65535, number)) {
            return false;
        } else if (word == "--tcp-port") {
            options.configurationPort = static_cast<std::uint16_t>(number);
        } else if (word == "--mgmt-port") {
            options.managementPort = static_cast<std::uint16_t>(number);
        } else if (word == "--udp-port") {
            options.searchPort = static_cast<std::uint16_t>(number);
        } else if (word == "--lifetime") {
            options.lifetimeMs = static_cast<int>(number) * 1000;
        } else if (word == "--silent-from") {
            options.faults.silentFrom = static_cast<int>(number);
        } else if (word == "--bad-checksum-at") {
            options.faults.badChecksumAt = static_cast<int>(number);
        } else if (word == "--truncate-at") {
            options.faults.truncateAt = static_cast<int>(number);
        } else if (word == "--garbage-at") {
            options.faults.garbageAt = static_cast<int>(number);
        } else if (word == "--close-at") {
            options.faults.closeAt = static_cast<int>(number);
        } else if (word == "--split-at") {
            options.faults.splitAt = static_cast<int>(number);
        } else if (word == "--late-at") {
            options.faults.lateAt = static_cast<int>(number);
        } else if (word == "--late-ms") {
            options.faults.lateMs = static_cast<int>(number);
        } else {
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    SimOptions options;
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (words.size() == 1 && (words[0] == "--help" || words[0] == "-h")) {
        std::cout << usage;
        return 0;
    }
    if (!parseOptions(words, options)) {
        std::cerr << usage;
        return 64;
    }
    korvan::sim::VelaSimulator simulator(options);
    std::string reason;
    if (!simulator.start(reason)) {
        std::cerr << "vela-sim: " << reason << '\n';
        return 1;
    }
    std::cout << "model " << korvan::modelName(options.model) << '\n'
              << "tcp " << simulator.configurationPort() << '\n'
              << "mgmt " << simulator.managementPort() << '\n'
              << "udp " << simulator.searchPort() << '\n';
    if (!simulator.pseudoTerminalPath().empty())
        std::cout << "pty " << simulator.pseudoTerminalPath() << '\n';
    std::cout << "ready" << std::endl;
    simulator.run();
    return 0;
}
