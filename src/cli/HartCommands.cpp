#include "CommandTable.h"
#include "Commands.h"
#include "ExitCode.h"
#include "StderrPrompt.h"
#include "base/Ieee754.h"
#include "hart/CodeTableLibraries.h"
#include "os/FileSystem.h"
#include "tools/FloatConverter.h"
#include "tools/PackedAsciiConverter.h"

#include <charconv>
#include <ostream>

namespace korvan::cli {
namespace {

// The command's words joined by single blanks, so that both `pack "AB CD"` and `pack AB CD`
// convert the same text.
std::string joinedArguments(const CliContext& context, const char* what) {
    const CommandArguments arguments(context.invocation.arguments, {}, {});
    if (arguments.positional().empty())
        throw UsageError{context.invocation.command + " needs " + what};
    std::string text;
    for (const std::string& word : arguments.positional())
        text += (text.empty() ? "" : " ") + word;
    return text;
}

int printed(CliContext& context, const std::optional<std::string>& text) {
    if (!text)
        return ExitFailure;
    context.out << *text << '\n';
    return ExitOk;
}

// A code byte 0-255 as the program passes it to the libraries.
int codeArgument(const CliContext& context) {
    const CommandArguments arguments(context.invocation.arguments, {}, {});
    arguments.expectPositional(1, "CODE");
    const std::string& text = arguments.positional()[0];
    int code = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), code);
    if (error != std::errc() || end != text.data() + text.size() || code < 0 || code > 255)
        throw UsageError{"'" + text + "' is not a code (0-255)"};
    return code;
}

// Follows the libraries' own message: a korvanctl copied away from them says where it looked.
void reportLibraryFolder(const CliContext& context) {
    const std::string folder = os::programDirectory().empty() ? "/" : os::programDirectory();
    context.err << "korvanctl: looked for " << CodeTableLibraries::MakerlexFile << " and "
                << CodeTableLibraries::MeaslexFile << " in " << folder << '\n';
}

} // namespace

int runPack(CliContext& context) {
    return printed(context, packTextToHex(joinedArguments(context, "TEXT"), context.prompt));
}

int runUnpack(CliContext& context) {
    return printed(context, unpackHexToText(joinedArguments(context, "HEX"), context.prompt));
}

int runFloatToHex(CliContext& context) {
    const auto value = parseFloatText(joinedArguments(context, "NUMBER"), context.prompt);
    return printed(context, value ? std::optional(floatToHexText(*value)) : std::nullopt);
}

int runHexToFloat(CliContext& context) {
    const auto value = hexTextToFloat(joinedArguments(context, "HEX"), context.prompt);
    return printed(context, value ? std::optional(shortFloatText(*value)) : std::nullopt);
}

int runUnit(CliContext& context) {
    const int code = codeArgument(context);
    CodeTableLibraries libraries(context.prompt);
    if (libraries.bind() == BindOutcome::LoadFailed) {
        reportLibraryFolder(context);
        return ExitFailure;
    }
    if (!libraries.hasUnitFunction()) {
        static_cast<void>(libraries.unitText(code)); // says that the function is missing
        reportLibraryFolder(context);
        return ExitFailure;
    }
    context.out << libraries.unitText(code) << '\n';
    return ExitOk;
}

int runMaker(CliContext& context) {
    const int code = codeArgument(context);
    CodeTableLibraries libraries(context.prompt);
    if (libraries.bind() == BindOutcome::LoadFailed) {
        reportLibraryFolder(context);
        return ExitFailure;
    }
    if (!libraries.hasManufacturerFunction()) {
        context.prompt.message("Failed calling function in " + std::string(CodeTableLibraries::MakerlexFile) +
                               "!");
        reportLibraryFolder(context);
        return ExitFailure;
    }
    context.out << libraries.manufacturerText(code) << '\n';
    return ExitOk;
}

} // namespace korvan::cli
