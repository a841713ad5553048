#include "projectfile/ProjectFileModel.h"

#include "base/Decimal.h"
#include "model/CProfilebus.h"
#include "projectfile/ProjectDocument.h"

#include <string_view>
#include <tinyxml2.h>

namespace korvan {
namespace {

using tinyxml2::XMLElement;

constexpr int highestChannelNumber = 3;

std::string_view valueOf(const XMLElement* element) {
    const char* value = element != nullptr ? element->Attribute("Value") : nullptr;
    return value != nullptr ? std::string_view(value) : std::string_view();
}

const XMLElement* childWithValue(const XMLElement* parent, std::string_view value) {
    for (const XMLElement* child = parent != nullptr ? parent->FirstChildElement() : nullptr;
         child != nullptr; child = child->NextSiblingElement())
        if (valueOf(child) == value)
            return child;
    return nullptr;
}

// As the network side's reading: the mode follows the protocol element, and is read only
// once its three item lists were all found.
std::optional<int> protocolModeOf(const XMLElement& root) {
    const XMLElement* networkSide = childWithValue(&root, "Profibus");
    const XMLElement* protocol = networkSide != nullptr ? networkSide->FirstChildElement() : nullptr;
    if (protocol == nullptr)
        return std::nullopt;
    for (const char* list : {"ModbusSlaveModeItemList", "CommonModeItemList", "EthernetModeItemList"})
        if (childWithValue(protocol, list) == nullptr)
            return std::nullopt;
    const XMLElement* mode = protocol->NextSiblingElement();
    if (mode == nullptr)
        return std::nullopt;
    return decimalValue(valueOf(mode));
}

} // namespace

ProjectFileFacts readProjectFileFacts(const std::string& path) {
    ProjectFileFacts facts;
    tinyxml2::XMLDocument document;
    const ProjectDocumentRead read = readProjectDocument(path, document);
    facts.status = read.status;
    facts.message = read.message;
    if (read.root == nullptr)
        return facts;
    facts.protocolMode = protocolModeOf(*read.root);
    for (int number = 1; number <= highestChannelNumber; ++number)
        if (childWithValue(read.root, "Channel" + std::to_string(number)) != nullptr)
            facts.channels.push_back(number);
    return facts;
}

std::optional<GatewayModel> inferredModel(const ProjectFileFacts& facts) {
    if (!facts.isProject() || !facts.protocolMode)
        return std::nullopt;
    if (*facts.protocolMode == ModbusSlaveMode || *facts.protocolMode == UserConfigMode)
        return GatewayModel::Vela3hRtu;
    if (*facts.protocolMode != ModbusTcpMode)
        return std::nullopt;
    for (const int channel : facts.channels)
        if (channel > 1)
            return GatewayModel::Vela3hTcp;
    return GatewayModel::Vela1hTcp;
}

std::vector<int> channelsBeyondModel(const ProjectFileFacts& facts, GatewayModel model) {
    std::vector<int> beyond;
    for (const int channel : facts.channels)
        if (channel > channelTotal(model))
            beyond.push_back(channel);
    return beyond;
}

} // namespace korvan
