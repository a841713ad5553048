#include "model/COrlaCommand.h"

#include "base/Decimal.h"
#include "base/Prompt.h"
#include "model/COrlaItem.h"
#include "model/CommandItems.h"
#include "model/ObjectRegistries.h"
#include "model/ReachableObjects.h"

#include <algorithm>
#include <array>

namespace korvan {
namespace {

constexpr std::array<std::string_view, 2> configurationModes{"Basic", "Advanced"};
constexpr std::array<std::string_view, 4> outputModes{"Polling", "Change of State", "Initialization", "Disable"};

constexpr std::string_view configurationModeHelp =
    "Command configuration mode:\r\nBasic: the configuration mode of all bytes of this command, and all "
    "corresponding data are obtained; \r\nAdvanced: the data corresponding to this command is segmented. You can "
    "select only the required part;";

// Items 0-10; item 4 is enabled per command (see createHart).
constexpr std::array<ItemSpec, command_item::BasicItemCount> basicItems{{
    {"Configuration Mode", configurationModeHelp, "Basic", Choice, true, configurationModes},
    {"Mode of Outputting Commands",
     "Mode of Outputting Command:\r\nPolling: Send the command periodically.\r\nChange of State: Send the command "
     "when the data in the send data buffer changes.\r\nInitialization: Send the command only when power "
     "on.\r\nDisable: The command will not be sent.",
     "Polling", Choice, true, outputModes},
    {"Memory Starting Address of Sending Data", "Set starting address of sending data: 3000~4999", "3000",
     TypedValue, true, {}},
    {"Modbus Register Starting Address of Sending Data",
     "Modbus register starting address of Modbus master writing data: 1500~2499", "1500", TypedValue, false, {}},
    {"Length of Sending Data (BYTE)", "Set the byte-length of sending data: 0~255", "0", TypedValue, true, {}},
    {"Length of Sending Data (WORD)", "Set the word-length of sending data: 0~128", "0", TypedValue, false, {}},
    {"Memory Starting Address of Receiving Data", "Set starting address of receiving data: 0~2999", "0",
     TypedValue, true, {}},
    {"Modbus Register Starting Address of Receiving Data",
     "Modbus register starting address of Modbus master reading data: 0~1499", "0", TypedValue, false, {}},
    {"Length of Receiving Data (BYTE)", "Set the byte-length of receiving data: 0~255", "0", TypedValue, true, {}},
    {"Length of Receiving Data (WORD)", "Set the word-length of receiving data: 0~128", "0", TypedValue, false, {}},
    {"Command Index", "The index of the command in the configured commands list", "0", TypedValue, false, {}},
}};

} // namespace

const ItemSpec& basicCommandItemSpec(std::size_t position) {
    return basicItems[std::min(position, basicItems.size() - 1)];
}

COrlaCommand* COrlaCommand::createHart(ObjectRegistries& registries, unsigned hartCommand) {
    COrlaCommand* command = registries.commands().create();
    command->setCommandName("Command ID" + decimalText(hartCommand));
    command->setCommandNumber(hartCommand);
    for (const ItemSpec& description : basicItems)
        command->addItem(registries.createItem(description));
    command->itemAt(command_item::SendLengthBytes)
        ->setup(basicItems[command_item::SendLengthBytes].name, basicItems[command_item::SendLengthBytes].help, "0",
                TypedValue, command_item::carriesNoRequestData(hartCommand) ? 0 : 1);
    while (command->items_.size() < command_item::ItemTotal)
        command->addItem(registries.createItem());
    return command;
}

bool COrlaCommand::addItem(COrlaItem* item) {
    if (item == nullptr)
        return false;
    items_.append(item);
    ++itemCount_;
    return true;
}

bool COrlaCommand::removeItem(COrlaItem* item) {
    if (!items_.remove(item))
        return false;
    --itemCount_;
    return true;
}

void COrlaCommand::clearItems() {
    items_.clear();
    itemCount_ = 0;
}

int COrlaCommand::itemChoiceIndex(std::size_t position) const {
    const COrlaItem* item = itemAt(position);
    return item ? item->choiceIndex() : -1;
}

int COrlaCommand::itemIntValue(std::size_t position) const {
    const COrlaItem* item = itemAt(position);
    return item ? decimalValue(item->value()) : -1;
}

bool COrlaCommand::setItemChoice(std::size_t position, int index) {
    COrlaItem* item = itemAt(position);
    return item != nullptr && item->selectChoice(index);
}

bool COrlaCommand::setItemInt(std::size_t position, int value) {
    COrlaItem* item = itemAt(position);
    if (item == nullptr)
        return false;
    item->setValue(decimalText(value));
    return true;
}

ResultCode COrlaCommand::validate(Prompt& prompt) const {
    const auto checkPresent = [&](std::size_t position) {
        const COrlaItem* item = itemAt(position);
        if (item != nullptr && item->value().empty()) {
            prompt.message(name_ + " - " + item->name() + " data is empty");
            return false;
        }
        return true;
    };
    for (std::size_t position : {command_item::OutputMode, command_item::SendMemoryStart,
                                 command_item::SendRegisterStart})
        if (!checkPresent(position))
            return ResultCode::ItemEmpty;
    const bool needsSendLength = commandType_ == 0 || commandType_ == 1 || commandType_ == 4 || commandType_ == 12;
    if (needsSendLength && !checkPresent(command_item::SendLengthBytes))
        return ResultCode::ItemEmpty;
    return ResultCode::Success;
}

void COrlaCommand::setCommandIndex(int& counter) {
    setItemInt(command_item::CommandIndex, counter);
    ++counter;
}

std::optional<AddressRanges> COrlaCommand::addressRanges() const {
    const COrlaItem* sendStart = items_.exactlyAt(command_item::SendMemoryStart);
    const COrlaItem* sendLength = items_.exactlyAt(command_item::SendLengthBytes);
    const COrlaItem* receiveStart = items_.exactlyAt(command_item::ReceiveMemoryStart);
    const COrlaItem* receiveLength = items_.exactlyAt(command_item::ReceiveLengthBytes);
    if (!sendStart || !sendLength || !receiveStart || !receiveLength)
        return std::nullopt;
    AddressRanges ranges;
    ranges.sendStart = decimalValue(sendStart->value());
    ranges.sendEnd = ranges.sendStart + std::int64_t{decimalValue(sendLength->value())};
    ranges.receiveStart = decimalValue(receiveStart->value());
    ranges.receiveEnd = ranges.receiveStart + std::int64_t{decimalValue(receiveLength->value())};
    return ranges;
}

bool COrlaCommand::isAdvanced() const {
    const COrlaItem* mode = items_.exactlyAt(command_item::ConfigurationMode);
    return mode != nullptr && mode->value() == "Advanced";
}

int COrlaCommand::segmentCount() const {
    const COrlaItem* first = items_.exactlyAt(command_item::FirstSegment);
    if (first == nullptr)
        return 0;
    return std::clamp(decimalValue(first->segmentEnableCount()), 0,
                      static_cast<int>(command_item::SegmentRecordCount));
}

COrlaItem* COrlaCommand::segmentRecord(std::size_t i) const {
    if (i >= command_item::SegmentRecordCount)
        return nullptr;
    return items_.exactlyAt(command_item::FirstSegment + i);
}

void COrlaCommand::markReferences(ReachableObjects& reachable) const {
    reachable.markAll(items_);
}

} // namespace korvan
