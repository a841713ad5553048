#include "mapping/CommandSelection.h"

#include "base/Decimal.h"
#include "base/Prompt.h"
#include "hart/HartCommandCatalogue.h"
#include "model/COrlaCommand.h"
#include "model/COrlaNode.h"

#include <algorithm>

namespace korvan {

CommandSelection::CommandSelection(const COrlaNode& node, int channelCommandTotal)
    : count_(channelCommandTotal) {
    offered_.fill(true);
    // A number above 254 ends the marking, as the node's list is taken to be well formed.
    for (const COrlaCommand* command : node.commands()) {
        if (command == nullptr)
            continue;
        if (command->commandNumber() >= static_cast<std::uint32_t>(CommandNumbers))
            break;
        offered_[command->commandNumber()] = false;
    }
    for (int number = 0; number < CommandNumbers; ++number)
        if (offered_[static_cast<std::size_t>(number)])
            left_.push_back(number);
}

void CommandSelection::moveRight(std::optional<int> number, Prompt& prompt) {
    if (!number)
        return;
    const auto inLeft = std::find(left_.begin(), left_.end(), *number);
    if (inLeft == left_.end() || std::find(right_.begin(), right_.end(), *number) != right_.end())
        return;
    if (count_ >= CountLimit) {
        prompt.message("Command is more than 100");
        return;
    }
    right_.push_back(*number);
    ++count_;
    left_.erase(inLeft);
}

void CommandSelection::moveLeft(std::optional<int> number) {
    if (!number)
        return;
    const auto inRight = std::find(right_.begin(), right_.end(), *number);
    if (inRight == right_.end())
        return;
    right_.erase(inRight);
    --count_;
    left_.insert(std::upper_bound(left_.begin(), left_.end(), *number), *number);
}

std::string_view CommandSelection::description(int number) {
    return HartCommandCatalogue::instance().commandDescription(number);
}

std::array<bool, CommandSelection::CommandNumbers> CommandSelection::chosen() const {
    std::array<bool, CommandNumbers> flags{};
    for (int number : right_)
        flags[static_cast<std::size_t>(number)] = true;
    return flags;
}

std::string CommandSelection::entryText(int number) {
    return "Command ID" + decimalText(number);
}

} // namespace korvan
