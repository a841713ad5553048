#include "CliOptions.h"

#include <algorithm>
#include <charconv>

namespace korvan::cli {
namespace {

// A negative number such as -1.5 is an argument, not an option.
bool looksLikeOption(const std::string& word) {
    return word.size() > 1 && word[0] == '-' && !(word[1] >= '0' && word[1] <= '9') && word[1] != '.';
}

std::optional<std::uint16_t> parsePortNumber(const std::string& text) {
    unsigned value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || ptr != end || value == 0 || value > 65535)
        return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

} // namespace

Invocation parseInvocation(const std::vector<std::string>& words) {
    Invocation invocation;
    bool commandSeen = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        const GatewayOptionRead read = readGatewayOption(words, i, invocation);
        if (!read.error.empty())
            throw UsageError{read.error};
        if (read.matched) {
            if (word == "--gateway")
                invocation.gatewayPortGiven = words[i].find(':') != std::string::npos;
            continue;
        }
        if (word == "--search-port") {
            if (i + 1 >= words.size())
                throw UsageError{word + " needs a value"};
            invocation.searchPort = parsePortNumber(words[++i]);
            if (!invocation.searchPort)
                throw UsageError{"'" + words[i] + "' is not a port number (1-65535)"};
        } else if (word == "--help" || word == "-h") {
            invocation.help = true;
        } else if (word == "--version") {
            invocation.version = true;
        } else if (commandSeen) {
            invocation.arguments.push_back(word);
        } else if (looksLikeOption(word)) {
            throw UsageError{"unknown option '" + word + "'"};
        } else {
            invocation.command = word;
            commandSeen = true;
        }
    }
    if (const std::string conflict = gatewayOptionsConflict(invocation); !conflict.empty())
        throw UsageError{conflict};
    return invocation;
}

CommandArguments::CommandArguments(const std::vector<std::string>& words,
                                   const std::vector<std::string>& valueOptions,
                                   const std::vector<std::string>& flagOptions) {
    const auto contains = [](const std::vector<std::string>& list, const std::string& word) {
        return std::find(list.begin(), list.end(), word) != list.end();
    };
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (contains(valueOptions, word)) {
            if (i + 1 >= words.size())
                throw UsageError{word + " needs a value"};
            values_.emplace_back(word, words[++i]);
        } else if (contains(flagOptions, word)) {
            flags_.push_back(word);
        } else if (looksLikeOption(word)) {
            throw UsageError{"unknown option '" + word + "'"};
        } else {
            positional_.push_back(word);
        }
    }
}

std::optional<std::string> CommandArguments::value(const std::string& option) const {
    for (auto it = values_.rbegin(); it != values_.rend(); ++it)
        if (it->first == option)
            return it->second;
    return std::nullopt;
}

std::string CommandArguments::required(const std::string& option, const std::string& what) const {
    if (auto found = value(option))
        return *found;
    throw UsageError{"missing " + option + " " + what};
}

bool CommandArguments::flag(const std::string& option) const {
    return std::find(flags_.begin(), flags_.end(), option) != flags_.end();
}

void CommandArguments::expectPositional(std::size_t count, std::string_view what) const {
    if (positional_.size() < count)
        throw UsageError{"missing " + std::string(what)};
    if (positional_.size() > count)
        throw UsageError{"unexpected argument '" + positional_[count] + "'"};
}

} // namespace korvan::cli
