#include "app/GatewayOptions.h"

#include <charconv>

namespace korvan {
namespace {

std::optional<std::uint16_t> parsePort(const std::string& text) {
    unsigned value = 0;
    const auto* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value == 0 || value > 65535)
        return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

std::string notAPort(const std::string& text) {
    return "'" + text + "' is not a port number (1-65535)";
}

std::string readEndpoint(const std::string& text, GatewayOptions& options) {
    GatewayEndpoint endpoint;
    const auto colon = text.rfind(':');
    endpoint.host = text.substr(0, colon);
    if (colon != std::string::npos) {
        const std::string portText = text.substr(colon + 1);
        const auto port = parsePort(portText);
        if (!port)
            return notAPort(portText);
        endpoint.port = *port;
    }
    if (endpoint.host.empty())
        return "--gateway needs a host";
    options.gateway = endpoint;
    return {};
}

std::string readValue(const std::string& option, const std::string& value, GatewayOptions& options) {
    if (option == "--model") {
        options.model = parseModelName(value);
        if (!options.model)
            return "unknown model '" + value + "' (vela-1h-tcp, vela-3h-tcp or vela-3h-rtu)";
        return {};
    }
    if (option == "--gateway")
        return readEndpoint(value, options);
    if (option == "--mgmt-port") {
        const auto port = parsePort(value);
        if (!port)
            return notAPort(value);
        options.managementPort = *port;
        return {};
    }
    options.serialDevice = value;
    return {};
}

} // namespace

GatewayOptionRead readGatewayOption(const std::vector<std::string>& words, std::size_t& index,
                                    GatewayOptions& options) {
    const std::string& word = words.at(index);
    if (word != "--model" && word != "--gateway" && word != "--mgmt-port" && word != "--serial")
        return {};
    if (index + 1 >= words.size())
        return {true, word + " needs a value"};
    ++index;
    return {true, readValue(word, words[index], options)};
}

std::string gatewayOptionsConflict(const GatewayOptions& options) {
    if (options.gateway && options.serialDevice)
        return "--gateway and --serial exclude each other";
    if (!options.model)
        return {};
    const std::string name(modelName(*options.model));
    if (isTcpModel(*options.model) && options.serialDevice)
        return name + " is reached over Ethernet, not --serial";
    if (!isTcpModel(*options.model) && options.gateway)
        return name + " is reached over a serial line, not --gateway";
    return {};
}

} // namespace korvan
