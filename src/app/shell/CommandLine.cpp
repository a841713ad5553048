#include "shell/CommandLine.h"

#include <charconv>

namespace korvan::gui {
namespace {

std::optional<std::uint16_t> portNumber(const std::string& text) {
    unsigned value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value == 0 || value > 65535)
        return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

// --search-port PORT at words[i], moving i onto its value; the reason when it is unusable.
std::string readSearchPort(const std::vector<std::string>& words, std::size_t& i,
                           ProgramArguments& arguments) {
    if (i + 1 >= words.size())
        return words[i] + " needs a value";
    const std::string& value = words[++i];
    arguments.searchPort = portNumber(value);
    if (!arguments.searchPort)
        return "'" + value + "' is not a port number (1-65535)";
    return {};
}

} // namespace

ProgramArguments parseProgramArguments(const std::vector<std::string>& words) {
    ProgramArguments arguments;
    for (std::size_t i = 0; i < words.size() && arguments.error.empty(); ++i) {
        const std::string& word = words[i];
        const GatewayOptionRead read = readGatewayOption(words, i, arguments.gateway);
        if (read.matched)
            arguments.error = read.error;
        else if (word == "--search-port")
            arguments.error = readSearchPort(words, i, arguments);
        else if (word == "--help" || word == "-h")
            arguments.help = true;
        else if (word == "--version")
            arguments.version = true;
        else if (word.size() > 1 && word.starts_with("-"))
            arguments.error = "unknown option '" + word + "'";
        else if (arguments.projectFile)
            arguments.error = "unexpected argument '" + word + "': one project file at most";
        else
            arguments.projectFile = word;
    }
    if (arguments.error.empty())
        arguments.error = gatewayOptionsConflict(arguments.gateway);
    return arguments;
}

const char* programUsage() {
    return "usage: korvan [--model vela-1h-tcp|vela-3h-tcp|vela-3h-rtu]\n"
           "              [--gateway HOST[:PORT] | --serial DEVICE] [--mgmt-port PORT]\n"
           "              [--search-port PORT] [PROJECT.xml]\n"
           "       korvan --help | --version\n\n"
           "  --model        skips the device dialog (the letter case does not matter)\n"
           "  --gateway      the gateway on Ethernet, configuration port 502 unless given\n"
           "  --mgmt-port    the gateway's management port (18801 unless given)\n"
           "  --search-port  the UDP port the gateway search asks on (the management port\n"
           "                 unless given)\n"
           "  --serial       the serial port of a Vela-3H-RTU gateway\n"
           "  PROJECT.xml    the project opened at start instead of the model's template\n"
           "  --version      prints the version\n";
}

} // namespace korvan::gui
