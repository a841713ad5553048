#include "shell/CommandLine.h"

namespace korvan::gui {

ProgramArguments parseProgramArguments(const std::vector<std::string>& words) {
    ProgramArguments arguments;
    for (std::size_t i = 0; i < words.size() && arguments.error.empty(); ++i) {
        const std::string& word = words[i];
        const GatewayOptionRead read = readGatewayOption(words, i, arguments.gateway);
        if (read.matched)
            arguments.error = read.error;
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
           "              [--gateway HOST[:PORT] | --serial DEVICE] [--mgmt-port PORT] [PROJECT.xml]\n"
           "       korvan --help | --version\n\n"
           "  --model      skips the device dialog (the letter case does not matter)\n"
           "  --gateway    the gateway on Ethernet, configuration port 502 unless given\n"
           "  --mgmt-port  the gateway's management port (18801 unless given)\n"
           "  --serial     the serial port of a Vela-3H-RTU gateway\n"
           "  PROJECT.xml  the project opened at start instead of the model's template\n"
           "  --version    prints the version\n";
}

} // namespace korvan::gui
