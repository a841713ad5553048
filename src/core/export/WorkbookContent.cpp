#include "export/WorkbookContent.h"

#include "base/Decimal.h"
#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"
#include "model/CProfilebus.h"
#include "model/CommandItems.h"

#include <array>

namespace korvan {
namespace {

using namespace command_item;

constexpr std::array<const char*, 8> sheetNames{"Fieldbus",
                                                "Channel Configuration",
                                                "Channel 1",
                                                "Channel 2",
                                                "Channel 3",
                                                "Channel1 advanced configuration",
                                                "Channel2 advanced configuration",
                                                "Channel3 advanced configuration"};
constexpr int channelSheet = 1;  // + channel number
constexpr int advancedSheet = 4; // + channel number
constexpr int commandItemsExported = 15;

// One table row of items from column `column`; the first row also writes the names above.
void exportItems(const PtrList<COrlaItem>& items, SheetContent& sheet, int column, int& row) {
    for (const COrlaItem* item : items) {
        if (item != nullptr) {
            if (row == 1) {
                sheet.set(1, column, item->name());
                if (sheet.headerRows.empty())
                    sheet.headerRows.push_back(1);
            }
            sheet.set(row + 1, column, item->value());
        }
        ++column;
    }
    ++row;
}

// The template's header row of a command sheet: the columns the command rows fill.
void writeCommandHeaders(SheetContent& sheet) {
    sheet.set(1, 1, "HART Slave Address");
    sheet.set(1, 2, "HART Command");
    for (int i = 0; i < commandItemsExported; ++i) {
        const ItemSpec& description = basicCommandItemSpec(static_cast<std::size_t>(i));
        sheet.set(1, 3 + i,
                  i < static_cast<int>(BasicItemCount) ? std::string(description.name) : std::string());
    }
    sheet.headerRows.push_back(1);
}

void exportCommandRow(const COrlaNode& node, const COrlaCommand& command, int k, SheetContent& sheet) {
    const int row = k + 2;
    const COrlaItem* address = node.items().front();
    sheet.set(row, 1, address ? address->value() : std::string());
    sheet.set(row, 2, decimalText(command.commandNumber()));
    const bool advanced = command.isAdvanced();
    for (int i = 0; i < commandItemsExported; ++i) {
        const COrlaItem* item = command.items().exactlyAt(static_cast<std::size_t>(i));
        const bool blanked = advanced && i >= static_cast<int>(ReceiveMemoryStart) &&
                             i <= static_cast<int>(ReceiveLengthWords);
        sheet.set(row, 3 + i, item && !blanked ? item->value() : std::string());
    }
}

void exportSegments(const COrlaCommand& command, int k, SheetContent& sheet, int& row) {
    const int count = command.segmentCount();
    if (count == 0)
        return;
    if (row != 1)
        ++row;
    sheet.set(row, 1, "Command Index");
    sheet.set(row, 2, decimalText(k));
    sheet.set(row, 3, "Command ID");
    sheet.set(row, 4, decimalText(command.commandNumber()));
    ++row;
    const std::array<const char*, 4> headers{"Bytes", "Memory Address", "Starting Address", "Byte swap"};
    for (int c = 0; c < 4; ++c)
        sheet.set(row, c + 1, headers[static_cast<std::size_t>(c)]);
    sheet.headerRows.push_back(row);
    ++row;
    for (int i = 0; i < count; ++i) {
        const COrlaItem* segment = command.segmentRecord(static_cast<std::size_t>(i));
        if (segment == nullptr)
            break;
        const int address = decimalValue(segment->segmentAddress());
        sheet.set(
            row, 1,
            segmentByteRange(decimalValue(segment->segmentOffset()), decimalValue(segment->segmentLength())));
        sheet.set(row, 2, segment->segmentAddress());
        sheet.set(row, 3, decimalText(address / 2 - (address < 0 && address % 2 != 0 ? 1 : 0)));
        sheet.set(row, 4, segment->segmentSwap() ? "Register swap" : "no swap");
        ++row;
    }
}

void exportChannel(const CHartbus& channel, int number, std::vector<SheetContent>& sheets, int& channelRow) {
    SheetContent& table = sheets[1];
    table.set(channelRow + 1, 1, decimalText(channelRow));
    exportItems(channel.items(), table, 2, channelRow);
    SheetContent& commands = sheets[static_cast<std::size_t>(channelSheet + number)];
    SheetContent& advanced = sheets[static_cast<std::size_t>(advancedSheet + number)];
    int k = 0;
    int segmentRow = 1;
    for (const COrlaNode* node : channel.currentNodes()) {
        if (node == nullptr)
            continue;
        for (const COrlaCommand* command : node->commands()) {
            if (command == nullptr)
                continue;
            exportCommandRow(*node, *command, k, commands);
            exportSegments(*command, k, advanced, segmentRow);
            ++k;
        }
    }
}

} // namespace

std::string segmentByteRange(int offset, int length) {
    if (offset == 63)
        return "Command Status";
    std::string text = decimalText(offset);
    if (length > 1)
        text += "--" + decimalText(static_cast<std::int64_t>(offset) + length - 1);
    return text;
}

std::vector<SheetContent> buildWorkbookContent(const CProductTarn& product) {
    std::vector<SheetContent> sheets;
    for (const char* name : sheetNames)
        sheets.push_back({name, {}, {}});
    for (int number = 1; number <= 3; ++number)
        writeCommandHeaders(sheets[static_cast<std::size_t>(channelSheet + number)]);

    const CProfilebus& network = product.networkBus();
    SheetContent& fieldbus = sheets[0];
    fieldbus.set(1, 1, network.selector().name());
    fieldbus.set(2, 1, network.selector().value());
    int networkRow = 1;
    exportItems(network.currentItems(), fieldbus, 2, networkRow);

    int number = 1;
    int channelRow = 1;
    for (const CHartbus* channel : product.channels()) {
        if (channel == nullptr || number > 3)
            continue;
        exportChannel(*channel, number, sheets, channelRow);
        ++number;
    }
    return sheets;
}

} // namespace korvan
