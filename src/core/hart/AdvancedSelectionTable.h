#pragma once

#include "hart/HartFieldInfo.h"

#include <array>
#include <span>
#include <vector>

namespace korvan {

// One catalogue field (or the status entry) of a command in the advanced selection.
struct SelectionEntry {
    bool selected = false;
    bool swap = false;     // register swap; meaningful for 4-byte fields only
    int memoryAddress = 0; // byte address in the receive memory, 0-1599
};

// The working copy of the Advanced configuration of every HART command 0-254: per command
// one entry per catalogue field and one for the status entry, and the selected entries in
// the order they were selected. A command stores at most 26 segments, so no more than 26
// entries of a command can be selected.
class AdvancedSelectionTable {
public:
    static constexpr int MaxSelected = 26;
    static constexpr int LastAddress = 1599;

    AdvancedSelectionTable();

    // The entry of a field or the status entry; a command or index outside the catalogue
    // gets a detached entry that nothing reads.
    [[nodiscard]] SelectionEntry& entry(int command, FieldRef ref);
    [[nodiscard]] const SelectionEntry& entry(int command, FieldRef ref) const;

    // Selects the entry with its swap flag and address. False, and nothing changes, when
    // the entry is already selected, does not exist, or 26 entries are selected already.
    bool select(int command, FieldRef ref, bool swap, int memoryAddress);
    void unselect(int command, FieldRef ref);
    // Unselects every entry of the command and sets its addresses to 0.
    void clearCommand(int command);

    [[nodiscard]] int selectedCount(int command) const;
    // In the order the entries were selected.
    [[nodiscard]] std::span<const FieldRef> selectedOrder(int command) const;
    // The selected entries in the grid's order: the status entry first, then the fields in
    // catalogue order.
    [[nodiscard]] std::vector<FieldRef> canonicalSelection(int command) const;
    // Every entry of the command in that order, selected or not.
    [[nodiscard]] static std::vector<FieldRef> allEntries(int command);

private:
    struct CommandSelection {
        std::array<SelectionEntry, MaxHartFields + 1> entries; // the fields, then the status entry
        std::vector<FieldRef> order;
    };

    [[nodiscard]] SelectionEntry* find(int command, FieldRef ref);

    std::vector<CommandSelection> commands_;
    SelectionEntry detached_;
};

} // namespace korvan
