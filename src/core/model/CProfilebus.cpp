#include "model/CProfilebus.h"

#include "base/Decimal.h"
#include "model/ObjectRegistries.h"
#include "model/ReachableObjects.h"

#include <array>

namespace korvan {
namespace {

constexpr std::array<std::string_view, 9> baudrates{"300",   "600",   "1200",  "2400",  "9600",
                                                    "19200", "38400", "57600", "115200"};
constexpr std::array<std::string_view, 2> dataBits{"8", "7"};
constexpr std::array<std::string_view, 5> parities{"None", "Odd", "Even", "Mark", "Space"};
constexpr std::array<std::string_view, 2> stopBits{"1", "2"};
constexpr std::array<std::string_view, 2> slaveInterfaces{"RS422", "RS485"};
constexpr std::array<std::string_view, 2> universalInterfaces{"RS485", "RS422"};
constexpr std::array<std::string_view, 2> communicationModes{"RTU", "ASCII"};
constexpr std::array<std::string_view, 3> hartChannels{"1", "2", "3"};
constexpr std::array<std::string_view, 3> assignIpModes{"Manually Assign", "BOOTP", "DHCP"};
constexpr std::array<std::string_view, 2> serialProtocols{"Modbus Slave", "User Config"};
constexpr std::array<std::string_view, 3> tcpProtocols{"Modbus Slave", "User Config", "Modbus TCP"};

constexpr std::string_view interfaceHelp =
    "Please select \"RS485\" when use RS422 as the serial.\r\nIn debugging mode, the serial communication "
    "interface of the gateway is RS485/RS422.";

constexpr std::array<ItemSpec, 4> serialLineItems{{
    {"Baudrate", "Serial communication baudrate", "19200", Choice, true, baudrates},
    {"Data bits", " The number of data bits of every byte", "8", Choice, false, dataBits},
    {"Parity", "Parity", "None", Choice, true, parities},
    {"Stop Bits", "Number of stop bits", "1", Choice, true, stopBits},
}};

constexpr std::array<ItemSpec, 3> slaveOnlyItems{{
    {"Communication Interface", interfaceHelp, "RS485", FixedText, false, slaveInterfaces},
    {"Slave Address",
     "If the mode is \"Modbus slave\", it is address of the salve: 1~247.",
     "1",
     TypedValue,
     true,
     {}},
    {"Communication Mode", "When the protocol is Modbus, there are two communication modes: RTU and ASCII.",
     "RTU", Choice, true, communicationModes},
}};

constexpr std::array<ItemSpec, 2> universalOnlyItems{{
    {"Communication Interface", interfaceHelp, "RS485", FixedText, false, universalInterfaces},
    {"HART Channel Interface", "HARTchannel interface:1,2,3", "1", Choice, true, hartChannels},
}};

constexpr std::array<ItemSpec, 6> ethernetDefaults{{
    {"Assign IP Mode", "", "Manually Assign", Choice, true, assignIpModes},
    {"IP Address", "", "192.168.0.10", TypedValue, true, {}},
    {"Subnet Mask", "", "255.255.255.0", TypedValue, true, {}},
    {"Default Gateway", "", "192.168.0.1", TypedValue, true, {}},
    {"DNS1", "", "0.0.0.0", FixedText, false, {}},
    {"DNS2", "", "0.0.0.0", FixedText, false, {}},
}};

template <std::size_t N>
void appendItems(ObjectRegistries& registries, PtrList<COrlaItem>& list,
                 const std::array<ItemSpec, N>& descriptions) {
    for (const ItemSpec& description : descriptions)
        list.append(registries.createItem(description));
}

const PtrList<COrlaItem>& emptyList() {
    static const PtrList<COrlaItem> empty;
    return empty;
}

} // namespace

CProfilebus::CProfilebus(ObjectRegistries& registries) : COrlaBus(registries) {}

void CProfilebus::setMode(int code) {
    COrlaBus::setMode(code);
    switch (code) {
    case ModbusSlaveMode:
        selector_.selectChoice(0);
        break;
    case UserConfigMode:
        selector_.selectChoice(1);
        break;
    case ModbusTcpMode:
        selector_.selectChoice(2);
        break;
    default:
        break;
    }
}

void CProfilebus::initialise() {
    COrlaBus::initialise();
    selector_ = COrlaItem();
    if (isTcpModel(model_)) {
        selector_.setup("Mode", "Modbus TCP", "Modbus TCP", Choice, 0);
        for (std::string_view choice : tcpProtocols)
            selector_.addChoice(choice);
    } else {
        selector_.setup("Mode", "Supports Modbus Slave and User Config.", "Modbus Slave", Choice, 1);
        for (std::string_view choice : serialProtocols)
            selector_.addChoice(choice);
    }
    slave_.clear();
    universal_.clear();
    spare_.clear();
    ethernet_.clear();
    buildSlaveDefaults();
    buildUniversalDefaults();
    buildEthernetDefaults();
    setBusName("Fieldbus");
    setMode(isTcpModel(model_) ? ModbusTcpMode : ModbusSlaveMode);
}

void CProfilebus::markReferences(ReachableObjects& reachable) const {
    COrlaBus::markReferences(reachable);
    reachable.markAll(slave_);
    reachable.markAll(universal_);
    reachable.markAll(spare_);
    reachable.markAll(ethernet_);
}

void CProfilebus::buildSlaveDefaults() {
    appendItems(registries(), slave_, serialLineItems);
    appendItems(registries(), slave_, slaveOnlyItems);
}

void CProfilebus::buildUniversalDefaults() {
    appendItems(registries(), universal_, serialLineItems);
    appendItems(registries(), universal_, universalOnlyItems);
}

void CProfilebus::buildEthernetDefaults() {
    appendItems(registries(), ethernet_, ethernetDefaults);
}

const PtrList<COrlaItem>& CProfilebus::listForMode(int code) const {
    switch (code) {
    case ModbusSlaveMode:
        return slave_;
    case UserConfigMode:
        return universal_;
    case ModbusTcpMode:
        return ethernet_;
    default:
        return emptyList();
    }
}

int CProfilebus::listItemChoiceIndex(const PtrList<COrlaItem>& list, std::size_t n) {
    const COrlaItem* item = list.at(n == 0 ? 0 : n - 1);
    return item ? item->choiceIndex() : -1;
}

int CProfilebus::listItemIntValue(const PtrList<COrlaItem>& list, std::size_t n) {
    const COrlaItem* item = list.at(n == 0 ? 0 : n - 1);
    return item ? decimalValue(item->value()) : -1;
}

int CProfilebus::itemChoiceIndex(std::size_t n) const {
    return listItemChoiceIndex(currentItems(), n);
}

int CProfilebus::modeItemChoiceIndex(int code, std::size_t n) const {
    return listItemChoiceIndex(listForMode(code), n);
}

int CProfilebus::currentItemValue(std::size_t n) const {
    if (mode() == ModbusTcpMode)
        return listItemChoiceIndex(currentItems(), n);
    return listItemIntValue(currentItems(), n);
}

void CProfilebus::copyContents(const CProfilebus& other) {
    const auto copyList = [this](PtrList<COrlaItem>& list, const PtrList<COrlaItem>& source) {
        list.clear();
        for (const COrlaItem* item : source)
            list.append(item != nullptr ? registries().items().create(*item) : nullptr);
    };
    model_ = other.model_;
    copyList(slave_, other.slave_);
    copyList(universal_, other.universal_);
    copyList(spare_, other.spare_);
    copyList(ethernet_, other.ethernet_);
    selector_ = other.selector_;
    setBusName(other.busName());
    COrlaBus::setMode(other.mode());
}

void CProfilebus::swapContents(CProfilebus& other) {
    slave_.swap(other.slave_);
    universal_.swap(other.universal_);
    spare_.swap(other.spare_);
    ethernet_.swap(other.ethernet_);
    std::swap(selector_, other.selector_);
    const int ownMode = mode();
    COrlaBus::setMode(other.mode());
    other.COrlaBus::setMode(ownMode);
}

} // namespace korvan
