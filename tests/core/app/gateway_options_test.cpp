#include "app/GatewayOptions.h"

#include <gtest/gtest.h>

namespace korvan {
namespace {

using Words = std::vector<std::string>;

// Reads every word as a gateway option; the first error, or empty.
std::string readAll(const Words& words, GatewayOptions& options) {
    for (std::size_t i = 0; i < words.size(); ++i) {
        const GatewayOptionRead read = readGatewayOption(words, i, options);
        if (!read.matched)
            return "not an option: " + words[i];
        if (!read.error.empty())
            return read.error;
    }
    return gatewayOptionsConflict(options);
}

TEST(GatewayOptions, ReadsTheFourOptions) {
    GatewayOptions options;
    ASSERT_EQ(
        readAll({"--model", "VELA-3h-tcp", "--gateway", "127.0.0.1:1502", "--mgmt-port", "18802"}, options),
        "");
    EXPECT_EQ(options.model, GatewayModel::Vela3hTcp);
    ASSERT_TRUE(options.gateway);
    EXPECT_EQ(options.gateway->host, "127.0.0.1");
    EXPECT_EQ(options.gateway->port, 1502);
    EXPECT_EQ(options.managementPort, 18802);

    GatewayOptions serial;
    ASSERT_EQ(readAll({"--model", "vela-3h-rtu", "--serial", "/dev/pts/3"}, serial), "");
    EXPECT_EQ(serial.serialDevice, "/dev/pts/3");
    EXPECT_FALSE(serial.gateway);

    GatewayOptions defaults;
    ASSERT_EQ(readAll({"--gateway", "gw.local"}, defaults), "");
    EXPECT_EQ(defaults.gateway->port, 502);
    EXPECT_EQ(defaults.managementPort, 18801);
}

TEST(GatewayOptions, BadValuesAndConflictsAreNamed) {
    const struct {
        Words words;
        std::string reason;
    } cases[] = {
        {{"--model", "vela-9"}, "unknown model 'vela-9' (vela-1h-tcp, vela-3h-tcp or vela-3h-rtu)"},
        {{"--model"}, "--model needs a value"},
        {{"--gateway", ":502"}, "--gateway needs a host"},
        {{"--gateway", "host:0"}, "'0' is not a port number (1-65535)"},
        {{"--gateway", "host:70000"}, "'70000' is not a port number (1-65535)"},
        {{"--mgmt-port", "12x"}, "'12x' is not a port number (1-65535)"},
        {{"--gateway", "h", "--serial", "/dev/ttyS0"}, "--gateway and --serial exclude each other"},
        {{"--model", "vela-1h-tcp", "--serial", "/dev/ttyS0"},
         "Vela-1H-TCP is reached over Ethernet, not --serial"},
        {{"--model", "vela-3h-rtu", "--gateway", "h"},
         "Vela-3H-RTU is reached over a serial line, not --gateway"},
    };
    for (const auto& c : cases) {
        GatewayOptions options;
        EXPECT_EQ(readAll(c.words, options), c.reason) << c.words.front();
    }
}

TEST(GatewayOptions, OtherWordsAreLeftToTheCaller) {
    const Words words{"project.xml", "--help"};
    GatewayOptions options;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::size_t before = i;
        EXPECT_FALSE(readGatewayOption(words, i, options).matched);
        EXPECT_EQ(i, before);
    }
}

} // namespace
} // namespace korvan
