#include "app/AppState.h"
#include "base/Checksum.h"
#include "model/COrlaItem.h"
#include "model/CProfilebus.h"
#include "model/ObjectRegistries.h"
#include "network/NetworkBlocks.h"
#include "network/ProfileRules.h"
#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>
#include <vector>

namespace korvan {
namespace {

using Bytes = std::vector<std::uint8_t>;

template <std::size_t N> Bytes bytes(const std::array<std::uint8_t, N>& block) {
    return Bytes(block.begin(), block.end());
}

class NetworkSideTest : public ::testing::Test {
protected:
    void start(GatewayModel model) {
        bus.setGatewayModel(model);
        bus.initialise();
    }

    ObjectRegistries registries;
    CProfilebus bus{registries};
};

TEST_F(NetworkSideTest, SerialModelStartsAsModbusSlaveWithSevenRows) {
    start(GatewayModel::Vela3hRtu);
    EXPECT_EQ(bus.busName(), "Fieldbus");
    EXPECT_EQ(bus.selector().value(), "Modbus Slave");
    EXPECT_EQ(bus.selector().enabled(), 1);
    EXPECT_EQ(bus.currentItems().size(), 7u);
    EXPECT_EQ(bytes(encodeSerialBlock(bus)),
              (Bytes{0x42, 0x09, 0x00, 0x05, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x52}));
}

TEST_F(NetworkSideTest, UserConfigBlockRepeatsTheChannelInterfaceAndFlipsTheInterfaceOrder) {
    start(GatewayModel::Vela3hRtu);
    AppState state;
    state.linkKind = LinkKind::Ethernet;
    EXPECT_TRUE(selectProtocol(bus, "User Config", state.canSelectMode, state.linkKind));
    EXPECT_EQ(state.linkKind, LinkKind::Serial);
    EXPECT_EQ(state.canSelectMode, 1);
    EXPECT_EQ(bus.selector().value(), "User Config");
    EXPECT_EQ(bus.currentItems().size(), 6u);
    EXPECT_EQ(bytes(encodeSerialBlock(bus)),
              (Bytes{0x42, 0x09, 0x01, 0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x51}));
    EXPECT_FALSE(selectProtocol(bus, "User Config", state.canSelectMode, state.linkKind))
        << "no change, no redraw";
}

TEST_F(NetworkSideTest, TcpModelShowsAGreyedModbusTcpSelectorAndItsEthernetBlock) {
    start(GatewayModel::Vela1hTcp);
    EXPECT_EQ(bus.mode(), ModbusTcpMode);
    EXPECT_EQ(bus.selector().value(), "Modbus TCP");
    EXPECT_EQ(bus.selector().enabled(), 0);
    const Bytes block = bytes(encodeEthernetWriteRequest(bus));
    EXPECT_EQ(Bytes(block.begin(), block.begin() + 8), (Bytes{0, 0, 0, 6, 0, 0, 0, 0x18}));
    EXPECT_EQ(Bytes(block.begin() + 11, block.end()),
              (Bytes{0x00, 0xC0, 0xA8, 0x00, 0x0A, 0xFF, 0xFF, 0xFF, 0x00, 0xC0, 0xA8,
                     0x00, 0x01, 0,    0,    0,    0,    0,    0,    0,    0}));
}

TEST_F(NetworkSideTest, SetModeMovesTheSelectorOnlyForKnownModes) {
    start(GatewayModel::Vela3hTcp);
    bus.setMode(ModbusSlaveMode);
    EXPECT_EQ(bus.selector().value(), "Modbus Slave");
    bus.setMode(2);
    EXPECT_EQ(bus.mode(), 2);
    EXPECT_EQ(bus.selector().value(), "Modbus Slave");
    EXPECT_TRUE(bus.currentItems().empty());
    EXPECT_EQ(bus.itemChoiceIndex(1), -1);
}

TEST_F(NetworkSideTest, SerialUploadTakesTheReplyAndAWrongChecksumLeavesTheDefaults) {
    start(GatewayModel::Vela3hRtu);
    Bytes reply{0x60, 0x0A, 0x00, 0x08, 0x00, 0x02, 0x01, 0x2A, 0x01, 0x00, 0x00, 0x00, 0x00};
    reply[11] = linkChecksum(std::span(reply).first(11));
    ASSERT_EQ(decodeSerialBlock(bus, reply), ResultCode::Success);
    EXPECT_EQ(bus.slaveItems().at(slave_item::Baudrate)->value(), "115200");
    EXPECT_EQ(bus.slaveItems().at(slave_item::Parity)->value(), "Even");
    EXPECT_EQ(bus.slaveItems().at(slave_item::StopBits)->value(), "2");
    EXPECT_EQ(bus.slaveItems().at(slave_item::SlaveAddress)->value(), "42");
    EXPECT_EQ(bus.slaveItems().at(slave_item::CommunicationMode)->value(), "ASCII");
    EXPECT_EQ(bus.slaveItems().at(slave_item::Interface)->value(), "RS485");

    reply[11] ^= 0xFF;
    EXPECT_EQ(decodeSerialBlock(bus, reply), ResultCode::UploadCheckError);
    EXPECT_EQ(bus.slaveItems().at(slave_item::Baudrate)->value(), "19200");
    EXPECT_EQ(bus.slaveItems().at(slave_item::SlaveAddress)->value(), "1");
    EXPECT_EQ(decodeSerialBlock(bus, Bytes{0x60, 0x00}), ResultCode::UploadCheckError) << "too short";
}

TEST_F(NetworkSideTest, SerialUploadIgnoresChoiceIndexesPastTheList) {
    start(GatewayModel::Vela3hRtu);
    Bytes reply{0x60, 0x0A, 0x01, 0x09, 0x07, 0x01, 0x01, 0x00, 0x00, 0x01, 0x02, 0x00, 0x00};
    reply[11] = linkChecksum(std::span(reply).first(11));
    ASSERT_EQ(decodeSerialBlock(bus, reply), ResultCode::Success);
    EXPECT_EQ(bus.mode(), UserConfigMode);
    EXPECT_EQ(bus.universalItems().at(0)->value(), "19200") << "index 9 is past the baud rates";
    EXPECT_EQ(bus.universalItems().at(1)->value(), "8");
    EXPECT_EQ(bus.universalItems().at(universal_item::Interface)->value(), "RS422");
    EXPECT_EQ(bus.universalItems().at(universal_item::HartChannelInterface)->value(), "3");
}

TEST_F(NetworkSideTest, EthernetReadTakesAddressesOnlyWhenAssignedManually) {
    start(GatewayModel::Vela3hTcp);
    Bytes reply(32, 0);
    reply[3] = 0x05;
    reply[11] = 2;
    const std::uint8_t address[] = {10, 1, 2, 3};
    std::copy(std::begin(address), std::end(address), reply.begin() + 12);
    reply[24] = 8;
    reply[27] = 8;
    ASSERT_TRUE(decodeEthernetReadReply(bus, reply));
    EXPECT_EQ(bus.ethernetItems().at(ethernet_item::AssignIpMode)->value(), "DHCP");
    EXPECT_EQ(bus.ethernetItems().at(ethernet_item::IpAddress)->value(), "192.168.0.10");
    EXPECT_EQ(bus.ethernetItems().at(ethernet_item::Dns1)->value(), "8.0.0.8");

    reply[11] = 0;
    ASSERT_TRUE(decodeEthernetReadReply(bus, reply));
    EXPECT_EQ(bus.ethernetItems().at(ethernet_item::IpAddress)->value(), "10.1.2.3");
    EXPECT_FALSE(decodeEthernetReadReply(bus, Bytes(reply.begin(), reply.begin() + 20)));
    reply[3] = 0x06;
    EXPECT_FALSE(decodeEthernetReadReply(bus, reply));
}

TEST_F(NetworkSideTest, DhcpAndBootpGreyTheAddressItems) {
    start(GatewayModel::Vela1hTcp);
    for (const char* mode : {"DHCP", "BOOTP", "Manually Assign"}) {
        applyAssignIpMode(bus, mode);
        const int expected = std::string_view(mode) == "Manually Assign" ? 1 : 0;
        for (std::size_t i = ethernet_item::IpAddress; i <= ethernet_item::DefaultGateway; ++i)
            EXPECT_EQ(bus.ethernetItems().at(i)->enabled(), expected) << mode;
    }
}

TEST(IpAddressRule, AcceptsOnlyFourDecimalPartsUpTo255) {
    const std::pair<const char*, bool> cases[] = {
        {"192.168.0.10", true}, {"10.0.0.1", true},   {"255.255.255.255", true},
        {"0.0.0.0", false},     {"256.1.1.1", false}, {"1.2.3", false},
        {"1.2.3.4.5", false},   {"1.2.3.", false},    {"1..2.3", false},
        {"a.b.c.d", false},     {"1.2.3.-4", false},  {" 1.2.3.4", false},
        {"1000.1.1.1", false},  {"1.2.3.0004", true}, {"", false},
    };
    for (const auto& [text, accepted] : cases)
        EXPECT_EQ(isAcceptedIpAddress(text), accepted) << '"' << text << '"';
}

TEST_F(NetworkSideTest, RejectedEntriesKeepThePreviousValueAndShowTheirMessage) {
    start(GatewayModel::Vela3hRtu);
    test::ScriptedPrompt prompt;
    EXPECT_FALSE(commitSlaveAddress(bus, "248", prompt));
    EXPECT_FALSE(commitSlaveAddress(bus, "", prompt));
    EXPECT_FALSE(commitSlaveAddress(bus, "1a", prompt));
    EXPECT_TRUE(commitSlaveAddress(bus, "247", prompt));
    EXPECT_EQ(prompt.shown,
              (std::vector<std::string>{"Data out of range", "An item is empty", "Has Illegal char"}));
    EXPECT_EQ(bus.slaveItems().at(slave_item::SlaveAddress)->value(), "247");

    start(GatewayModel::Vela3hTcp);
    prompt.shown.clear();
    EXPECT_FALSE(commitEthernetAddress(bus, ethernet_item::IpAddress, "0.0.0.0", prompt));
    EXPECT_EQ(prompt.shown, std::vector<std::string>{"IP format error"});
    EXPECT_EQ(bus.ethernetItems().at(ethernet_item::IpAddress)->value(), "192.168.0.10");
}

} // namespace
} // namespace korvan
