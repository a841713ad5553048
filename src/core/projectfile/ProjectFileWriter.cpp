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

constexpr const char* segmentElementValue = "Advanced configuration data is saved";

// The library's printer escapes markup characters but writes control characters as they
// are, and a reader folds line breaks in attribute values. Help texts hold line breaks, so
// every control character that reaches the output inside a value is written as a character
// reference, as earlier versions of the format did. Indentation is one tab a level.
class ProjectPrinter : public tinyxml2::XMLPrinter {
protected:
    void Write(const char* data, size_t size) override {
        std::size_t start = 0;
        for (std::size_t i = 0; i < size; ++i) {
            const auto c = static_cast<unsigned char>(data[i]);
            if (c >= 0x20)
                continue;
            XMLPrinter::Write(data + start, i - start);
            static constexpr char hex[] = "0123456789ABCDEF";
            const char reference[] = {'&', '#', 'x', hex[c >> 4], hex[c & 0xF], ';'};
            XMLPrinter::Write(reference, sizeof reference);
            start = i + 1;
        }
        XMLPrinter::Write(data + start, size - start);
    }

    void PrintSpace(int depth) override {
        for (int i = 0; i < depth; ++i)
            Putc('\t');
    }
};

class DocumentBuilder {
public:
    explicit DocumentBuilder(ProjectPrinter& printer) : printer_(printer) {}

    // An element with its Value; the caller closes it after any children.
    void open(const char* tag, std::string_view value) {
        printer_.OpenElement(tag);
        value_.assign(value);
        printer_.PushAttribute("Value", value_.c_str());
    }
    void close() { printer_.CloseElement(); }

    void leaf(const char* tag, std::string_view value) {
        open(tag, value);
        close();
    }
    void leaf(const char* tag, std::int64_t value) { leaf(tag, std::string_view(decimalText(value))); }
    // The unsigned fields are written as signed 32-bit values, as the reader takes them back.
    void pattern(const char* tag, std::uint32_t value) {
        leaf(tag, std::string_view(signedDecimalText(value)));
    }
    void container(const char* tag) { open(tag, tag); }

    void item(const COrlaItem& item) {
        open("Item", item.name());
        leaf("Ref", item.help());
        leaf("CurrentVal", item.value());
        pattern("State", item.kind());
        leaf("Enable", item.enabled());
        // A fixed item can carry choices too (the serial interface): they are written as
        // well, since the configuration block sends the position of its value.
        if (item.kind() == Choice || !item.choices().empty()) {
            container("Combo");
            for (const std::string& choice : item.choices())
                leaf("ComboIndex", choice);
            close();
        }
        close();
    }

    void segment(const COrlaItem& record) {
        open("Item", segmentElementValue);
        leaf("Enable", record.segmentEnabled() ? "1" : "0");
        leaf("Swap", record.segmentSwap() ? "1" : "0");
        leaf("Address", record.segmentAddress());
        leaf("Offset", record.segmentOffset());
        leaf("EnableCount", record.segmentEnableCount());
        leaf("Length", record.segmentLength());
        close();
    }

    void commandItems(const COrlaCommand& command, bool firstGeneration) {
        const PtrList<COrlaItem>& items = command.items();
        const std::size_t first =
            firstGeneration ? command_item::OutputMode : command_item::ConfigurationMode;
        for (std::size_t position = first; position < command_item::BasicItemCount; ++position)
            if (const COrlaItem* entry = items.exactlyAt(position))
                item(*entry);
        if (firstGeneration)
            return;
        const auto count = static_cast<std::size_t>(command.segmentCount());
        for (std::size_t i = 0; i < count; ++i)
            if (const COrlaItem* record = command.segmentRecord(i))
                segment(*record);
    }

    void command(const COrlaCommand& command, bool firstGeneration) {
        open("Command", command.commandName());
        pattern("CommandType", command.commandType());
        container("ItemList");
        commandItems(command, firstGeneration);
        close();
        pattern("CommandID", command.commandNumber());
        close();
    }

    void node(const COrlaNode& node, bool firstGeneration) {
        open("Node", node.nodeName());
        container("SlaveAddress");
        if (const COrlaItem* addressItem = node.items().front())
            item(*addressItem);
        close();
        container("CommandList");
        for (const COrlaCommand* entry : node.commands())
            command(*entry, firstGeneration);
        close();
        pattern("NodeID", node.address());
        leaf("CommandCount", node.commandCount());
        close();
    }

    void nodes(const char* tag, const PtrList<COrlaNode>& list, bool firstGeneration) {
        container(tag);
        for (const COrlaNode* entry : list)
            node(*entry, firstGeneration);
        close();
    }

    void itemList(const char* tag, const PtrList<COrlaItem>& list) {
        container(tag);
        for (const COrlaItem* entry : list)
            item(*entry);
        close();
    }

    void channel(const CHartbus& channel, bool firstGeneration) {
        open("Hartbus", channel.busName());
        container("ProtocalType");
        nodes("SinglePointModeItemList", channel.pointToPointNodes(), firstGeneration);
        nodes("MulPointModeItemList", channel.multiDropNodes(), firstGeneration);
        close();
        leaf("CurrentModeType", channel.mode());
        itemList("ItemList", channel.items());
        nodes("NodeList", channel.nodes(), firstGeneration);
        close();
    }

    void networkSide(const CProfilebus& bus) {
        container("Profibus");
        container("ProtocalType");
        itemList("ModbusSlaveModeItemList", bus.slaveItems());
        itemList("CommonModeItemList", bus.universalItems());
        itemList("EthernetModeItemList", bus.ethernetItems());
        close();
        leaf("CurrentModeType", bus.mode());
        itemList("ItemList", {});
        close();
    }

    void company(std::string_view version, std::string_view dateTime) {
        container("Company");
        leaf("Name", "Trevik Automation");
        leaf("Tel", "+44 20 7946 0000");
        leaf("Address", "Unit 4, Harbour Works, Trevik");
        leaf("Author", "Kep");
        leaf("Version", version);
        leaf("DateTime", dateTime);
        close();
    }

    void product() {
        container("Product");
        leaf("ProductName", "Korvan");
        close();
    }

private:
    ProjectPrinter& printer_;
    std::string value_; // the printer needs a terminated text
};

} // namespace

std::string writeProjectDocument(const CProductTarn& product, const std::string& dateTime) {
    const bool firstGeneration = product.fileFormat().generation == 1;
    ProjectPrinter printer;
    printer.PushDeclaration("xml version=\"1.0\" encoding=\"UTF-8\"");
    DocumentBuilder builder(printer);
    builder.container("TREVLINK");
    builder.company(firstGeneration ? "1.0.0.0" : "2.0.0.0", dateTime);
    builder.product();
    for (const COrlaBus* bus : product.buses()) {
        if (bus->isKindOf(CHartbus::classCHartbus))
            builder.channel(static_cast<const CHartbus&>(*bus), firstGeneration);
        else if (bus->isKindOf(CProfilebus::classCProfilebus))
            builder.networkSide(static_cast<const CProfilebus&>(*bus));
    }
    builder.close();
    return std::string(printer.CStr(), static_cast<std::size_t>(printer.CStrSize() - 1));
}

} // namespace korvan
