#include "hart/AdvancedConversion.h"

#include "base/Decimal.h"
#include "base/Prompt.h"
#include "hart/AdvancedSelectionTable.h"
#include "hart/HartCommandCatalogue.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/CommandItems.h"

namespace korvan {
namespace {

// Selects and remembers whether the 26-entry limit refused an entry.
struct LimitedSelection {
    AdvancedSelectionTable& table;
    int command;
    bool limited = false;

    void select(FieldRef ref, bool swap) {
        SelectionEntry& entry = table.entry(command, ref);
        if (entry.selected)
            return;
        if (table.selectedCount(command) >= AdvancedSelectionTable::MaxSelected) {
            limited = true;
            return;
        }
        static_cast<void>(table.select(command, ref, swap, entry.memoryAddress));
    }
};

void setItemText(COrlaCommand& command, std::size_t position, std::string_view text) {
    if (COrlaItem* item = command.items().exactlyAt(position))
        item->setValue(text);
}

} // namespace

void convertToAdvanced(AdvancedSelectionTable& table, int command, int receiveLength,
                       bool holdsStoredSegments, Prompt& prompt) {
    const HartCommandCatalogue& catalogue = HartCommandCatalogue::instance();
    LimitedSelection selection{table, command};
    if (receiveLength < 1) {
        if (!holdsStoredSegments)
            for (int i = 0; i < catalogue.fieldCount(command); ++i)
                if (catalogue.fieldAt(command, i).length == 4)
                    selection.select(FieldRef::field(i), true);
    } else {
        if (receiveLength >= 2)
            selection.select(FieldRef::status(), table.entry(command, FieldRef::status()).swap);
        int total = StatusEntryLength;
        for (int i = 0; i < catalogue.fieldCount(command); ++i) {
            total += catalogue.fieldAt(command, i).length;
            if (total > receiveLength)
                break;
            selection.select(FieldRef::field(i), table.entry(command, FieldRef::field(i)).swap);
        }
    }
    if (selection.limited)
        prompt.message(TooManySegmentsMessage);
}

AdvancedOpening loadStoredSegments(AdvancedSelectionTable& table, COrlaCommand& command, Prompt& prompt) {
    AdvancedOpening opening;
    const int number = static_cast<int>(command.commandNumber());
    const COrlaItem* first = command.segmentRecord(0);
    opening.holdsStoredSegments = first != nullptr && decimalValue(first->segmentLength()) >= 1;
    opening.receiveLength = command.itemIntValue(command_item::ReceiveLengthBytes);
    setItemText(command, command_item::ReceiveLengthBytes, "0");
    setItemText(command, command_item::ReceiveMemoryStart, "0");

    const int count = command.segmentCount();
    bool unplaced = false;
    for (int i = 0; i < count; ++i) {
        const COrlaItem* record = command.segmentRecord(static_cast<std::size_t>(i));
        if (record == nullptr || !record->segmentEnabled())
            continue;
        const FieldLookup found =
            HartCommandCatalogue::instance().findFieldByStart(number, decimalValue(record->segmentOffset()));
        if (!found) {
            unplaced = true;
        } else if (!table.entry(number, *found).selected) {
            static_cast<void>(
                table.select(number, *found, record->segmentSwap(), decimalValue(record->segmentAddress())));
        }
    }
    if (unplaced)
        prompt.message(UnplacedSegmentsMessage);
    if (COrlaItem* firstRecord = command.segmentRecord(0))
        firstRecord->setSegmentEnableCount("0");
    return opening;
}

bool storeSelection(AdvancedSelectionTable& table, COrlaCommand& command, Prompt& prompt) {
    const int number = static_cast<int>(command.commandNumber());
    const std::vector<FieldRef> selected = table.canonicalSelection(number);
    for (std::size_t i = 0; i < std::max<std::size_t>(selected.size(), 1); ++i) {
        if (i >= command_item::SegmentRecordCount || command.segmentRecord(i) == nullptr) {
            prompt.message(TooManySegmentsMessage);
            return false;
        }
    }
    const HartCommandCatalogue& catalogue = HartCommandCatalogue::instance();
    for (std::size_t i = 0; i < selected.size(); ++i) {
        const HartFieldInfo& field = catalogue.entry(number, selected[i]);
        const SelectionEntry& entry = table.entry(number, selected[i]);
        COrlaItem& record = *command.segmentRecord(i);
        record.setSegmentEnabled(true);
        record.setSegmentSwap(entry.swap);
        record.setSegmentOffset(decimalText(field.startByte));
        record.setSegmentLength(decimalText(field.length));
        record.setSegmentAddress(decimalText(entry.memoryAddress));
    }
    command.segmentRecord(0)->setSegmentEnableCount(decimalText(static_cast<std::int64_t>(selected.size())));
    table.clearCommand(number);
    return true;
}

} // namespace korvan
