#include "projectfile/ProjectFileWriter.h"

#include "base/Decimal.h"
#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"
#include "model/CommandItems.h"

#include <tinyxml2.h>

namespace korvan {
namespace {

using tinyxml2::XMLDocument;
using tinyxml2::XMLElement;
using tinyxml2::XMLNode;

constexpr const char* segmentElementValue = "Advanced configuration data is saved";

// Attribute values are escaped here rather than by the printer, because control characters
// must survive the round trip: help texts hold line breaks, which a reader would otherwise
// fold into blanks. They are written as character references, as earlier versions did.
std::string escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                static constexpr char hex[] = "0123456789ABCDEF";
                out += "&#x";
                out += hex[(c >> 4) & 0xF];
                out += hex[c & 0xF];
                out += ';';
            } else {
                out += c;
            }
        }
    }
    return out;
}

class DocumentBuilder {
public:
    explicit DocumentBuilder(XMLDocument& document) : document_(document) {}

    XMLElement* element(XMLNode* parent, const char* tag, std::string_view value) {
        XMLElement* e = document_.NewElement(tag);
        e->SetAttribute("Value", escaped(value).c_str());
        parent->InsertEndChild(e);
        return e;
    }

    XMLElement* container(XMLNode* parent, const char* tag) { return element(parent, tag, tag); }

    void item(XMLNode* parent, const COrlaItem& item) {
        XMLElement* e = element(parent, "Item", item.name());
        element(e, "Ref", item.help());
        element(e, "CurrentVal", item.value());
        element(e, "State", decimalText(item.kind()));
        element(e, "Enable", decimalText(item.enabled()));
        // A fixed item can carry choices too (the serial interface): they are written as
        // well, since the configuration block sends the position of its value.
        if (item.kind() == Choice || !item.choices().empty()) {
            XMLElement* combo = container(e, "Combo");
            for (const std::string& choice : item.choices())
                element(combo, "ComboIndex", choice);
        }
    }

    void segment(XMLNode* parent, const COrlaItem& record) {
        XMLElement* e = element(parent, "Item", segmentElementValue);
        element(e, "Enable", record.segmentEnabled() ? "1" : "0");
        element(e, "Swap", record.segmentSwap() ? "1" : "0");
        element(e, "Address", record.segmentAddress());
        element(e, "Offset", record.segmentOffset());
        element(e, "EnableCount", record.segmentEnableCount());
        element(e, "Length", record.segmentLength());
    }

    void commandItems(XMLNode* parent, const COrlaCommand& command, bool firstGeneration) {
        const PtrList<COrlaItem>& items = command.items();
        const std::size_t first = firstGeneration ? command_item::OutputMode : command_item::ConfigurationMode;
        for (std::size_t position = first; position < command_item::BasicItemCount; ++position)
            if (const COrlaItem* entry = items.exactlyAt(position))
                item(parent, *entry);
        if (firstGeneration)
            return;
        const auto count = static_cast<std::size_t>(command.segmentCount());
        for (std::size_t i = 0; i < count; ++i)
            if (const COrlaItem* record = command.segmentRecord(i))
                segment(parent, *record);
    }

    void command(XMLNode* parent, const COrlaCommand& command, bool firstGeneration) {
        XMLElement* e = element(parent, "Command", command.commandName());
        element(e, "CommandType", decimalText(command.commandType()));
        commandItems(container(e, "ItemList"), command, firstGeneration);
        element(e, "CommandID", decimalText(command.commandNumber()));
    }

    void node(XMLNode* parent, const COrlaNode& node, bool firstGeneration) {
        XMLElement* e = element(parent, "Node", node.nodeName());
        XMLElement* slaveAddress = container(e, "SlaveAddress");
        if (const COrlaItem* addressItem = node.items().front())
            item(slaveAddress, *addressItem);
        XMLElement* commands = container(e, "CommandList");
        for (const COrlaCommand* entry : node.commands())
            command(commands, *entry, firstGeneration);
        element(e, "NodeID", decimalText(node.address()));
        element(e, "CommandCount", decimalText(node.commandCount()));
    }

    void nodes(XMLNode* parent, const PtrList<COrlaNode>& list, bool firstGeneration) {
        for (const COrlaNode* entry : list)
            node(parent, *entry, firstGeneration);
    }

    void itemList(XMLNode* parent, const char* tag, const PtrList<COrlaItem>& list) {
        XMLElement* e = container(parent, tag);
        for (const COrlaItem* entry : list)
            item(e, *entry);
    }

    void channel(XMLNode* root, const CHartbus& channel, bool firstGeneration) {
        XMLElement* e = element(root, "Hartbus", channel.busName());
        XMLElement* protocol = container(e, "ProtocalType");
        nodes(container(protocol, "SinglePointModeItemList"), channel.pointToPointNodes(), firstGeneration);
        nodes(container(protocol, "MulPointModeItemList"), channel.multiDropNodes(), firstGeneration);
        element(e, "CurrentModeType", decimalText(channel.mode()));
        itemList(e, "ItemList", channel.items());
        nodes(container(e, "NodeList"), channel.nodes(), firstGeneration);
    }

    void networkSide(XMLNode* root, const CProfilebus& bus) {
        XMLElement* e = container(root, "Profibus");
        XMLElement* protocol = container(e, "ProtocalType");
        itemList(protocol, "ModbusSlaveModeItemList", bus.slaveItems());
        itemList(protocol, "CommonModeItemList", bus.universalItems());
        itemList(protocol, "EthernetModeItemList", bus.ethernetItems());
        element(e, "CurrentModeType", decimalText(bus.mode()));
        container(e, "ItemList");
    }

    void company(XMLNode* root, std::string_view version, std::string_view dateTime) {
        XMLElement* e = container(root, "Company");
        element(e, "Name", "Trevik Automation");
        element(e, "Tel", "+44 20 7946 0000");
        element(e, "Address", "Unit 4, Harbour Works, Trevik");
        element(e, "Author", "Kep");
        element(e, "Version", version);
        element(e, "DateTime", dateTime);
    }

    void product(XMLNode* root) { element(container(root, "Product"), "ProductName", "Korvan"); }

private:
    XMLDocument& document_;
};

} // namespace

std::string writeProjectDocument(const CProductTarn& product, const std::string& dateTime) {
    const bool firstGeneration = product.fileFormat().generation == 1;
    // Entities are not processed by the printer: DocumentBuilder escapes every value itself.
    XMLDocument document(false);
    document.InsertEndChild(document.NewDeclaration());
    DocumentBuilder builder(document);
    XMLElement* root = builder.container(&document, "TREVLINK");
    builder.company(root, firstGeneration ? "1.0.0.0" : "2.0.0.0", dateTime);
    builder.product(root);
    for (const COrlaBus* bus : product.buses()) {
        if (bus->isKindOf(CHartbus::classCHartbus))
            builder.channel(root, static_cast<const CHartbus&>(*bus), firstGeneration);
        else if (bus->isKindOf(CProfilebus::classCProfilebus))
            builder.networkSide(root, static_cast<const CProfilebus&>(*bus));
    }
    tinyxml2::XMLPrinter printer;
    document.Print(&printer);
    return std::string(printer.CStr(), static_cast<std::size_t>(printer.CStrSize() - 1));
}

} // namespace korvan
