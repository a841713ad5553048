#include "projectfile/ProjectFileReader.h"

#include "base/Decimal.h"
#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/COrlaNode.h"
#include "model/CProfilebus.h"
#include "model/CommandItems.h"
#include "model/ObjectRegistries.h"
#include "projectfile/OldTexts.h"

#include <tinyxml2.h>

namespace korvan {
namespace {

using tinyxml2::XMLElement;

std::string_view valueOf(const XMLElement* element) {
    if (element == nullptr)
        return {};
    const char* value = element->Attribute("Value");
    return value ? std::string_view(value) : std::string_view();
}

int decimalOf(const XMLElement* element) {
    return decimalValue(valueOf(element));
}

// The fields the model holds unsigned (kind, command type and number, node address) keep
// their 32 bits: older files wrote them unsigned, so a negative value comes back either as
// "-5" or as "4294967291", and both are the same pattern.
std::uint32_t patternOf(const XMLElement* element) {
    return decimalPattern32(valueOf(element));
}

const XMLElement* firstChild(const XMLElement* element) {
    return element ? element->FirstChildElement() : nullptr;
}

const XMLElement* next(const XMLElement* element) {
    return element ? element->NextSiblingElement() : nullptr;
}

const XMLElement* childWithValue(const XMLElement* parent, std::string_view value) {
    for (const XMLElement* child = firstChild(parent); child != nullptr; child = next(child))
        if (valueOf(child) == value)
            return child;
    return nullptr;
}

} // namespace

ProjectFileReader::ProjectFileReader(ObjectRegistries& registries, std::string fileVersion)
    : registries_(registries), fileVersion_(std::move(fileVersion)) {}

std::string ProjectFileReader::versionOf(const XMLElement& root) {
    const XMLElement* field = firstChild(firstChild(&root));
    for (int i = 0; i < 4 && field != nullptr; ++i)
        field = next(field);
    return std::string(valueOf(field));
}

COrlaItem* ProjectFileReader::readItem(const XMLElement& element) {
    COrlaItem* item = registries_.createItem();
    item->setName(currentItemName(valueOf(&element)));
    const XMLElement* help = firstChild(&element);
    if (help == nullptr)
        return item;
    item->setHelp(valueOf(help));
    const XMLElement* value = next(help);
    if (value == nullptr)
        return item;
    item->setValue(currentItemValue(valueOf(value)));
    const XMLElement* kind = next(value);
    if (kind == nullptr)
        return item;
    item->setKind(patternOf(kind));
    item->setSavedKind(item->kind());
    const XMLElement* enabled = next(kind);
    if (enabled == nullptr)
        return item;
    item->setEnabled(decimalOf(enabled));
    item->setSavedEnabled(item->enabled());
    if (const XMLElement* combo = childWithValue(&element, "Combo"))
        for (const XMLElement* choice = firstChild(combo); choice != nullptr; choice = next(choice))
            item->addChoice(currentItemValue(valueOf(choice)));
    return item;
}

void ProjectFileReader::readSegment(const XMLElement& element, COrlaItem& record) {
    const XMLElement* field = firstChild(&element);
    if (field == nullptr)
        return;
    record.setSegmentEnabled(valueOf(field) == "1");
    if ((field = next(field)) == nullptr)
        return;
    record.setSegmentSwap(valueOf(field) == "1");
    if ((field = next(field)) == nullptr)
        return;
    record.setSegmentAddress(valueOf(field));
    if ((field = next(field)) == nullptr)
        return;
    record.setSegmentOffset(valueOf(field));
    if ((field = next(field)) == nullptr)
        return;
    record.setSegmentEnableCount(valueOf(field));
    if ((field = next(field)) == nullptr)
        return;
    record.setSegmentLength(valueOf(field));
}

void ProjectFileReader::readCommandItems(const XMLElement& itemList, unsigned hartCommand,
                                         COrlaCommand& command) {
    if (fileVersion_ == "1.0.0.0") {
        // The first generation has no configuration mode: every command is Basic.
        readFirstGeneration_ = true;
        command.addItem(registries_.createItem(basicCommandItemSpec(command_item::ConfigurationMode)));
    }
    const bool withoutRequestData = command_item::carriesNoRequestData(hartCommand);
    std::size_t nextSegment = 0;
    for (const XMLElement* child = firstChild(&itemList); child != nullptr; child = next(child)) {
        if (command.items().size() < command_item::BasicItemCount) {
            COrlaItem* item = readItem(*child);
            // The send length goes by its place in the list, as everything that reads the
            // command later (mapping, download, upload) takes it: whatever the item is named.
            const std::size_t position = command.items().size();
            if (withoutRequestData && position == command_item::SendLengthBytes) {
                item->setValue("0");
                item->setEnabled(0);
                item->setSavedEnabled(0);
            } else if (withoutRequestData && position == command_item::SendLengthWords) {
                item->setValue("0");
            }
            command.addItem(item);
            if (command.items().size() == command_item::BasicItemCount) {
                while (command.items().size() < command_item::ItemTotal)
                    command.addItem(registries_.createItem());
                if (command.isAdvanced())
                    command.segmentRecord(0)->setSegmentLength("1");
            }
            continue;
        }
        // Segments beyond the command's 26 records have nowhere to go and are passed over.
        if (COrlaItem* record = command.segmentRecord(nextSegment++))
            readSegment(*child, *record);
    }
}

COrlaNode* ProjectFileReader::readNode(const XMLElement& element) {
    COrlaNode* node = registries_.nodes().create();
    node->setNodeName(valueOf(&element));
    if (const XMLElement* slaveAddress = firstChild(&element);
        const XMLElement* item = firstChild(slaveAddress))
        node->addItem(readItem(*item));
    const XMLElement* commandList = childWithValue(&element, "CommandList");
    for (const XMLElement* entry = firstChild(commandList); entry != nullptr; entry = next(entry)) {
        const XMLElement* itemList = childWithValue(entry, "ItemList");
        if (itemList == nullptr)
            return node;
        const std::uint32_t hartCommand = patternOf(next(itemList));
        COrlaCommand* command = registries_.commands().create();
        command->setCommandName(valueOf(entry));
        command->setCommandType(patternOf(firstChild(entry)));
        readCommandItems(*itemList, hartCommand, *command);
        command->setCommandNumber(hartCommand);
        // Every part of the program finds a command's items by their place: a list cut short
        // would shift them, so the file is refused instead of read into the wrong places.
        if (command->items().size() < command_item::BasicItemCount && damage_.empty())
            damage_ = "the command \"" + command->commandName() + "\" of \"" + node->nodeName() +
                      "\" lists " + std::to_string(command->items().size()) + " of its " +
                      std::to_string(command_item::BasicItemCount) + " items";
        node->attachCommand(command);
    }
    const XMLElement* nodeId = next(commandList);
    if (nodeId == nullptr)
        return node;
    node->setAddress(patternOf(nodeId));
    if (const XMLElement* count = next(nodeId))
        node->setStoredCommandCount(decimalOf(count));
    return node;
}

void ProjectFileReader::readChannel(const XMLElement& root, CHartbus& channel) {
    const XMLElement* element = childWithValue(&root, channel.busName());
    const XMLElement* protocol = firstChild(element);
    if (protocol == nullptr)
        return;
    const XMLElement* mode = next(protocol);
    if (mode == nullptr)
        return;
    channel.setMode(decimalOf(mode));
    const XMLElement* items = next(mode);
    if (items == nullptr)
        return;
    for (const XMLElement* child = firstChild(items); child != nullptr; child = next(child))
        channel.addItem(readItem(*child));
    const XMLElement* pointToPoint = firstChild(protocol);
    if (pointToPoint == nullptr)
        return;
    for (const XMLElement* child = firstChild(pointToPoint); child != nullptr; child = next(child))
        if (COrlaNode* node = readNode(*child); node->address() == 0)
            channel.appendPointToPointNode(node);
    for (const XMLElement* child = firstChild(next(pointToPoint)); child != nullptr; child = next(child))
        if (COrlaNode* node = readNode(*child); node->address() != 0)
            channel.appendMultiDropNode(node);
}

void ProjectFileReader::readNetworkSide(const XMLElement& root, CProfilebus& bus) {
    bus.slaveItems().clear();
    bus.universalItems().clear();
    bus.ethernetItems().clear();
    const XMLElement* protocol = firstChild(childWithValue(&root, "Profibus"));
    if (protocol == nullptr)
        return;
    const std::pair<std::string_view, PtrList<COrlaItem>*> lists[] = {
        {"ModbusSlaveModeItemList", &bus.slaveItems()},
        {"CommonModeItemList", &bus.universalItems()},
        {"EthernetModeItemList", &bus.ethernetItems()},
    };
    for (const auto& [value, list] : lists) {
        const XMLElement* element = childWithValue(protocol, value);
        if (element == nullptr)
            return;
        for (const XMLElement* child = firstChild(element); child != nullptr; child = next(child))
            list->append(readItem(*child));
    }
    if (const XMLElement* mode = next(protocol))
        bus.setMode(decimalOf(mode));
}

} // namespace korvan
