#include "ProjectFileFixture.h"
#include "model/CHartbus.h"
#include "model/COrlaItem.h"
#include "model/COrlaNode.h"
#include "model/CProfilebus.h"
#include "model/GatewayModel.h"
#include "os/FileSystem.h"
#include "support/ProductDescription.h"
#include "support/SampleProjects.h"

#include <gtest/gtest.h>
#include <random>

namespace korvan {
namespace {

using test::Session;

std::string nested(int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += "<a Value=\"a\">";
    for (int i = 0; i < depth; ++i)
        text += "</a>";
    return text;
}

std::string binary(std::size_t size) {
    std::mt19937 random(7);
    std::string bytes(size, '\0');
    for (char& b : bytes)
        b = static_cast<char>(random() & 0xFF);
    return bytes;
}

TEST(ProjectFileBadInput, UnreadableFilesGetTheirOwnMessageAndKeepTheOpenProject) {
    struct Case {
        const char* name;
        std::string contents;
        LoadStatus status;
        const char* says;
    };
    const std::vector<Case> cases{
        {"empty.xml", "", LoadStatus::NotParsed, "it is empty"},
        {"binary.xml", binary(4096), LoadStatus::NotParsed, "\"binary.xml"},
        {"truncated.xml", "<?xml version=\"1.0\"?>\n<TREVLINK Value=\"TREVLINK\">\n<Company",
         LoadStatus::NotParsed, "line "},
        {"deep.xml", nested(5000), LoadStatus::NotParsed, "nested too deeply"},
        {"text.xml", "just some words", LoadStatus::NotParsed, "deep.xml"},
    };
    test::TempDir dir;
    Session session(GatewayModel::Vela3hTcp);
    test::fillSampleProject(session.product);
    const std::string before = test::describeProduct(session.product);
    for (const Case& c : cases) {
        test::writeFile(dir.file(c.name), c.contents);
        const LoadResult result = session.load(dir.file(c.name));
        EXPECT_EQ(result.status, c.status) << c.name;
        EXPECT_NE(result.message.find(c.name), std::string::npos) << result.message;
        EXPECT_NE(result.message, "The profile protocol is inconsistent with the software protocol!");
        EXPECT_EQ(test::describeProduct(session.product), before) << c.name;
    }
    const LoadResult missing = session.load(dir.file("missing.xml"));
    EXPECT_EQ(missing.status, LoadStatus::Unreadable);
    EXPECT_NE(missing.message.find("missing.xml"), std::string::npos);
    EXPECT_EQ(test::describeProduct(session.product), before);
    EXPECT_TRUE(session.prompt.shown.empty()) << "the caller shows the message";
}

TEST(ProjectFileBadInput, HugeFilesAreRefusedAndLargeOnesLoad) {
    test::TempDir dir;
    Session original(GatewayModel::Vela1hTcp);
    test::fillSampleProject(original.product);
    ASSERT_TRUE(saveToFile(original.product, dir.file("p.xml")).ok);
    std::string text = test::readFile(dir.file("p.xml"));
    text.insert(text.rfind("</TREVLINK>"), "<!-- " + std::string(6 * 1024 * 1024, 'x') + " -->\n");
    test::writeFile(dir.file("large.xml"), text);
    Session large(GatewayModel::Vela1hTcp);
    ASSERT_TRUE(large.load(dir.file("large.xml")).ok());
    EXPECT_EQ(test::describeProduct(large.product), test::describeProduct(original.product));

    test::writeFile(dir.file("huge.xml"), std::string(65 * 1024 * 1024, ' '));
    const LoadResult huge = large.load(dir.file("huge.xml"));
    EXPECT_EQ(huge.status, LoadStatus::Unreadable);
    EXPECT_NE(huge.message.find("larger than"), std::string::npos) << huge.message;
}

TEST(ProjectFileBadInput, MissingElementsLoadAsFarAsTheyGo) {
    test::TempDir dir;
    // A project's root and nothing else: the lists are emptied and nothing is read.
    test::writeFile(dir.file("root.xml"), "<TREVLINK Value=\"TREVLINK\"/>");
    Session session(GatewayModel::Vela3hTcp);
    ASSERT_TRUE(session.load(dir.file("root.xml")).ok());
    EXPECT_TRUE(session.product.networkBus().ethernetItems().empty());
    EXPECT_EQ(session.product.networkBus().mode(), ModbusTcpMode);
    for (const CHartbus* channel : session.product.channels())
        EXPECT_TRUE(channel->items().empty());

    // An item with two children, a node whose command lacks its item list, digits missing
    // from numbers, and elements nobody reads.
    test::writeFile(dir.file("sparse.xml"), R"xml(<TREVLINK Value="TREVLINK">
  <Company Value="Company"><Name Value="n"/></Company>
  <Profibus Value="Profibus">
    <ProtocalType Value="ProtocalType">
      <ModbusSlaveModeItemList Value="ModbusSlaveModeItemList"/>
      <CommonModeItemList Value="CommonModeItemList"/>
      <EthernetModeItemList Value="EthernetModeItemList">
        <Item Value="Assign IP Mode"><Ref Value="help"/><CurrentVal Value="DHCP"/></Item>
      </EthernetModeItemList>
    </ProtocalType>
    <CurrentModeType Value="three"/>
  </Profibus>
  <Hartbus Value="Channel1">
    <ProtocalType Value="ProtocalType">
      <SinglePointModeItemList Value="SinglePointModeItemList">
        <Node Value="Node(0)">
          <SlaveAddress Value="SlaveAddress"/>
          <CommandList Value="CommandList">
            <Command Value="Command ID3"><CommandType Value="x"/><Nothing Value="here"/></Command>
          </CommandList>
          <NodeID Value="7"/>
          <Unknown Value="ignored"/>
        </Node>
      </SinglePointModeItemList>
    </ProtocalType>
    <CurrentModeType Value="5"/>
    <ItemList Value="ItemList"/>
  </Hartbus>
  <Whatever Value="Channel7"/>
</TREVLINK>)xml");
    Session sparse(GatewayModel::Vela3hRtu);
    ASSERT_TRUE(sparse.load(dir.file("sparse.xml")).ok()) << "mode \"three\" reads as 0, Modbus slave";
    const COrlaItem* assign = sparse.product.networkBus().ethernetItems().at(0);
    ASSERT_NE(assign, nullptr);
    EXPECT_EQ(assign->help(), "help");
    EXPECT_EQ(assign->value(), "DHCP");
    EXPECT_EQ(assign->kind(), 0u);
    EXPECT_EQ(assign->enabled(), 1);
    EXPECT_EQ(sparse.product.networkBus().mode(), ModbusSlaveMode);
    // The node's reading stopped at the command without an item list, so its address stayed 0.
    ASSERT_EQ(sparse.product.channel(0)->pointToPointNodes().size(), 1u);
    EXPECT_EQ(sparse.product.channel(0)->pointToPointNodeAt(0)->commandCount(), 0);
    EXPECT_TRUE(sparse.product.channel(0)->pointToPointNodeAt(0)->items().empty());
}

// Everything finds a command's items by their place in its list, so a list with items missing
// would read them into the wrong places and drift on every save: such a file is refused.
TEST(ProjectFileBadInput, ACommandWithItemsMissingIsRefused) {
    struct Case {
        const char* name;
        std::vector<std::string> removed; // the items taken out of Command ID3
        const char* says;
    };
    const std::vector<Case> cases{
        {"one.xml", {"Command Index"}, "lists 10 of its 11 items"},
        {"two.xml",
         {"Memory Starting Address of Sending Data", "Modbus Register Starting Address of Sending Data"},
         "lists 9 of its 11 items"},
    };
    const std::string original =
        test::readFile(os::joinPath(KORVAN_BIN_DIR, templateFileName(GatewayModel::Vela1hTcp)));
    test::TempDir dir;
    Session session(GatewayModel::Vela1hTcp);
    test::fillSampleProject(session.product);
    const std::string before = test::describeProduct(session.product);
    for (const Case& c : cases) {
        std::string text = original;
        for (const std::string& item : c.removed) {
            const std::size_t start = text.find("<Item Value=\"" + item + "\">");
            ASSERT_NE(start, std::string::npos) << item;
            const std::size_t end = text.find("</Item>", start) + std::string_view("</Item>").size();
            text.erase(start, end - start);
        }
        test::writeFile(dir.file(c.name), text);
        const LoadResult result = session.load(dir.file(c.name));
        EXPECT_EQ(result.status, LoadStatus::Damaged) << c.name;
        EXPECT_NE(result.message.find(c.name), std::string::npos) << result.message;
        EXPECT_NE(result.message.find("\"Command ID3\""), std::string::npos) << result.message;
        EXPECT_NE(result.message.find(c.says), std::string::npos) << result.message;
        EXPECT_EQ(test::describeProduct(session.product), before) << c.name;
    }
    test::writeFile(dir.file("whole.xml"), original);
    EXPECT_TRUE(session.load(dir.file("whole.xml")).ok()) << "the template itself opens";
}

} // namespace
} // namespace korvan
