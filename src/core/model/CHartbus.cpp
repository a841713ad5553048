#include "model/CHartbus.h"

#include "base/Decimal.h"
#include "base/Prompt.h"
#include "model/COrlaItem.h"
#include "model/COrlaNode.h"
#include "model/ItemRules.h"
#include "model/ObjectRegistries.h"
#include "model/ReachableObjects.h"

#include <algorithm>
#include <array>

namespace korvan {
namespace {

constexpr std::array<std::string_view, 2> masterTypes{"Primary Master", "Secondary Master"};
constexpr std::array<std::string_view, 2> networkModes{"Point-to-Point", "Multi-drop"};
constexpr std::array<std::string_view, 6> repetitions{"0", "1", "2", "3", "4", "5"};
constexpr std::array<std::string_view, 2> pollingChoices{"Disable", "Enable"};
constexpr std::array<std::string_view, 2> timeoutActions{"Hold", "Clear"};

constexpr std::array<ItemSpec, 8> channelItems{{
    {"Master Type", "Select the master type of gateway at the side of HART", "Primary Master", Choice, true,
     masterTypes},
    {"Network Mode",
     "The gateway supports two HART Network: Point-to-Point and Multi-drop. The gateway can communicate with "
     "the "
     "HART salve device with 0 as its address in Point-to-Point mode.",
     "Point-to-Point", Choice, true, networkModes},
    {"Maximum Repetitions", "Select the number of retransmitting a HART command: 0~5", "3", Choice, true,
     repetitions},
    {"Polling", "Whether to use the polling feature or not.", "Enable", Choice, true, pollingChoices},
    {"Delay Between Polls",
     "Set delay time of two commands (From transmitting a command to transmitting the next command): "
     "256~65535ms.",
     "256",
     TypedValue,
     true,
     {}},
    {"Response Timeout",
     "Time waiting for the response from slave after the gateway transmitting commands: 256~65535ms.",
     "256",
     TypedValue,
     true,
     {}},
    {"How to Action after N Successive Response Timeout",
     "Clear HART input data or not when number of timeout is more than value of parameter \"Timeout "
     "number\".",
     "Clear", Choice, true, timeoutActions},
    {"Successive Response Timeout for N Times",
     "When the value of parameter \"Timeout clear\" is \"Clear\", the parameter is effective: 1~14.",
     "3",
     TypedValue,
     true,
     {}},
}};

constexpr std::string_view slaveAddressHelp = "\"Point-to-Point\" mode: The slave address can only be "
                                              "0;\r\n\"Multi-drop\" mode: The slave address can be 1 "
                                              "to 15.";

} // namespace

CHartbus::CHartbus(ObjectRegistries& registries) : COrlaBus(registries) {
    setBusName("Channel");
}

COrlaItem* CHartbus::createAddressItem(ObjectRegistries& registries, std::uint32_t address) {
    return registries.createItem(
        ItemSpec{"HART Slave Address", slaveAddressHelp, "", TypedValue, address != 0, {}});
}

COrlaNode* CHartbus::createNode(std::uint32_t address) {
    COrlaNode* node = registries().nodes().create();
    node->setNodeName(nodeNameFor(address));
    node->setAddress(address);
    COrlaItem* addressItem = createAddressItem(registries(), address);
    addressItem->setValue(decimalText(address));
    addressItem->setSavedValue(addressItem->value());
    node->addItem(addressItem);
    return node;
}

COrlaNode* CHartbus::addNode() {
    if (isPointToPoint()) {
        COrlaNode* node = createNode(0);
        pointToPoint_.append(node);
        return node;
    }
    const auto address = lowestFreeAddress();
    if (!address)
        return nullptr;
    COrlaNode* node = createNode(*address);
    multiDrop_.append(node);
    return node;
}

bool CHartbus::removeNode(COrlaNode* node) {
    if (mode() == PointToPointMode)
        return pointToPoint_.remove(node);
    if (mode() == MultiDropMode)
        return multiDrop_.remove(node);
    return false;
}

int CHartbus::commandCount() const {
    if (isPointToPoint()) {
        const COrlaNode* first = pointToPoint_.front();
        return first ? first->commandCount() : 0;
    }
    int total = 0;
    for (const COrlaNode* node : multiDrop_)
        total += node->commandCount();
    return total;
}

std::string CHartbus::busName() const {
    return "Channel" + decimalText(channelIndex_ + 1);
}

bool CHartbus::canAddNode() const {
    if (isPointToPoint())
        return pointToPoint_.empty();
    return multiDrop_.size() < static_cast<std::size_t>(MaxMultiDropNodes);
}

bool CHartbus::canAddCommand() const {
    return commandCount() < MaxChannelCommands + 1;
}

void CHartbus::initialise() {
    mutableItems().clear();
    pointToPoint_.clear();
    multiDrop_.clear();
    setMode(PointToPointMode);
    for (const ItemSpec& description : channelItems)
        addItem(registries().createItem(description));
}

void CHartbus::markReferences(ReachableObjects& reachable) const {
    COrlaBus::markReferences(reachable);
    reachable.markAll(pointToPoint_);
    reachable.markAll(multiDrop_);
}

bool CHartbus::checkMemoryBounds(int nextSend, int nextReceive, Prompt& prompt) const {
    if (nextSend == -1)
        return true;
    if (nextSend > 5000) {
        prompt.message("Data memory starting address to send overflow");
        return false;
    }
    if (nextReceive > 2600) {
        prompt.message("Starting address of memory to receive data overflow");
        return false;
    }
    return true;
}

const PtrList<COrlaNode>& CHartbus::currentNodes() const {
    return isPointToPoint() ? pointToPoint_ : multiDrop_;
}

ResultCode CHartbus::setNodeAddress(COrlaNode* node, std::string_view text) {
    // A Point-to-Point node is always at 0: at any other address the channel would have no
    // place for it when the project is opened again, and it would be dropped with its commands.
    const bool pointToPoint =
        std::find(pointToPoint_.begin(), pointToPoint_.end(), node) != pointToPoint_.end();
    const ResultCode range = pointToPoint ? checkNumber(text, 0, 0) : checkNumber(text, 1, MaxMultiDropNodes);
    if (!succeeded(range))
        return range;
    const auto address = static_cast<std::uint32_t>(decimalValue(text));
    for (const COrlaNode* other : multiDrop_)
        if (other != node && other->address() == address)
            return ResultCode::NodeAddressRepeat;
    if (COrlaItem* addressItem = node->items().front())
        addressItem->setValue(decimalText(address));
    node->setNodeName(nodeNameFor(address));
    node->setAddress(address);
    return ResultCode::Success;
}

std::optional<std::uint32_t> CHartbus::lowestFreeAddress() const {
    std::array<bool, 16> used{};
    for (const COrlaNode* node : multiDrop_)
        used[std::min<std::uint32_t>(node->address(), 15)] = true;
    for (std::uint32_t address = 1; address <= 15; ++address)
        if (!used[address])
            return address;
    return std::nullopt;
}

void CHartbus::renumberCommands(const PtrList<COrlaNode>& list) {
    int counter = 0;
    for (COrlaNode* node : list)
        node->renumberCommands(counter);
}

void CHartbus::swapContents(CHartbus& other) {
    mutableItems().swap(other.mutableItems());
    pointToPoint_.swap(other.pointToPoint_);
    multiDrop_.swap(other.multiDrop_);
    const int ownMode = mode();
    setMode(other.mode());
    other.setMode(ownMode);
}

} // namespace korvan
