#include "network/ProfileRules.h"

#include "base/Decimal.h"
#include "base/Prompt.h"
#include "model/COrlaItem.h"
#include "model/CProfilebus.h"
#include "model/ItemRules.h"

namespace korvan {

bool selectProtocol(CProfilebus& bus, std::string_view choice, bool& canSelectMode, LinkKind& linkKind) {
    if (choice == "Modbus Slave") {
        canSelectMode = true;
        if (bus.mode() == ModbusSlaveMode)
            return false;
        bus.setMode(ModbusSlaveMode);
        return true;
    }
    if (choice == "User Config") {
        canSelectMode = true;
        linkKind = LinkKind::Serial;
        if (bus.mode() == UserConfigMode)
            return false;
        bus.setMode(UserConfigMode);
        return true;
    }
    return false;
}

void applyAssignIpMode(CProfilebus& bus, std::string_view value) {
    const PtrList<COrlaItem>& list = bus.ethernetItems();
    if (COrlaItem* assign = list.exactlyAt(ethernet_item::AssignIpMode))
        assign->setValue(value);
    const int enabled = value == "DHCP" || value == "BOOTP" ? 0 : 1;
    for (std::size_t position = ethernet_item::IpAddress; position <= ethernet_item::DefaultGateway;
         ++position)
        if (COrlaItem* item = list.exactlyAt(position))
            item->setEnabled(enabled);
}

bool isAcceptedIpAddress(std::string_view text) {
    std::size_t start = 0;
    for (int part = 0; part < 4; ++part) {
        const std::size_t dot = text.find('.', start);
        const bool last = part == 3;
        if (last != (dot == std::string_view::npos))
            return false;
        const std::string_view piece = text.substr(start, last ? text.npos : dot - start);
        // Every part needs a digit: "1.2.3." is no address.
        if (!isDigitsOnly(piece) || (!last && piece.size() > 3) || decimalValue(piece) > 255)
            return false;
        start = dot + 1;
    }
    return text != "0.0.0.0";
}

ResultCode checkSlaveAddress(std::string_view text) {
    return checkNumber(text, 1, 247);
}

bool commitEthernetAddress(CProfilebus& bus, std::size_t position, std::string_view text, Prompt& prompt) {
    COrlaItem* item = bus.ethernetItems().exactlyAt(position);
    if (item == nullptr)
        return false;
    if (!isAcceptedIpAddress(text)) {
        prompt.message(resultMessage(ResultCode::IpFormatError));
        return false;
    }
    item->setValue(text);
    return true;
}

bool commitSlaveAddress(CProfilebus& bus, std::string_view text, Prompt& prompt) {
    COrlaItem* item = bus.slaveItems().exactlyAt(slave_item::SlaveAddress);
    if (item == nullptr)
        return false;
    if (const ResultCode code = checkSlaveAddress(text); !succeeded(code)) {
        prompt.message(resultMessage(code));
        return false;
    }
    item->setValue(text);
    return true;
}

} // namespace korvan
