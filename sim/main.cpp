// vela-sim: a gateway simulator on loopback for tests, benchmarks and demonstrations.
#include "VelaSimulator.h"

#include <charconv>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#ifndef KORVAN_VERSION
#error "KORVAN_VERSION is set by the build"
#endif

namespace {

using korvan::sim::SimOptions;

constexpr int exitUsage = 64;

constexpr const char* usage =
    "usage: vela-sim [--model MODEL] [--tcp-port PORT] [--mgmt-port PORT] [--udp-port PORT] [--pty]\n"
    "                [--lifetime SECONDS] [--log FILE] [FAULTS]\n";

constexpr const char* help =
    "vela-sim " KORVAN_VERSION " plays a Vela gateway for tests and demonstrations, on loopback only.\n\n"
    "usage: vela-sim [--model MODEL] [--tcp-port PORT] [--mgmt-port PORT] [--udp-port PORT] [--pty]\n"
    "                [--lifetime SECONDS] [--log FILE] [FAULTS]\n\n"
    "It listens on 127.0.0.1 only, answers every exchange of the configuration and debug\n"
    "protocols (an upload answers what the last download wrote), prints the ports it took and\n"
    "'ready', one per line (tcp PORT, mgmt PORT, udp PORT, pty PATH), and stops by itself after\n"
    "its lifetime, or on Ctrl+C.\n\n"
    "options:\n"
    "  --model MODEL       vela-1h-tcp, vela-3h-tcp (default) or vela-3h-rtu\n"
    "  --tcp-port PORT     the configuration port (the gateway's 502); 0 or none: any free port\n"
    "  --mgmt-port PORT    the management port (the gateway's 18801); 0 or none: any free port\n"
    "  --udp-port PORT     the search port; none: the management port's number when it is free,\n"
    "                      else any free port\n"
    "  --pty               also answer on a pseudo-terminal (for --serial PATH of korvanctl)\n"
    "  --lifetime SECONDS  stop after this time, default 30 (at most 65535)\n"
    "  --log FILE          write every frame received, one line of hexadecimal bytes each\n"
    "  -h, --help          this help\n"
    "  --version           the version\n\n"
    "faults (exchanges are the frames received on any port, counted from 1; 0 is off):\n"
    "  --silent-from N     no answer to the Nth exchange and every later one: the client\n"
    "                      times out\n"
    "  --bad-checksum-at N the Nth answer's last byte is off by one: a checksum error\n"
    "  --truncate-at N     only the first half of the Nth answer is sent\n"
    "  --garbage-at N      the Nth answer is replaced by rubbish of the same length\n"
    "  --close-at N        the connection is closed instead of answering the Nth exchange (TCP)\n"
    "  --split-at N        the Nth answer goes in two parts, the second 100 ms after the first\n"
    "  --late-at N         the Nth answer is held back for --late-ms\n"
    "  --late-ms MS        how long --late-at holds the answer back, default 1500\n"
    "  --refuse            nothing listens on the TCP ports: every connection is refused\n\n"
    "example: vela-sim --model vela-1h-tcp --tcp-port 1502 --mgmt-port 18802 --lifetime 600\n";

// A command line vela-sim cannot run with; the reason names the option and the value.
struct OptionError {
    std::string reason;
};

struct Parsed {
    SimOptions options;
    bool help = false;
    bool version = false;
};

long numberFor(const std::string& option, const std::string& value, long low, long high, const char* what) {
    long number = 0;
    const char* end = value.data() + value.size();
    const auto [ptr, error] = std::from_chars(value.data(), end, number);
    if (value.empty() || error != std::errc() || ptr != end || number < low || number > high)
        throw OptionError{"'" + value + "' is not " + what + " for " + option + " (" + std::to_string(low) +
                          "-" + std::to_string(high) + ")"};
    return number;
}

std::uint16_t portFor(const std::string& option, const std::string& value) {
    return static_cast<std::uint16_t>(numberFor(option, value, 0, 65535, "a port number"));
}

int countFor(const std::string& option, const std::string& value) {
    return static_cast<int>(numberFor(option, value, 0, 1'000'000'000, "an exchange number"));
}

Parsed parseOptions(const std::vector<std::string>& words) {
    Parsed parsed;
    SimOptions& options = parsed.options;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "--help" || word == "-h") {
            parsed.help = true;
            continue;
        }
        if (word == "--version") {
            parsed.version = true;
            continue;
        }
        if (word == "--pty") {
            options.pseudoTerminal = true;
            continue;
        }
        if (word == "--refuse") {
            options.faults.refuseConnections = true;
            continue;
        }
        const bool takesValue = word == "--model" || word == "--log" || word == "--tcp-port" ||
                                word == "--mgmt-port" || word == "--udp-port" || word == "--lifetime" ||
                                word == "--silent-from" || word == "--bad-checksum-at" ||
                                word == "--truncate-at" || word == "--garbage-at" || word == "--close-at" ||
                                word == "--split-at" || word == "--late-at" || word == "--late-ms";
        if (!takesValue)
            throw OptionError{word.starts_with("-") ? "unknown option '" + word + "'"
                                                    : "unexpected argument '" + word + "'"};
        if (i + 1 >= words.size())
            throw OptionError{word + " needs a value"};
        const std::string& value = words[++i];
        if (word == "--model") {
            const auto model = korvan::parseModelName(value);
            if (!model)
                throw OptionError{"unknown model '" + value +
                                  "' for --model (vela-1h-tcp, vela-3h-tcp or vela-3h-rtu)"};
            options.model = *model;
        } else if (word == "--log") {
            options.logPath = value;
        } else if (word == "--tcp-port") {
            options.configurationPort = portFor(word, value);
        } else if (word == "--mgmt-port") {
            options.managementPort = portFor(word, value);
        } else if (word == "--udp-port") {
            options.searchPort = portFor(word, value);
        } else if (word == "--lifetime") {
            options.lifetimeMs =
                static_cast<int>(numberFor(word, value, 0, 65535, "a number of seconds")) * 1000;
        } else if (word == "--late-ms") {
            options.faults.lateMs =
                static_cast<int>(numberFor(word, value, 0, 65535, "a number of milliseconds"));
        } else if (word == "--silent-from") {
            options.faults.silentFrom = countFor(word, value);
        } else if (word == "--bad-checksum-at") {
            options.faults.badChecksumAt = countFor(word, value);
        } else if (word == "--truncate-at") {
            options.faults.truncateAt = countFor(word, value);
        } else if (word == "--garbage-at") {
            options.faults.garbageAt = countFor(word, value);
        } else if (word == "--close-at") {
            options.faults.closeAt = countFor(word, value);
        } else if (word == "--split-at") {
            options.faults.splitAt = countFor(word, value);
        } else {
            options.faults.lateAt = countFor(word, value);
        }
    }
    return parsed;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> words(argv + 1, argv + argc);
    Parsed parsed;
    try {
        parsed = parseOptions(words);
    } catch (const OptionError& error) {
        std::cerr << "vela-sim: " << error.reason << '\n' << usage << "'vela-sim --help' tells more.\n";
        return exitUsage;
    }
    if (parsed.help) {
        std::cout << help;
        return 0;
    }
    if (parsed.version) {
        std::cout << "vela-sim " KORVAN_VERSION "\n";
        return 0;
    }
    const SimOptions& options = parsed.options;
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
