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

    // The model, required by the commands that have no project to take it from.
    [[nodiscard]] GatewayModel requireModel() const;

    // korvanctl's own line of context under the program's messages: which file, port, device
    // or command they are about. It begins with "korvanctl: ".
    void note(std::string_view text) const;
};

using CommandFunction = int (*)(CliContext&);

enum class CommandGroup { Project, Gateway, Converter };

struct CommandEntry {
    std::string_view name;
    CommandGroup group;
    std::string_view synopsis; // the arguments after the command's name
    std::string_view summary;  // one line for the command list
    std::string_view details;  // the command's help: what it needs, its options, what it writes
    CommandFunction run;
};

[[nodiscard]] std::span<const CommandEntry> commandTable();

// Runs korvanctl on the words after the program name; answers the exit status.
int runKorvanctl(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

} // namespace korvan::cli
