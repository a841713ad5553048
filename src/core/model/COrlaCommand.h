#pragma once

#include "base/ResultCode.h"
#include "model/CObject.h"
#include "model/PtrList.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvan {

class COrlaItem;
class ObjectRegistries;
class Prompt;
class ReachableObjects;
struct ItemSpec;

// The description of basic item 0-10 of a HART command with its default.
[[nodiscard]] const ItemSpec& basicCommandItemSpec(std::size_t position);

// The memory a command's data occupy: [sendStart, sendEnd) and [receiveStart, receiveEnd).
// The items may hold any int a file gave, so the ends are held in 64 bits.
struct AddressRanges {
    std::int64_t sendStart = 0;
    std::int64_t sendEnd = 0;
    std::int64_t receiveStart = 0;
    std::int64_t receiveEnd = 0;
};

// One HART command the gateway sends to a device, with where its data live in the
// gateway's memories. Everything is held in its item list at fixed positions
// (see CommandItems.h).
class COrlaCommand : public CObject {
public:
    COrlaCommand() = default;

    // A HART command with its 41 items at their defaults, named "Command ID<number>".
    static COrlaCommand* createHart(ObjectRegistries& registries, unsigned hartCommand);

    bool addItem(COrlaItem* item);
    bool removeItem(COrlaItem* item);
    [[nodiscard]] COrlaItem* itemAt(std::size_t position) const { return items_.at(position); }
    [[nodiscard]] int itemCount() const { return itemCount_; }
    [[nodiscard]] const PtrList<COrlaItem>& items() const { return items_; }
    void clearItems();

    [[nodiscard]] const std::string& commandName() const { return name_; }
    void setCommandName(std::string_view name) { name_ = name; }
    [[nodiscard]] std::uint32_t commandType() const { return commandType_; }
    void setCommandType(std::uint32_t type) { commandType_ = type; }
    [[nodiscard]] std::uint32_t commandNumber() const { return commandNumber_; }
    void setCommandNumber(std::uint32_t number) { commandNumber_ = number; }
    [[nodiscard]] int lookupKey() const { return lookupKey_; }
    void setLookupKey(int key) { lookupKey_ = key; }

    [[nodiscard]] int itemChoiceIndex(std::size_t position) const;
    [[nodiscard]] int itemIntValue(std::size_t position) const;
    bool setItemChoice(std::size_t position, int index);
    bool setItemInt(std::size_t position, int value);

    // Checks that the values the download needs are present; shows the message itself.
    [[nodiscard]] ResultCode validate(Prompt& prompt) const;

    // Item 10 becomes the counter, which then moves on.
    void setCommandIndex(int& counter);

    [[nodiscard]] std::optional<AddressRanges> addressRanges() const;

    // True while item 0 holds "Advanced".
    [[nodiscard]] bool isAdvanced() const;
    // The number of segments in use: record 15's enable count, limited to the 26 records.
    [[nodiscard]] int segmentCount() const;
    // Segment record i (0-25), or nothing when the command has fewer items.
    [[nodiscard]] COrlaItem* segmentRecord(std::size_t i) const;

    // Marks the command's items, for a sweep of the registries.
    void markReferences(ReachableObjects& reachable) const;

private:
    PtrList<COrlaItem> items_;
    int itemCount_ = 0;
    std::string name_;
    std::uint32_t commandType_ = 0;
    std::uint32_t commandNumber_ = 0;
    int lookupKey_ = -1;
};

} // namespace korvan
