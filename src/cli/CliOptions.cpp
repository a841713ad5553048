#include "CliOptions.h"

#include <algorithm>
#include <charconv>

namespace korvan::cli {
namespace {

std::uint16_t parsePort(const std::string& text) {
    unsigned value = 0;
    const auto* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value == 0 || value > 65535)
        throw UsageError{"'" + text + "' is not a port number (1-65535)"};
    return static_cast<std::uint16_t>(value);
}

GatewayEndpoint parseEndpoint(const std::string& text) {
    GatewayEndpoint endpoint;
    const auto colon = text.rfind(':');
    endpoint.host = text.substr(0, colon);
    if (colon != std::string::npos)
        endpoint.port = parsePort(text.substr(colon + 1));
    if (endpoint.host.empty())
        throw UsageError{"--gateway needs a host"};
    return endpoint;
}

// A negative number such as -1.5 is an argument, not an option.
bool looksLikeOption(const std::string& word) {
    return word.size() > 1 && word[0] == '-' && !(word[1] >= '0' && word[1] <= '9') && word[1] != '.';
}

} // namespace

Invocation parseInvocation(const std::vector<std::string>& words) {
    Invocation invocation;
    std::size_t i = 0;
    const auto valueOf = [&](const std::string& option) -> const std::string& {
        if (i + 1 >= words.size())
            throw UsageError{option + " needs a value"};
        return words[++i];
    };
    for (; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "--help" || word == "-h") {
            invocation.help = true;
        } else if (word == "--model") {
            const std::string& name = valueOf(word);
            invocation.model = parseModelName(name);
            if (!invocation.model)
                throw UsageError{"unknown model '" + name + "' (vela-1h-tcp, vela-3h-tcp or vela-3h-rtu)"};
        } else if (word == "--gateway") {
            invocation.gateway = parseEndpoint(valueOf(word));
        } else if (word == "--mgmt-port") {
            invocation.managementPort = parsePort(valueOf(word));
        } else if (word == "--serial") {
            invocation.serialDevice = valueOf(word);
        } else if (word.starts_with("-")) {
            throw UsageError{"unknown option '" + word + "'"};
        } else {
            break;
        }
    }
    if (i < words.size()) {
        invocation.command = words[i];
        invocation.arguments.assign(words.begin() + static_cast<std::ptrdiff_t>(i) + 1, words.end());
    }
    if (invocation.gateway && invocation.serialDevice)
        throw UsageError{"--gateway and --serial exclude each other"};
    if (invocation.model) {
        if (isTcpModel(*invocation.model) && invocation.serialDevice)
            throw UsageError{std::string(modelName(*invocation.model)) + " is reached over Ethernet, not --serial"};
        if (!isTcpModel(*invocation.model) && invocation.gateway)
            throw UsageError{std::string(modelName(*invocation.model)) + " is reached over a serial line, not --gateway"};
    }
    return invocation;
}

CommandArguments::CommandArguments(const std::vector<std::string>& words, const std::vector<std::string>& valueOptions,
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

void CommandArguments::expectPositional(std::size_t count) const {
    if (positional_.size() < count)
        throw UsageError{"missing argument"};
    if (positional_.size() > count)
        throw UsageError{"unexpected argument '" + positional_[count] + "'"};
}

} // namespace korvan::cli
