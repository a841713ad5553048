#pragma once

#include "CliOptions.h"

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvan::cli {

class StderrPrompt;

// What a command works with: its invocation, the two output streams and the prompt that
// prints the program's messages on standard error.
struct CliContext {
    const Invocation& invocation;
    std::ostream& out;
    std::ostream& err;
    StderrPrompt& prompt;

    // The model, required by every command that touches a project or a gateway.
    [[nodiscard]] GatewayModel requireModel() const;
};

using CommandFunction = int (*)(CliContext&);

struct CommandEntry {
    std::string_view name;
    std::string_view synopsis;
    CommandFunction run;
};

[[nodiscard]] std::span<const CommandEntry> commandTable();

// Runs korvanctl on the words after the program name; answers the exit status.
int runKorvanctl(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

} // namespace korvan::cli
