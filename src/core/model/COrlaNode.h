#pragma once

#include "base/ResultCode.h"
#include "model/CObject.h"
#include "model/PtrList.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace korvan {

class COrlaCommand;
class COrlaItem;
class ObjectRegistries;
class Prompt;
class ReachableObjects;

// A device on a bus: for a HART channel one HART slave device, with the commands the
// gateway polls it with.
class COrlaNode : public CObject {
public:
    COrlaNode() = default;

    // A HART command with its defaults, registered and appended.
    COrlaCommand* addHartCommand(ObjectRegistries& registries, unsigned hartCommand);
    // Appends an existing command (for example a pasted copy).
    bool attachCommand(COrlaCommand* command);
    bool removeCommand(COrlaCommand* command);
    [[nodiscard]] COrlaCommand* commandAt(std::size_t position) const { return commands_.at(position); }
    [[nodiscard]] int commandCount() const { return static_cast<int>(commands_.size()); }
    [[nodiscard]] const PtrList<COrlaCommand>& commands() const { return commands_; }
    void clearCommands();

    // The command count as kept beside the list; a project file stores and restores it.
    [[nodiscard]] int storedCommandCount() const { return commandCountMember_; }
    void setStoredCommandCount(int count) { commandCountMember_ = count; }

    void addItem(COrlaItem* item);
    [[nodiscard]] COrlaItem* itemAt(std::size_t position) const { return items_.at(position); }
    [[nodiscard]] const PtrList<COrlaItem>& items() const { return items_; }
    [[nodiscard]] int itemCount() const { return itemCount_; }

    [[nodiscard]] const std::string& nodeName() const { return name_; }
    void setNodeName(std::string_view name) { name_ = name; }
    [[nodiscard]] std::uint32_t address() const { return address_; }
    void setAddress(std::uint32_t address) { address_ = address; }

    // The address item must not be empty, then every command must validate.
    [[nodiscard]] ResultCode validate(Prompt& prompt) const;

    // Gives each command the next command index.
    void renumberCommands(int& counter);

    // The command number of the first command with that lookup key, else -1.
    [[nodiscard]] int commandNumberOf(int key) const;
    [[nodiscard]] COrlaCommand* commandByNumber(std::uint32_t number) const;

    // Marks the node's commands and items, for a sweep of the registries.
    void markReferences(ReachableObjects& reachable) const;

private:
    PtrList<COrlaCommand> commands_;
    PtrList<COrlaItem> items_;
    int commandCountMember_ = 0;
    int itemCount_ = 0;
    std::string name_;
    std::uint32_t address_ = 0;
};

// "Node(%d)".
[[nodiscard]] std::string nodeNameFor(std::int64_t address);

} // namespace korvan
