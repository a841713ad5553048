#pragma once

#include "model/COrlaBus.h"
#include "model/COrlaItem.h"
#include "model/GatewayModel.h"

#include <string_view>

namespace korvan {

// Protocol modes of the network side, held in the bus's mode member.
constexpr int ModbusSlaveMode = 0;
constexpr int UserConfigMode = 1;
constexpr int ModbusTcpMode = 3;

// The network side's protocol must fit the model: a serial gateway cannot run Modbus TCP, a
// TCP gateway no serial Modbus. A file or an upload of the other protocol is refused with
// protocolMismatchMessage.
[[nodiscard]] constexpr bool protocolFitsModel(int protocolMode, GatewayModel model) {
    if (isTcpModel(model))
        return protocolMode != ModbusSlaveMode && protocolMode != UserConfigMode;
    return protocolMode != ModbusTcpMode;
}
inline constexpr std::string_view protocolMismatchMessage =
    "The profile protocol is inconsistent with the software protocol!";

// Positions in the mode lists.
namespace slave_item {
constexpr std::size_t Baudrate = 0;
constexpr std::size_t DataBits = 1;
constexpr std::size_t Parity = 2;
constexpr std::size_t StopBits = 3;
constexpr std::size_t Interface = 4;
constexpr std::size_t SlaveAddress = 5;
constexpr std::size_t CommunicationMode = 6;
} // namespace slave_item
namespace universal_item {
constexpr std::size_t Interface = 4;
constexpr std::size_t HartChannelInterface = 5;
} // namespace universal_item
namespace ethernet_item {
constexpr std::size_t AssignIpMode = 0;
constexpr std::size_t IpAddress = 1;
constexpr std::size_t SubnetMask = 2;
constexpr std::size_t DefaultGateway = 3;
constexpr std::size_t Dns1 = 4;
constexpr std::size_t Dns2 = 5;
} // namespace ethernet_item

// The gateway's network side ("Fieldbus"): the protocol mode selector and one parameter
// list per mode, the Modbus slave and universal serial modes and Modbus TCP.
class CProfilebus : public COrlaBus {
public:
    static const RuntimeClass classCProfilebus;

    explicit CProfilebus(ObjectRegistries& registries);

    [[nodiscard]] const RuntimeClass& runtimeClass() const override { return classCProfilebus; }

    // The selector and its choices depend on the model; set before initialise().
    void setGatewayModel(GatewayModel model) { model_ = model; }
    [[nodiscard]] GatewayModel gatewayModel() const { return model_; }

    // Stores the code and moves the selector to its choice (codes 0, 1 and 3).
    void setMode(int code) override;
    // Builds the selector for the model and every list with its defaults; the bus name
    // becomes "Fieldbus".
    void initialise() override;
    // The lists of every mode, not only the current one.
    void markReferences(ReachableObjects& reachable) const override;

    // Item n, counted from 1, of the current mode's list.
    [[nodiscard]] int itemChoiceIndex(std::size_t n) const override;
    [[nodiscard]] int modeItemChoiceIndex(int code, std::size_t n) const;
    [[nodiscard]] static int listItemChoiceIndex(const PtrList<COrlaItem>& list, std::size_t n);
    [[nodiscard]] static int listItemIntValue(const PtrList<COrlaItem>& list, std::size_t n);
    // In mode 3 the choice index of item n, in the serial modes its decimal value.
    [[nodiscard]] int currentItemValue(std::size_t n) const;

    void buildSlaveDefaults();
    void buildUniversalDefaults();
    void buildEthernetDefaults();

    [[nodiscard]] const PtrList<COrlaItem>& slaveItems() const { return slave_; }
    [[nodiscard]] const PtrList<COrlaItem>& universalItems() const { return universal_; }
    [[nodiscard]] const PtrList<COrlaItem>& ethernetItems() const { return ethernet_; }
    PtrList<COrlaItem>& slaveItems() { return slave_; }
    PtrList<COrlaItem>& universalItems() { return universal_; }
    PtrList<COrlaItem>& ethernetItems() { return ethernet_; }
    // The list of the given mode code; codes without a list give an empty one.
    [[nodiscard]] const PtrList<COrlaItem>& listForMode(int code) const;
    [[nodiscard]] const PtrList<COrlaItem>& currentItems() const { return listForMode(mode()); }

    [[nodiscard]] const COrlaItem& selector() const { return selector_; }
    COrlaItem& selector() { return selector_; }

    // The mode and the three lists become those of `other`, and `other` gets this bus's.
    void swapContents(CProfilebus& other);
    // This bus becomes a copy of `other` with items of its own: what is then changed in it
    // leaves `other` as it was.
    void copyContents(const CProfilebus& other);

private:
    GatewayModel model_ = GatewayModel::Vela1hTcp;
    PtrList<COrlaItem> slave_;
    PtrList<COrlaItem> universal_;
    PtrList<COrlaItem> spare_;
    PtrList<COrlaItem> ethernet_;
    COrlaItem selector_;
};

inline const RuntimeClass CProfilebus::classCProfilebus{"CProfilebus", &COrlaBus::classCOrlaBus};

} // namespace korvan
