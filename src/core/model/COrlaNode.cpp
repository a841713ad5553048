#include "model/COrlaNode.h"

#include "base/Decimal.h"
#include "base/Prompt.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/ReachableObjects.h"

namespace korvan {

std::string nodeNameFor(std::int64_t address) { return "Node(" + decimalText(address) + ")"; }

COrlaCommand* COrlaNode::addHartCommand(ObjectRegistries& registries, unsigned hartCommand) {
    COrlaCommand* command = COrlaCommand::createHart(registries, hartCommand);
    attachCommand(command);
    return command;
}

bool COrlaNode::attachCommand(COrlaCommand* command) {
    if (command == nullptr)
        return false;
    commands_.append(command);
    ++commandCountMember_;
    return true;
}

bool COrlaNode::removeCommand(COrlaCommand* command) {
    if (command == nullptr || !commands_.remove(command))
        return false;
    --commandCountMember_;
    return true;
}

void COrlaNode::clearCommands() {
    commands_.clear();
    commandCountMember_ = 0;
}

void COrlaNode::addItem(COrlaItem* item) {
    if (item == nullptr)
        return;
    items_.append(item);
    ++itemCount_;
}

ResultCode COrlaNode::validate(Prompt& prompt) const {
    if (const COrlaItem* addressItem = items_.front(); addressItem && addressItem->value().empty()) {
        prompt.message("\"" + addressItem->name() + "\"" + "Content is empty");
        return ResultCode::ItemEmpty;
    }
    for (const COrlaCommand* command : commands_)
        if (const ResultCode code = command->validate(prompt); !succeeded(code))
            return code;
    return ResultCode::Success;
}

void COrlaNode::renumberCommands(int& counter) {
    for (COrlaCommand* command : commands_)
        command->setCommandIndex(counter);
}

int COrlaNode::commandNumberOf(int key) const {
    for (const COrlaCommand* command : commands_)
        if (command->lookupKey() == key)
            return static_cast<int>(command->commandNumber());
    return -1;
}

COrlaCommand* COrlaNode::commandByNumber(std::uint32_t number) const {
    for (COrlaCommand* command : commands_)
        if (command->commandNumber() == number)
            return command;
    return nullptr;
}

void COrlaNode::markReferences(ReachableObjects& reachable) const {
    reachable.markAll(commands_);
    reachable.markAll(items_);
}

} // namespace korvan
