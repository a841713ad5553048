#pragma once

#include "app/GatewayOptions.h"

#include <optional>
#include <string>
#include <vector>

namespace korvan::cli {

// The parsed command line: the gateway options, the command's name and its own arguments.
// The global options may stand before or after the command's name.
struct Invocation : GatewayOptions {
    bool help = false;
    bool version = false;
    // --gateway named its port (HOST:PORT): a search asks on that port.
    bool gatewayPortGiven = false;
    // --search-port: the UDP port a search asks on.
    std::optional<std::uint16_t> searchPort;
    std::string command;
    std::vector<std::string> arguments;
};

// Thrown for a command line that cannot be carried out; what() is the reason.
struct UsageError {
    std::string reason;
};

// Parses the global options wherever they are; the first other word is the command's name
// and the remaining words are left to the command.
[[nodiscard]] Invocation parseInvocation(const std::vector<std::string>& words);

// The command's own options: "-o FILE" style values and bare flags, with the remaining
// positional words in order. Unknown options are usage errors.
class CommandArguments {
public:
    CommandArguments(const std::vector<std::string>& words, const std::vector<std::string>& valueOptions,
                     const std::vector<std::string>& flagOptions);

    [[nodiscard]] std::optional<std::string> value(const std::string& option) const;
    // The value of an option the command cannot do without; a usage error names `what`.
    [[nodiscard]] std::string required(const std::string& option, const std::string& what) const;
    [[nodiscard]] bool flag(const std::string& option) const;
    [[nodiscard]] const std::vector<std::string>& positional() const { return positional_; }

    // The positional words must number exactly `count`; a usage error names `what` is missing.
    void expectPositional(std::size_t count, std::string_view what = "argument") const;

private:
    std::vector<std::pair<std::string, std::string>> values_;
    std::vector<std::string> flags_;
    std::vector<std::string> positional_;
};

} // namespace korvan::cli
