#include "network/NetworkBlocks.h"

#include "base/Checksum.h"
#include "base/Decimal.h"
#include "model/COrlaItem.h"
#include "model/CProfilebus.h"

#include <cstdio>
#include <string>

namespace korvan {
namespace {

std::uint8_t low8(int value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

int choiceAt(const PtrList<COrlaItem>& list, std::size_t position) {
    return CProfilebus::listItemChoiceIndex(list, position + 1);
}

void selectChoice(const PtrList<COrlaItem>& list, std::size_t position, int index) {
    if (COrlaItem* item = list.at(position))
        item->selectChoice(index);
}

std::string dottedText(std::span<const std::uint8_t> bytes) {
    char text[20];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d", bytes[0], bytes[1], bytes[2], bytes[3]);
    return text;
}

void putAddress(std::array<std::uint8_t, 32>& block, std::size_t offset, const COrlaItem* item) {
    const auto bytes = dottedQuadBytes(item ? std::string_view(item->value()) : std::string_view());
    std::copy(bytes.begin(), bytes.end(), block.begin() + static_cast<std::ptrdiff_t>(offset));
}

} // namespace

std::array<std::uint8_t, 12> encodeSerialBlock(const CProfilebus& bus) {
    const PtrList<COrlaItem>& list = bus.currentItems();
    const int mode = bus.mode();
    std::array<std::uint8_t, 12> block{};
    block[0] = 0x42;
    block[1] = 0x09;
    block[2] = low8(mode);
    block[3] = low8(choiceAt(list, slave_item::Baudrate));
    block[4] = low8(choiceAt(list, slave_item::DataBits));
    block[5] = low8(choiceAt(list, slave_item::Parity));
    block[6] = low8(choiceAt(list, slave_item::StopBits));
    block[7] =
        mode == ModbusSlaveMode ? low8(CProfilebus::listItemIntValue(list, slave_item::SlaveAddress + 1)) : 0;
    // The universal list is shorter: position 6 falls on its last item.
    block[8] = low8(choiceAt(list, slave_item::CommunicationMode));
    block[9] = low8(choiceAt(list, slave_item::Interface));
    block[10] = mode == UserConfigMode ? low8(choiceAt(list, universal_item::HartChannelInterface)) : 0;
    block[11] = linkChecksum(std::span(block).first(11));
    return block;
}

ResultCode decodeSerialBlock(CProfilebus& bus, std::span<const std::uint8_t> reply) {
    bus.initialise();
    if (reply.size() < 12 || reply[0] != 0x60 || reply[11] != linkChecksum(reply.first(11)))
        return ResultCode::UploadCheckError;
    bus.setMode(reply[2]);
    if (bus.mode() == ModbusSlaveMode) {
        const PtrList<COrlaItem>& list = bus.slaveItems();
        for (std::size_t position = 0; position < 4; ++position)
            selectChoice(list, position, reply[3 + position]);
        if (COrlaItem* address = list.at(slave_item::SlaveAddress))
            address->setValue(decimalText(reply[7]));
        selectChoice(list, slave_item::CommunicationMode, reply[8]);
        selectChoice(list, slave_item::Interface, 1);
    } else if (bus.mode() == UserConfigMode) {
        const PtrList<COrlaItem>& list = bus.universalItems();
        for (std::size_t position = 0; position < 4; ++position)
            selectChoice(list, position, reply[3 + position]);
        selectChoice(list, universal_item::Interface, reply[9]);
        selectChoice(list, universal_item::HartChannelInterface, reply[10]);
    }
    return ResultCode::Success;
}

std::array<std::uint8_t, 32> encodeEthernetWriteRequest(const CProfilebus& bus) {
    const PtrList<COrlaItem>& list = bus.ethernetItems();
    std::array<std::uint8_t, 32> block{};
    block[3] = 0x06;
    block[7] = 0x18;
    block[11] = low8(choiceAt(list, ethernet_item::AssignIpMode));
    putAddress(block, 12, list.at(ethernet_item::IpAddress));
    putAddress(block, 16, list.at(ethernet_item::SubnetMask));
    putAddress(block, 20, list.at(ethernet_item::DefaultGateway));
    putAddress(block, 24, list.at(ethernet_item::Dns1));
    putAddress(block, 28, list.at(ethernet_item::Dns2));
    return block;
}

bool isManagementReply(std::span<const std::uint8_t> reply, std::uint8_t requestCode) {
    return reply.size() >= 4 && reply[0] == 0 && reply[1] == 0 && reply[2] == 0 && reply[3] == requestCode;
}

bool decodeEthernetReadReply(CProfilebus& bus, std::span<const std::uint8_t> reply) {
    if (reply.size() < ethernetReadReplyLength || !isManagementReply(reply, 0x05))
        return false;
    bus.setMode(ModbusTcpMode);
    const PtrList<COrlaItem>& list = bus.ethernetItems();
    selectChoice(list, ethernet_item::AssignIpMode, reply[11]);
    const COrlaItem* assign = list.at(ethernet_item::AssignIpMode);
    if (assign != nullptr && assign->value() == "Manually Assign") {
        for (std::size_t i = 0; i < 3; ++i) {
            if (COrlaItem* item = list.at(ethernet_item::IpAddress + i)) {
                item->setValue(dottedText(reply.subspan(12 + 4 * i, 4)));
                item->setEnabled(1);
            }
        }
    }
    if (COrlaItem* dns1 = list.at(ethernet_item::Dns1))
        dns1->setValue(dottedText(reply.subspan(24, 4)));
    if (COrlaItem* dns2 = list.at(ethernet_item::Dns2))
        dns2->setValue(dottedText(reply.subspan(28, 4)));
    return true;
}

std::array<std::uint8_t, 4> dottedQuadBytes(std::string_view text) {
    std::array<std::uint8_t, 4> bytes{};
    std::size_t part = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t dot = text.find('.', start);
        const std::string_view piece =
            text.substr(start, dot == std::string_view::npos ? text.npos : dot - start);
        if (part >= 4 || !isDigitsOnly(piece) || piece.size() > 3 || decimalValue(piece) > 255)
            return {0xFF, 0xFF, 0xFF, 0xFF};
        bytes[part++] = static_cast<std::uint8_t>(decimalValue(piece));
        if (dot == std::string_view::npos)
            break;
        start = dot + 1;
    }
    if (part != 4)
        return {0xFF, 0xFF, 0xFF, 0xFF};
    return bytes;
}

} // namespace korvan
