#include "CommandTable.h"

#include "Commands.h"
#include "ExitCode.h"
#include "StderrPrompt.h"

#include <array>
#include <ostream>

namespace korvan::cli {
namespace {

constexpr std::array commands{
    CommandEntry{"new", "new -o FILE", runNew},
    CommandEntry{"show", "show FILE", runShow},
    CommandEntry{"check", "check FILE", runCheck},
    CommandEntry{"automap", "automap FILE [-o OUT]", runAutomap},
    CommandEntry{"export", "export FILE -o OUT.xlsx", runExport},
    CommandEntry{"pack", "pack TEXT", runPack},
    CommandEntry{"unpack", "unpack HEX", runUnpack},
    CommandEntry{"float2hex", "float2hex NUMBER", runFloatToHex},
    CommandEntry{"hex2float", "hex2float HEX", runHexToFloat},
    CommandEntry{"unit", "unit CODE", runUnit},
    CommandEntry{"maker", "maker CODE", runMaker},
    CommandEntry{"download", "download FILE (--gateway ... | --serial ...) [--yes] [--reset|--no-reset]", runDownload},
    CommandEntry{"upload", "upload (--gateway ... | --serial ...) -o FILE", runUpload},
    CommandEntry{"search", "search [--gateway HOST]", runSearch},
    CommandEntry{"diagnose", "diagnose (--gateway ... | --serial ...) --channel N [--node ADDRESS]", runDiagnose},
};

void printUsage(std::ostream& stream) {
    stream << "usage: korvanctl [--model vela-1h-tcp|vela-3h-tcp|vela-3h-rtu]\n"
              "                 [--gateway HOST[:PORT] | --serial DEVICE] [--mgmt-port PORT]\n"
              "                 COMMAND [ARGUMENTS]\n\n"
              "commands:\n";
    for (const CommandEntry& entry : commands)
        stream << "  " << entry.synopsis << '\n';
}

} // namespace

std::span<const CommandEntry> commandTable() { return commands; }

GatewayModel CliContext::requireModel() const {
    if (!invocation.model)
        throw UsageError{"'" + invocation.command + "' needs --model"};
    return *invocation.model;
}

int runKorvanctl(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    try {
        const Invocation invocation = parseInvocation(words);
        if (invocation.help) {
            printUsage(out);
            return ExitOk;
        }
        if (invocation.command.empty())
            throw UsageError{"no command given"};
        for (const CommandEntry& entry : commands) {
            if (entry.name != invocation.command)
                continue;
            StderrPrompt prompt(err);
            CliContext context{invocation, out, err, prompt};
            return entry.run(context);
        }
        throw UsageError{"unknown command '" + invocation.command + "'"};
    } catch (const UsageError& error) {
        err << "korvanctl: " << error.reason << "\n\n";
        printUsage(err);
        return ExitUsage;
    }
}

} // namespace korvan::cli
