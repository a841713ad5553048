#include "app/ParameterGrid.h"

#include "app/AppState.h"
#include "base/Decimal.h"
#include "base/Prompt.h"
#include "hart/AdvancedConfiguration.h"
#include "hart/AdvancedConversion.h"
#include "hart/AdvancedSelectionTable.h"
#include "hart/HartCommandCatalogue.h"
#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"
#include "model/CProfilebus.h"
#include "model/CommandItems.h"
#include "model/ItemRules.h"
#include "model/ReachableObjects.h"
#include "network/ProfileRules.h"

#include <array>

namespace korvan {
namespace {

using namespace command_item;

constexpr std::size_t drawnRows = 11; // rows are drawn for positions 0-10 only
constexpr std::string_view basicQuestion = "Are you sure to choose \"Basic\"?  The advanced configuration "
                                           "items will be deleted after clicking \"YES\"";

struct Range {
    int min;
    int max;
};

std::optional<Range> channelRule(int row) {
    switch (row) {
    case static_cast<int>(channel_item::DelayBetweenPolls):
    case static_cast<int>(channel_item::ResponseTimeout):
        return Range{256, 65535};
    case static_cast<int>(channel_item::TimeoutCount):
        return Range{1, 14};
    default:
        return std::nullopt;
    }
}

std::optional<Range> commandRule(int row) {
    switch (row) {
    case static_cast<int>(SendMemoryStart):
        return Range{3000, 4999};
    case static_cast<int>(SendLengthBytes):
    case static_cast<int>(ReceiveLengthBytes):
        return Range{0, 255};
    case static_cast<int>(ReceiveMemoryStart):
        return Range{0, 2999};
    default:
        return std::nullopt;
    }
}

bool hasCatalogueDescription(int hartCommand) {
    return HartCommandCatalogue::instance().fieldCount(hartCommand) > 0;
}

void setItemValue(const COrlaCommand& command, std::size_t position, std::string_view value) {
    if (COrlaItem* item = command.items().exactlyAt(position))
        item->setValue(value);
}

} // namespace

ParameterGrid::ParameterGrid(CProductTarn& product, AppState& state, Prompt& prompt,
                             AdvancedSelectionTable& selection)
    : ObjectHolder(product.registries()), product_(product), state_(state), prompt_(prompt),
      selection_(selection) {}

void ParameterGrid::markHeld(ReachableObjects& reachable) const {
    if (tag_)
        reachable.mark(*tag_);
    for (const GridRow& row : rows_)
        reachable.mark(row.item);
}

void ParameterGrid::clear() {
    tag_.reset();
    rows_.clear();
    annotation_.clear();
    hartCommand_ = -1;
    clickedRow_ = -1;
}

void ParameterGrid::show(const TreeTag& tag, const std::string& label) {
    clear();
    const bool complete = (tag.kind == TreeItemKind::Command && tag.command) ||
                          (tag.kind == TreeItemKind::Node && tag.node && tag.channel) ||
                          (tag.kind == TreeItemKind::Channel && tag.channel) ||
                          (tag.kind == TreeItemKind::NetworkBus && tag.network);
    if (!complete)
        return;
    tag_ = tag;
    if (tag.kind == TreeItemKind::Command)
        hartCommand_ =
            decimalValue(label.size() > 10 ? std::string_view(label).substr(10) : std::string_view());
    redraw();
    if (tag.kind == TreeItemKind::NetworkBus)
        applyNetworkFlags();
}

void ParameterGrid::redraw() {
    rows_.clear();
    if (!tag_)
        return;
    switch (tag_->kind) {
    case TreeItemKind::Command:
        fillCommandRows();
        break;
    case TreeItemKind::Node:
        fillItemRows({tag_->node->items().begin(), tag_->node->items().end()});
        break;
    case TreeItemKind::Channel:
        fillItemRows({tag_->channel->items().begin(), tag_->channel->items().end()});
        break;
    case TreeItemKind::NetworkBus: {
        std::vector<COrlaItem*> items{&tag_->network->selector()};
        items.insert(items.end(), tag_->network->currentItems().begin(), tag_->network->currentItems().end());
        fillItemRows(items);
        break;
    }
    default:
        break;
    }
}

void ParameterGrid::fillItemRows(const std::vector<COrlaItem*>& items) {
    for (COrlaItem* item : items) {
        if (rows_.size() == drawnRows)
            break;
        if (item != nullptr)
            rows_.push_back({item->name(), item->value(), item->enabled() == 0, item});
        else
            rows_.push_back({});
    }
}

void ParameterGrid::fillCommandRows() {
    const COrlaCommand& command = *tag_->command;
    for (std::size_t i = 0; i < drawnRows; ++i) {
        COrlaItem* item = command.items().exactlyAt(i);
        rows_.push_back(item ? GridRow{item->name(), item->value(), item->enabled() == 0, item} : GridRow{});
    }
    // A command the catalogue does not describe can only use the Basic configuration.
    if (!hasCatalogueDescription(hartCommand_))
        rows_[ConfigurationMode].grey = true;
    if (rows_[ConfigurationMode].value != "Advanced")
        return;
    rows_[6] = {"Receive Data Project Configuration", "", false,
                command.items().exactlyAt(ReceiveMemoryStart)};
    const COrlaItem* index = command.items().exactlyAt(CommandIndex);
    rows_[7] = {"Command Index", index ? index->value() : "", true, command.items().exactlyAt(7)};
    for (std::size_t i = 8; i < drawnRows; ++i)
        rows_[i] = {};
}

void ParameterGrid::applyNetworkFlags() {
    state_.serialDebugAllowed = false;
    switch (tag_->network->mode()) {
    case ModbusSlaveMode:
        state_.canSelectMode = true;
        state_.serialDebugAllowed = true;
        break;
    case UserConfigMode:
        state_.canSelectMode = true;
        state_.canSerialDebug = false;
        break;
    case ModbusTcpMode:
        state_.canDownload = true;
        state_.canUpload = true;
        state_.canSerialDebug = false;
        break;
    default:
        break;
    }
}

bool ParameterGrid::showsAdvancedLayout() const {
    return tag_ && tag_->kind == TreeItemKind::Command && !rows_.empty() && rows_[0].value == "Advanced";
}

COrlaItem* ParameterGrid::clickedItem() const {
    if (clickedRow_ < 0 || static_cast<std::size_t>(clickedRow_) >= rows_.size())
        return nullptr;
    return rows_[static_cast<std::size_t>(clickedRow_)].item;
}

CellAction ParameterGrid::clickCell(int row, int column) {
    if (row < 0 || column < 0) {
        clickedRow_ = -1;
        return CellAction::None;
    }
    // The grid has more rows than an item fills; an empty row has no help text to show.
    if (static_cast<std::size_t>(row) >= rows_.size()) {
        clickedRow_ = -1;
        annotation_.clear();
        return CellAction::None;
    }
    clickedRow_ = row;
    rowZeroAtClick_ = rows_[0].value;
    const COrlaItem* item = clickedItem();
    if (item == nullptr) {
        annotation_.clear();
        return CellAction::None;
    }
    annotation_ = item->help();
    const bool advanced = showsAdvancedLayout();
    if (advanced && row == 6)
        annotation_ = "Byte offset configuration of the command";
    if (advanced && row == 7)
        annotation_ = "The index of the command in the configured commands list";
    if (advanced && row == 7)
        return CellAction::None; // the index is set by renumbering only
    if (item->enabled() == 0 || column != 1)
        return CellAction::None;
    if (row == 0 && tag_->kind == TreeItemKind::Command && !advanced &&
        !hasCatalogueDescription(hartCommand_))
        return CellAction::None;
    if (item->kind() == TypedValue)
        return advanced && row == 6 ? CellAction::OpenAdvanced : CellAction::EditText;
    if (item->kind() == Choice)
        return CellAction::ChooseFromList;
    return CellAction::None;
}

ResultCode ParameterGrid::validateText(std::string_view text) const {
    std::optional<Range> rule;
    if (tag_->kind == TreeItemKind::Channel)
        rule = channelRule(clickedRow_);
    else if (tag_->kind == TreeItemKind::Command)
        rule = commandRule(clickedRow_);
    return rule ? checkNumber(text, rule->min, rule->max) : ResultCode::Success;
}

void ParameterGrid::writeDerived(int row) {
    if (tag_->kind != TreeItemKind::Command)
        return;
    const COrlaCommand& command = *tag_->command;
    const int value = command.itemIntValue(static_cast<std::size_t>(row));
    switch (row) {
    case static_cast<int>(SendMemoryStart):
        setItemValue(command, SendRegisterStart, decimalText(value / 2));
        break;
    case static_cast<int>(SendLengthBytes):
        setItemValue(command, SendLengthWords, decimalText((value + 1) / 2));
        break;
    case static_cast<int>(ReceiveMemoryStart):
        setItemValue(command, ReceiveRegisterStart, decimalText(value / 2));
        break;
    case static_cast<int>(ReceiveLengthBytes):
        setItemValue(command, ReceiveLengthWords, decimalText((value + 1) / 2));
        break;
    default:
        break;
    }
}

ResultCode ParameterGrid::commitText(std::string_view text) {
    COrlaItem* item = clickedItem();
    if (item == nullptr || !tag_)
        return ResultCode::Success;
    const std::string old = item->value();
    ResultCode code = ResultCode::Success;
    if (tag_->kind == TreeItemKind::NetworkBus) {
        CProfilebus& bus = *tag_->network;
        const auto position = static_cast<std::size_t>(clickedRow_ - 1);
        if (bus.mode() == ModbusTcpMode && clickedRow_ >= 2 && clickedRow_ <= 4)
            code = commitEthernetAddress(bus, position, text, prompt_) ? code : ResultCode::IpFormatError;
        else if (bus.mode() == ModbusSlaveMode && position == slave_item::SlaveAddress)
            code = commitSlaveAddress(bus, text, prompt_) ? code : checkSlaveAddress(text);
        else
            item->setValue(text);
    } else if (tag_->kind == TreeItemKind::Node && clickedRow_ == 0) {
        // The address must be free in the node's own channel, whichever channel was selected last.
        code = tag_->channel->setNodeAddress(tag_->node, text);
        if (!succeeded(code))
            prompt_.message(resultMessage(code));
    } else {
        code = validateText(text);
        if (succeeded(code)) {
            item->setValue(text);
            writeDerived(clickedRow_);
        } else {
            prompt_.message(resultMessage(code));
        }
    }
    if (text != old)
        state_.projectDirty = true;
    redraw();
    return code;
}

ListCommitEffect ParameterGrid::commitChoice(std::optional<std::string> choice) {
    COrlaItem* item = clickedItem();
    if (!choice || item == nullptr || !tag_)
        return {};
    const std::string old = item->value();
    relabelBasicRows_ = false;
    const ListCommitEffect effect = applyChoice(*item, *choice);
    if (item->value() != old)
        state_.projectDirty = true;
    redraw();
    if (relabelBasicRows_) {
        // Right after the switch back the rows carry these labels until the next redraw.
        const std::array<const char*, 4> names{"Receiving memory starting address",
                                               "Number of Modbus registers receives the start address",
                                               "Receive data length (BYTE)", "Receive data length (WORD)"};
        for (std::size_t i = 0; i < names.size() && 6 + i < rows_.size(); ++i)
            rows_[6 + i].name = names[i];
    }
    return effect;
}

ListCommitEffect ParameterGrid::applyChoice(COrlaItem& item, const std::string& choice) {
    const int row = clickedRow_;
    switch (tag_->kind) {
    case TreeItemKind::Command:
        if (row == 0 && choice == "Advanced" && !showsAdvancedLayout())
            return switchToAdvanced(item);
        if (row == 0 && choice == "Basic" && showsAdvancedLayout())
            return switchToBasic(item);
        break;
    case TreeItemKind::Channel: {
        CHartbus& channel = *tag_->channel;
        if (row == static_cast<int>(channel_item::NetworkMode)) {
            const bool toPointToPoint = choice == "Point-to-Point" && channel.mode() == MultiDropMode;
            const bool toMultiDrop = choice == "Multi-drop" && channel.mode() == PointToPointMode;
            item.setValue(choice);
            if (!toPointToPoint && !toMultiDrop)
                return {true, false, false};
            channel.setMode(toPointToPoint ? PointToPointMode : MultiDropMode);
            return {true, true, true};
        }
        if (row == static_cast<int>(channel_item::TimeoutAction)) {
            item.setValue(choice);
            if (COrlaItem* count = channel.items().exactlyAt(channel_item::TimeoutCount))
                count->setEnabled(choice == "Clear" ? 1 : 0);
            return {true, false, true};
        }
        break;
    }
    case TreeItemKind::NetworkBus: {
        CProfilebus& bus = *tag_->network;
        if (row == 0) {
            const bool changed = selectProtocol(bus, choice, state_.canSelectMode, state_.linkKind);
            return {true, false, changed};
        }
        if (bus.mode() == ModbusTcpMode && row == 1) {
            item.setValue(choice);
            applyAssignIpMode(bus, choice);
            return {true, false, true};
        }
        break;
    }
    default:
        break;
    }
    item.setValue(choice);
    return {true, false, false};
}

ListCommitEffect ParameterGrid::switchToAdvanced(COrlaItem& item) {
    const COrlaCommand& command = *tag_->command;
    const COrlaItem* first = command.segmentRecord(0);
    const bool holdsStoredSegments = first != nullptr && decimalValue(first->segmentLength()) >= 1;
    convertToAdvanced(selection_, static_cast<int>(command.commandNumber()),
                      command.itemIntValue(ReceiveLengthBytes), holdsStoredSegments, prompt_);
    product_.fileFormat().generation = 2;
    item.setValue("Advanced");
    return {true, false, true};
}

ListCommitEffect ParameterGrid::switchToBasic(COrlaItem& item) {
    if (prompt_.ask(QuestionId::SwitchToBasic, basicQuestion, Buttons::YesNoCancel) != Answer::Yes) {
        item.setValue(rowZeroAtClick_);
        return {false, false, true};
    }
    const COrlaCommand& command = *tag_->command;
    item.setValue("Basic");
    for (std::size_t position = ReceiveMemoryStart; position <= ReceiveLengthWords; ++position)
        setItemValue(command, position, "0");
    if (COrlaItem* first = command.segmentRecord(0)) {
        first->setSegmentEnableCount("0");
        first->setSegmentLength("0");
    }
    selection_.clearCommand(static_cast<int>(command.commandNumber()));
    relabelBasicRows_ = true;
    return {true, false, true};
}

// Storing the selection changes the command's segments, so the project becomes dirty: closing
// without the question would lose the configuration.
void ParameterGrid::openAdvancedConfiguration(const AdvancedDialog& dialog) {
    if (!tag_ || tag_->kind != TreeItemKind::Command || !showsAdvancedLayout())
        return;
    COrlaCommand& command = *tag_->command;
    const int number = static_cast<int>(command.commandNumber());
    AdvancedSelectionTable& table = selection_;
    const AdvancedOpening opening = loadStoredSegments(table, command, prompt_);
    AdvancedConfiguration configuration(table, number, prompt_);
    int receiveLength = opening.receiveLength;
    configuration.open(receiveLength, opening.holdsStoredSegments);
    dialog(configuration);
    static_cast<void>(storeSelection(table, command, prompt_));
    state_.projectDirty = true;
    redraw();
}

} // namespace korvan
