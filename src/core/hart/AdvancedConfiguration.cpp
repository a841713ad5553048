#include "hart/AdvancedConfiguration.h"

#include "base/Decimal.h"
#include "base/Prompt.h"
#include "base/ResultCode.h"
#include "hart/AdvancedConversion.h"
#include "hart/AdvancedSelectionTable.h"
#include "hart/HartCommandCatalogue.h"

#include <algorithm>

namespace korvan {

AdvancedConfiguration::AdvancedConfiguration(AdvancedSelectionTable& table, int command, Prompt& prompt)
    : table_(table), command_(command), prompt_(prompt), description_(Hint) {}

bool AdvancedConfiguration::isFourBytes(FieldRef ref) const {
    return !ref.isStatus() && HartCommandCatalogue::instance().fieldAt(command_, ref.index).length == 4;
}

std::string_view AdvancedConfiguration::descriptionOf(FieldRef ref) const {
    return HartCommandCatalogue::instance().entry(command_, ref).description;
}

void AdvancedConfiguration::setDefaults(FieldRef ref) {
    SelectionEntry& entry = table_.entry(command_, ref);
    entry.memoryAddress = 0;
    entry.swap = isFourBytes(ref);
}

void AdvancedConfiguration::open(int& receiveLength, bool holdsStoredSegments) {
    convertedFromBasic_ = receiveLength >= 1;
    if (convertedFromBasic_) {
        convertToAdvanced(table_, command_, receiveLength, holdsStoredSegments, prompt_);
        // The grid shows every converted row at address 0 with the default swap of its
        // field; the entries take those values, so what is stored is what was shown.
        for (FieldRef ref : table_.canonicalSelection(command_))
            setDefaults(ref);
        receiveLength = 0;
    } else if (table_.selectedCount(command_) == 0) {
        convertToAdvanced(table_, command_, 0, false, prompt_);
        for (FieldRef ref : table_.canonicalSelection(command_))
            setDefaults(ref);
    }
    rows_ = table_.canonicalSelection(command_);
    tree_.clear();
    for (FieldRef ref : AdvancedSelectionTable::allEntries(command_))
        if (!table_.entry(command_, ref).selected)
            tree_.push_back(ref);
    description_ = Hint;
}

SelectionRow AdvancedConfiguration::row(std::size_t i) const {
    if (i >= rows_.size())
        return {};
    const FieldRef ref = rows_[i];
    const SelectionEntry& entry = table_.entry(command_, ref);
    SelectionRow row;
    row.bytes = std::string(HartCommandCatalogue::instance().entry(command_, ref).rangeText);
    row.memoryAddress = decimalText(entry.memoryAddress);
    row.startingAddress = decimalText(entry.memoryAddress / 2);
    row.swapEditable = isFourBytes(ref);
    row.byteSwap = std::string(row.swapEditable && entry.swap ? RegisterSwap : NoSwap);
    return row;
}

std::string AdvancedConfiguration::treeText(std::size_t i) const {
    if (i >= tree_.size())
        return {};
    if (tree_[i].isStatus())
        return std::string(CommandStatusLabel);
    return "Byte" + std::string(HartCommandCatalogue::instance().fieldAt(command_, tree_[i].index).rangeText);
}

void AdvancedConfiguration::showRowDescription(std::size_t row) {
    if (row < rows_.size())
        description_ = descriptionOf(rows_[row]);
}

void AdvancedConfiguration::showTreeDescription(std::size_t item) {
    if (item < tree_.size())
        description_ = descriptionOf(tree_[item]);
}

void AdvancedConfiguration::resetRows() {
    for (FieldRef ref : rows_)
        setDefaults(ref);
}

bool AdvancedConfiguration::addTreeItem(std::size_t item) {
    if (item >= tree_.size())
        return false;
    const FieldRef ref = tree_[item];
    if (!table_.select(command_, ref, isFourBytes(ref), 0)) {
        prompt_.message(TooManySegmentsMessage);
        return false;
    }
    tree_.erase(tree_.begin() + static_cast<std::ptrdiff_t>(item));
    rows_ = table_.canonicalSelection(command_);
    resetRows();
    return true;
}

void AdvancedConfiguration::removeRow(std::size_t row) {
    if (row >= rows_.size())
        return;
    const FieldRef ref = rows_[row];
    table_.unselect(command_, ref);
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
    tree_.push_back(ref);
}

bool AdvancedConfiguration::commitAddress(std::size_t row, std::string_view text) {
    if (row >= rows_.size())
        return false;
    const int value = decimalValue(text);
    if (value < 0 || value > AdvancedSelectionTable::LastAddress) {
        prompt_.message(resultMessage(ResultCode::OutOfRange));
        return false;
    }
    table_.entry(command_, rows_[row]).memoryAddress = value;
    return true;
}

void AdvancedConfiguration::commitSwap(std::size_t row, std::optional<std::string_view> choice) {
    if (row >= rows_.size() || !isFourBytes(rows_[row]) || !choice)
        return;
    if (*choice == RegisterSwap)
        table_.entry(command_, rows_[row]).swap = true;
    else if (*choice == NoSwap)
        table_.entry(command_, rows_[row]).swap = false;
}

} // namespace korvan
