#include "model/COrlaBus.h"

#include "base/Decimal.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/COrlaNode.h"
#include "model/ModbusFunction.h"
#include "model/ObjectRegistries.h"
#include "model/ReachableObjects.h"

namespace korvan {

COrlaCommand* COrlaBus::addBusCommand(int typeIndex) {
    const ModbusFunction function = modbusFunctionFor(typeIndex);
    if (!function.supported)
        return nullptr;
    COrlaCommand* command = registries_->commands().create();
    command->setCommandName("Bus Command");
    command->setCommandType(static_cast<std::uint32_t>(typeIndex));
    command->setCommandNumber(static_cast<std::uint32_t>(function.code));
    addCommand(command);
    return command;
}

void COrlaBus::addCommand(COrlaCommand* command) {
    if (command == nullptr)
        return;
    busCommands_.append(command);
    ++commandCount_;
}

COrlaNode* COrlaBus::addNode() {
    COrlaNode* node = registries_->nodes().create();
    node->setNodeName(nodeNameFor(nodeCount_));
    node->setAddress(nodeCount_);
    nodes_.append(node);
    ++nodeCount_;
    return node;
}

bool COrlaBus::attachNode(COrlaNode* node) {
    if (node == nullptr)
        return false;
    nodes_.append(node);
    ++nodeCount_;
    commandCount_ += static_cast<std::uint32_t>(node->commandCount());
    return true;
}

bool COrlaBus::releaseCommandCount(const COrlaCommand* command) {
    if (command == nullptr)
        return false;
    if (busCommands_.contains(command))
        --commandCount_;
    return true;
}

bool COrlaBus::removeNode(COrlaNode* node) {
    if (node == nullptr || !nodes_.remove(node))
        return false;
    --nodeCount_;
    return true;
}

void COrlaBus::addItem(COrlaItem* item) {
    if (item != nullptr)
        items_.append(item);
}

int COrlaBus::itemChoiceIndex(std::size_t position) const {
    const COrlaItem* item = itemAt(position);
    return item ? item->choiceIndex() : -1;
}

int COrlaBus::itemIntValue(std::size_t position) const {
    const COrlaItem* item = itemAt(position);
    return item ? decimalValue(item->value()) : -1;
}

bool COrlaBus::setItemChoice(std::size_t position, int index) {
    COrlaItem* item = itemAt(position);
    return item != nullptr && item->selectChoice(index);
}

bool COrlaBus::setItemInt(std::size_t position, int value) {
    COrlaItem* item = itemAt(position);
    if (item == nullptr)
        return false;
    item->setValue(decimalText(value));
    return true;
}

void COrlaBus::initialise() {
    mode_ = 4;
    nodes_.clear();
    busCommands_.clear();
    nodeCount_ = 0;
    spareCount_ = 0;
    commandCount_ = 0;
}

void COrlaBus::markReferences(ReachableObjects& reachable) const {
    reachable.markAll(busCommands_);
    reachable.markAll(nodes_);
    reachable.markAll(items_);
}

COrlaNode* COrlaBus::findNodeIn(const PtrList<COrlaNode>& list, std::uint32_t address) {
    for (COrlaNode* node : list) {
        if (node == nullptr)
            return nullptr;
        if (node->address() == address)
            return node;
    }
    return nullptr;
}

} // namespace korvan
