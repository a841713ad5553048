#include "hart/AdvancedSelectionTable.h"

#include "hart/HartCommandCatalogue.h"

#include <algorithm>

namespace korvan {
namespace {

constexpr int CommandSlots = 255;
constexpr std::size_t StatusSlot = MaxHartFields;

} // namespace

AdvancedSelectionTable::AdvancedSelectionTable() : commands_(CommandSlots) {}

SelectionEntry* AdvancedSelectionTable::find(int command, FieldRef ref) {
    if (command < 0 || command >= CommandSlots)
        return nullptr;
    CommandSelection& selection = commands_[static_cast<std::size_t>(command)];
    if (ref.isStatus())
        return &selection.entries[StatusSlot];
    if (ref.index < 0 || ref.index >= HartCommandCatalogue::instance().fieldCount(command))
        return nullptr;
    return &selection.entries[static_cast<std::size_t>(ref.index)];
}

SelectionEntry& AdvancedSelectionTable::entry(int command, FieldRef ref) {
    SelectionEntry* found = find(command, ref);
    if (found != nullptr)
        return *found;
    detached_ = {};
    return detached_;
}

const SelectionEntry& AdvancedSelectionTable::entry(int command, FieldRef ref) const {
    return const_cast<AdvancedSelectionTable*>(this)->entry(command, ref);
}

bool AdvancedSelectionTable::select(int command, FieldRef ref, bool swap, int memoryAddress) {
    SelectionEntry* found = find(command, ref);
    if (found == nullptr || found->selected || selectedCount(command) >= MaxSelected)
        return false;
    *found = {true, swap, memoryAddress};
    commands_[static_cast<std::size_t>(command)].order.push_back(ref);
    return true;
}

void AdvancedSelectionTable::unselect(int command, FieldRef ref) {
    SelectionEntry* found = find(command, ref);
    if (found == nullptr || !found->selected)
        return;
    found->selected = false;
    auto& order = commands_[static_cast<std::size_t>(command)].order;
    order.erase(std::remove(order.begin(), order.end(), ref), order.end());
}

void AdvancedSelectionTable::clearCommand(int command) {
    if (command < 0 || command >= CommandSlots)
        return;
    CommandSelection& selection = commands_[static_cast<std::size_t>(command)];
    for (SelectionEntry& e : selection.entries) {
        e.selected = false;
        e.memoryAddress = 0;
    }
    selection.order.clear();
}

int AdvancedSelectionTable::selectedCount(int command) const {
    return static_cast<int>(selectedOrder(command).size());
}

std::span<const FieldRef> AdvancedSelectionTable::selectedOrder(int command) const {
    if (command < 0 || command >= CommandSlots)
        return {};
    return commands_[static_cast<std::size_t>(command)].order;
}

std::vector<FieldRef> AdvancedSelectionTable::allEntries(int command) {
    std::vector<FieldRef> all{FieldRef::status()};
    for (int i = 0; i < HartCommandCatalogue::instance().fieldCount(command); ++i)
        all.push_back(FieldRef::field(i));
    return all;
}

std::vector<FieldRef> AdvancedSelectionTable::canonicalSelection(int command) const {
    std::vector<FieldRef> selected;
    for (FieldRef ref : allEntries(command))
        if (entry(command, ref).selected)
            selected.push_back(ref);
    return selected;
}

} // namespace korvan
