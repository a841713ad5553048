#include "CommandTable.h"

#include "Commands.h"
#include "ExitCode.h"
#include "StderrPrompt.h"
#include "base/ResultCode.h"

#include <array>
#include <iomanip>
#include <ostream>

#ifndef KORVAN_VERSION
#error "KORVAN_VERSION is set by the build"
#endif

namespace korvan::cli {
namespace {

constexpr std::array commands{
    CommandEntry{"new", CommandGroup::Project, "-o FILE [--force]",
                 "write a new project from the model's template (needs --model)",
                 "Writes a new project for the model given with --model, filled from the model's\n"
                 "template beside korvanctl (Vela-1H-TCP.ini, Vela-3H-TCP.ini or Vela-3H-RTU.ini).\n"
                 "  -o FILE   the project file to write\n"
                 "  --force   replace FILE if it exists (without it an existing file is kept)\n",
                 runNew},
    CommandEntry{"show", CommandGroup::Project, "FILE", "print every parameter of a project",
                 "Prints the project as the desktop program's tree shows it: the network side\n"
                 "(Fieldbus), each channel, its devices (Node) and their commands, every parameter\n"
                 "as \"name = value\". The model is taken from FILE unless --model is given.\n",
                 runShow},
    CommandEntry{"check", CommandGroup::Project, "FILE",
                 "check every parameter and look for overlapping memory addresses",
                 "Checks every device's parameters as a download does, then the memory mapping:\n"
                 "no two commands may use the same send or receive memory. Exits 0 when the\n"
                 "project can be downloaded, 11 on overlaps (each overlap is named), else with\n"
                 "the result code of the first bad parameter. The model is taken from FILE unless\n"
                 "--model is given.\n",
                 runCheck},
    CommandEntry{"automap", CommandGroup::Project, "FILE [-o OUT]",
                 "lay the memory and register addresses out without overlaps",
                 "Lays the memory and Modbus register addresses of every command out one after\n"
                 "the other, as Auto Mapping in the desktop program does.\n"
                 "  -o OUT   write the result to OUT (default: rewrite FILE itself)\n"
                 "The model is taken from FILE unless --model is given.\n",
                 runAutomap},
    CommandEntry{"export", CommandGroup::Project, "FILE -o OUT.xlsx", "write the project as a spreadsheet",
                 "Writes the project as an Excel workbook (.xlsx) documenting every channel,\n"
                 "device and command.\n"
                 "  -o OUT.xlsx   the workbook to write (a name without .xlsx is warned about)\n"
                 "The model is taken from FILE unless --model is given.\n",
                 runExport},
    CommandEntry{"download", CommandGroup::Gateway, "FILE LINK [--yes] [--reset | --no-reset]",
                 "write the project into the gateway",
                 "Writes the project into the gateway: first the network side's settings (on\n"
                 "Ethernet over the management port: IP Address, Subnet Mask, Default Gateway),\n"
                 "then each channel and every command. The overlap check runs first. The model is\n"
                 "taken from FILE unless --model is given.\n"
                 "  LINK         --gateway HOST[:PORT] [--mgmt-port PORT], or --serial DEVICE\n"
                 "  --yes        go on when the project's Assign IP Mode is DHCP (else it stops)\n"
                 "  --reset      answer Yes to the remote reset question: the gateway restarts\n"
                 "  --no-reset   answer No (the default)\n"
                 "The project's network settings replace the gateway's: check them with\n"
                 "'korvanctl show FILE' first.\n",
                 runDownload},
    CommandEntry{"upload", CommandGroup::Gateway, "LINK -o FILE",
                 "read the gateway's configuration into a project file (needs --model)",
                 "Reads the configuration of the gateway (the model given with --model) and\n"
                 "writes it as a project file.\n"
                 "  LINK      --gateway HOST[:PORT] [--mgmt-port PORT], or --serial DEVICE\n"
                 "  -o FILE   the project file to write\n",
                 runUpload},
    CommandEntry{"search", CommandGroup::Gateway, "[--gateway HOST[:PORT]] [--search-port PORT]",
                 "list the gateways that answer on Ethernet",
                 "Asks for gateways over UDP and prints one line per answer: number, model, IP\n"
                 "address, MAC address, firmware version and state, separated by tabs. Without\n"
                 "--gateway it asks every local network by broadcast; with it, that address only.\n"
                 "It asks on the port of --search-port, else the PORT of --gateway HOST:PORT, else\n"
                 "the management port (18801). Exits 1 when no gateway answered.\n",
                 runSearch},
    CommandEntry{"diagnose", CommandGroup::Gateway, "LINK --channel N [--node ADDRESS]",
                 "print a channel's or a device's live status (needs --model)",
                 "Reads the gateway's configuration (as the Diagnose window does), then prints the\n"
                 "status of one channel: its state machine and request, response and error\n"
                 "counts; with --node, the result of each command of that device.\n"
                 "  LINK              --gateway HOST[:PORT] [--mgmt-port PORT], or --serial DEVICE\n"
                 "  --channel N       the channel, 1 (Vela-1H-TCP) or 1-3\n"
                 "  --node ADDRESS    the device's HART address, 0-15\n",
                 runDiagnose},
    CommandEntry{"pack", CommandGroup::Converter, "TEXT", "HART packed ASCII of TEXT, as hexadecimal bytes",
                 "Prints TEXT packed as HART packed ASCII (letters are packed as capitals), e.g.\n"
                 "'korvanctl pack ABCD' prints 04 20 C4.\n",
                 runPack},
    CommandEntry{"unpack", CommandGroup::Converter, "HEX", "the text of HART packed ASCII bytes",
                 "Prints the text of packed ASCII bytes given as hexadecimal pairs separated by\n"
                 "one space (a multiple of three bytes), e.g. 'korvanctl unpack \"04 20 C4\"'.\n",
                 runUnpack},
    CommandEntry{"float2hex", CommandGroup::Converter, "NUMBER",
                 "the IEEE 754 single-precision bytes of NUMBER",
                 "Prints the four bytes of NUMBER as an IEEE 754 single-precision number, most\n"
                 "significant first, e.g. 'korvanctl float2hex 1' prints 3F 80 00 00.\n",
                 runFloatToHex},
    CommandEntry{"hex2float", CommandGroup::Converter, "HEX", "the number of four IEEE 754 bytes",
                 "Prints the number of four IEEE 754 single-precision bytes given as hexadecimal\n"
                 "pairs separated by one space, e.g. 'korvanctl hex2float \"3F 80 00 00\"'.\n",
                 runHexToFloat},
    CommandEntry{"unit", CommandGroup::Converter, "CODE", "the HART engineering unit of a code (0-255)",
                 "Prints the text of a HART engineering-unit code, 0-255, from libMeaslex.so beside\n"
                 "korvanctl.\n",
                 runUnit},
    CommandEntry{"maker", CommandGroup::Converter, "CODE", "the HART manufacturer of a code (0-255)",
                 "Prints the name of a HART manufacturer code, 0-255, from libMakerlex.so beside\n"
                 "korvanctl.\n",
                 runMaker},
};

constexpr std::string_view optionsText =
    "options (before or after the command):\n"
    "  --model MODEL           vela-1h-tcp, vela-3h-tcp or vela-3h-rtu, in any letter case;\n"
    "                          new, upload and diagnose need it; the commands that read a\n"
    "                          project take it from the file when it is left out\n"
    "  --gateway HOST[:PORT]   the gateway on Ethernet (the TCP models); PORT is its\n"
    "                          configuration port, default 502\n"
    "  --mgmt-port PORT        the gateway's management port, default 18801\n"
    "  --search-port PORT      the UDP port search asks on, default the management port\n"
    "  --serial DEVICE         the serial port of a Vela-3H-RTU, e.g. /dev/ttyUSB0 (19200 8N1)\n"
    "  -h, --help              this help; with a command, the command's own\n"
    "  --version               the version\n";

constexpr std::string_view examplesText =
    "examples:\n"
    "  korvanctl --model vela-3h-tcp new -o plant.xml\n"
    "  korvanctl automap plant.xml && korvanctl check plant.xml\n"
    "  korvanctl search --gateway 192.168.0.10\n"
    "  korvanctl download plant.xml --gateway 192.168.0.10 --reset\n"
    "  korvanctl --model vela-3h-tcp --gateway 192.168.0.10 upload -o backup.xml\n"
    "  korvanctl --model vela-3h-rtu --serial /dev/ttyUSB0 diagnose --channel 1 --node 0\n";

std::string commandUsage(const CommandEntry& entry) {
    return "usage: korvanctl [OPTIONS] " + std::string(entry.name) + " " + std::string(entry.synopsis) + "\n";
}

// What a result code means for korvanctl, where its message alone does not tell.
std::string_view exitCodeNote(int code) {
    switch (code) {
    case 4:
        return " (--serial DEVICE)";
    case 11:
        return " (check, download: overlapping memory)";
    case 13:
        return " (no connection or no answer on Ethernet)";
    case 20:
        return " (Ctrl+C or SIGTERM)";
    default:
        return "";
    }
}

void printExitCodes(std::ostream& stream) {
    stream << "exit status:\n"
              "  0   success\n"
              "  1   the command failed, its message says why (search: no gateway answered)\n"
              "  1-20 the result code of the step that failed, after that step's message:\n";
    for (int code = 1; code <= 14; ++code)
        stream << "        " << std::left << std::setw(4) << code << resultMessage(code) << exitCodeNote(code)
               << '\n';
    stream << "        20  " << resultMessage(20) << exitCodeNote(20) << '\n'
           << "  64  the command line is wrong\n"
              "  65  the project file cannot be used (missing, unreadable, no project, another model)\n";
}

// A command's synopsis and summary on one line when the synopsis is short, else on two.
constexpr std::size_t summaryColumn = 30;

void printCommandList(std::ostream& stream, CommandGroup group, std::string_view heading) {
    stream << heading << ":\n";
    for (const CommandEntry& entry : commands) {
        if (entry.group != group)
            continue;
        const std::string call = std::string(entry.name) + " " + std::string(entry.synopsis);
        stream << "  " << call;
        if (call.size() + 2 < summaryColumn)
            stream << std::string(summaryColumn - call.size(), ' ');
        else
            stream << '\n' << std::string(summaryColumn + 2, ' ');
        stream << entry.summary << '\n';
    }
}

void printHelp(std::ostream& stream) {
    stream << "korvanctl " KORVAN_VERSION " configures and debugs Vela HART-to-Modbus gateways.\n\n"
              "usage: korvanctl [OPTIONS] COMMAND [ARGUMENTS]\n\n";
    stream << optionsText << '\n';
    printCommandList(stream, CommandGroup::Project, "project files");
    stream << '\n';
    printCommandList(stream, CommandGroup::Gateway, "gateway");
    stream << "  LINK is --gateway HOST[:PORT] [--mgmt-port PORT] (Vela-1H-TCP, Vela-3H-TCP) or\n"
              "  --serial DEVICE (Vela-3H-RTU)\n\n";
    printCommandList(stream, CommandGroup::Converter, "converters and code tables");
    stream << '\n';
    printExitCodes(stream);
    stream << '\n' << examplesText;
}

void printCommandHelp(std::ostream& stream, const CommandEntry& entry) {
    stream << commandUsage(entry) << '\n'
           << entry.details << "\n'korvanctl --help' lists the options and exit codes.\n";
}

// After a usage error: the command's own usage when the command is known, else korvanctl's.
void printShortUsage(std::ostream& stream, const CommandEntry* entry) {
    if (entry != nullptr)
        stream << commandUsage(*entry);
    else
        stream << "usage: korvanctl [OPTIONS] COMMAND [ARGUMENTS]\n";
    stream << "'korvanctl " << (entry != nullptr ? std::string(entry->name) + " " : std::string())
           << "--help' tells more.\n";
}

const CommandEntry* findCommand(std::string_view name) {
    for (const CommandEntry& entry : commands)
        if (entry.name == name)
            return &entry;
    return nullptr;
}

// The command named on a command line that may not parse: the first word that is one.
const CommandEntry* namedCommand(const std::vector<std::string>& words) {
    for (const std::string& word : words)
        if (const CommandEntry* entry = findCommand(word))
            return entry;
    return nullptr;
}

} // namespace

std::span<const CommandEntry> commandTable() {
    return commands;
}

GatewayModel CliContext::requireModel() const {
    if (!invocation.model)
        throw UsageError{"'" + invocation.command +
                         "' needs --model (vela-1h-tcp, vela-3h-tcp or vela-3h-rtu)"};
    return *invocation.model;
}

void CliContext::note(std::string_view text) const {
    err << "korvanctl: " << text << '\n';
}

int runKorvanctl(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    const CommandEntry* entry = nullptr;
    try {
        const Invocation invocation = parseInvocation(words);
        if (invocation.command == "help" && invocation.arguments.size() <= 1) {
            if (invocation.arguments.empty()) {
                printHelp(out);
                return ExitOk;
            }
            entry = findCommand(invocation.arguments[0]);
            if (entry == nullptr)
                throw UsageError{"unknown command '" + invocation.arguments[0] + "'"};
            printCommandHelp(out, *entry);
            return ExitOk;
        }
        entry = findCommand(invocation.command);
        if (invocation.help) {
            if (entry != nullptr)
                printCommandHelp(out, *entry);
            else
                printHelp(out);
            return ExitOk;
        }
        if (invocation.version) {
            out << "korvanctl " KORVAN_VERSION "\n";
            return ExitOk;
        }
        if (invocation.command.empty())
            throw UsageError{"no command given"};
        if (entry == nullptr)
            throw UsageError{"unknown command '" + invocation.command + "'"};
        StderrPrompt prompt(err);
        CliContext context{invocation, out, err, prompt};
        return entry->run(context);
    } catch (const UsageError& error) {
        if (entry == nullptr)
            entry = namedCommand(words);
        err << "korvanctl: " << error.reason << '\n';
        printShortUsage(err, entry);
        return ExitUsage;
    }
}

} // namespace korvan::cli
