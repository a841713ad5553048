#pragma once

#include "hart/HartFieldInfo.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvan {

class AdvancedSelectionTable;
class Prompt;

// The cells of one data row of the "Advanced Configuration" grid.
struct SelectionRow {
    std::string bytes;           // "Command Status" or the field's range text
    std::string memoryAddress;   // decimal
    std::string startingAddress; // the address / 2: its Modbus register
    std::string byteSwap;        // "Register swap" or "no swap"
    bool swapEditable = false;   // false: grey "no swap" (status entry, fields not 4 bytes long)
};

// The state and rules of the "Advanced Configuration" dialog for one command: the selected
// entries as grid rows (status entry first, then fields in catalogue order), the unselected
// ones as tree items, and the description box. Every change is made in the selection table
// at once; the window only shows this object. The grid always shows what will be stored.
class AdvancedConfiguration {
public:
    static constexpr std::string_view Hint = "Select the data module and press the Delete key or "
                                             "double-clicking the left mouse button to delete the "
                                             "information block!";
    static constexpr std::string_view RegisterSwap = "Register swap";
    static constexpr std::string_view NoSwap = "no swap";

    AdvancedConfiguration(AdvancedSelectionTable& table, int command, Prompt& prompt);

    // Opens for the command. A receive length of 1 or more converts the Basic mapping (and
    // is then set to 0, so that this happens once); with no entry selected the 4-byte fields
    // are proposed; otherwise the stored selection is shown. A conversion that would need
    // more than 26 segments selects the first 26 and says so.
    void open(int& receiveLength, bool holdsStoredSegments);
    // Whether the last open() converted a Basic mapping (the grid then lays its columns out
    // for the range texts).
    [[nodiscard]] bool convertedFromBasic() const { return convertedFromBasic_; }

    [[nodiscard]] std::size_t rowCount() const { return rows_.size(); }
    [[nodiscard]] SelectionRow row(std::size_t i) const;
    [[nodiscard]] std::size_t treeCount() const { return tree_.size(); }
    // "Command Status" or "Byte" directly followed by the range text.
    [[nodiscard]] std::string treeText(std::size_t i) const;
    [[nodiscard]] const std::string& description() const { return description_; }

    void showRowDescription(std::size_t row);
    void showTreeDescription(std::size_t item);

    // Adds the tree item's entry (4-byte fields with swap on). The grid is rebuilt and every
    // row starts again at address 0 with its default swap. Refused with a message when 26
    // entries are selected already.
    bool addTreeItem(std::size_t item);
    // Takes the row's entry off; its tree item goes to the end of the tree.
    void removeRow(std::size_t row);

    // The typed address (text without leading digits reads as 0); outside 0-1599 shows
    // "Data out of range" and keeps the old value.
    bool commitAddress(std::size_t row, std::string_view text);
    // "Register swap" or "no swap" chosen for a 4-byte field; nothing chosen changes nothing.
    void commitSwap(std::size_t row, std::optional<std::string_view> choice);

private:
    [[nodiscard]] bool isFourBytes(FieldRef ref) const;
    [[nodiscard]] std::string_view descriptionOf(FieldRef ref) const;
    void resetRows();
    void setDefaults(FieldRef ref);

    AdvancedSelectionTable& table_;
    int command_;
    Prompt& prompt_;
    std::vector<FieldRef> rows_;
    std::vector<FieldRef> tree_;
    std::string description_;
    bool convertedFromBasic_ = false;
};

} // namespace korvan
