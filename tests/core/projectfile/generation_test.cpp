#include "ProjectFileFixture.h"
#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/COrlaNode.h"
#include "model/CProfilebus.h"
#include "model/CommandItems.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

namespace korvan {
namespace {

using namespace command_item;
using test::Session;

const std::string fixture = std::string(KORVAN_TEST_DATA_DIR) + "/generation1-vela1h.xml";

struct SavedDocument {
    explicit SavedDocument(const std::string& path) { document.LoadFile(path.c_str()); }

    std::string version() const {
        const auto* field = document.RootElement()->FirstChildElement()->FirstChildElement();
        for (int i = 0; i < 4; ++i)
            field = field->NextSiblingElement();
        return field->Attribute("Value");
    }

    // The Value of every child of the first command's ItemList.
    std::vector<std::string> firstCommandItems() const {
        const tinyxml2::XMLElement* e = document.RootElement();
        for (const char* tag : {"Hartbus", "ProtocalType", "SinglePointModeItemList", "Node", "CommandList",
                                "Command", "ItemList"})
            e = e->FirstChildElement(tag);
        std::vector<std::string> values;
        for (auto* child = e->FirstChildElement(); child; child = child->NextSiblingElement())
            values.emplace_back(child->Attribute("Value"));
        return values;
    }

    tinyxml2::XMLDocument document;
};

TEST(FirstGeneration, LoadsWithTodaysTextsAndAConfigurationModeItem) {
    Session session(GatewayModel::Vela1hTcp);
    ASSERT_TRUE(session.load(fixture).ok());
    const CHartbus& channel = *session.product.channel(0);
    EXPECT_EQ(channel.itemAt(0)->value(), "Primary Master");
    EXPECT_EQ(channel.itemAt(0)->choices(), (std::vector<std::string>{"Primary Master", "Secondary Master"}));
    EXPECT_EQ(channel.itemAt(1)->value(), "Point-to-Point");
    EXPECT_EQ(channel.itemAt(2)->value(), "Hold");
    EXPECT_EQ(channel.itemAt(2)->choices(), (std::vector<std::string>{"Hold", "Clear"}));

    const COrlaNode& node = *channel.pointToPointNodeAt(0);
    EXPECT_EQ(node.itemAt(0)->name(), "HART Slave Address");
    const COrlaCommand& command = *node.commandAt(0);
    ASSERT_EQ(command.itemCount(), 41);
    EXPECT_EQ(command.itemAt(ConfigurationMode)->name(), "Configuration Mode");
    EXPECT_EQ(command.itemAt(ConfigurationMode)->value(), "Basic");
    EXPECT_EQ(command.itemAt(ConfigurationMode)->choices(), (std::vector<std::string>{"Basic", "Advanced"}));
    EXPECT_EQ(command.itemAt(OutputMode)->value(), "Polling");
    EXPECT_EQ(command.itemAt(OutputMode)->choices().at(1), "Change of State");
    EXPECT_EQ(command.itemAt(CommandIndex)->name(), "Command Index");
    // HART command 0 carries no request data: its stored send length is forced to 0.
    EXPECT_EQ(command.itemAt(SendLengthBytes)->value(), "0");
    EXPECT_EQ(command.itemAt(SendLengthBytes)->enabled(), 0);
    EXPECT_EQ(command.itemAt(SendLengthWords)->value(), "0");
    EXPECT_EQ(command.itemAt(ReceiveLengthBytes)->value(), "12");

    EXPECT_EQ(session.product.networkBus().ethernetItems().at(0)->value(), "Manually Assign");
    EXPECT_EQ(session.product.fileFormat().generation, 1);
}

TEST(FirstGeneration, SavesBackInItsOwnGenerationUntilACommandGoesAdvanced) {
    test::TempDir dir;
    Session session(GatewayModel::Vela1hTcp);
    ASSERT_TRUE(session.load(fixture).ok());
    ASSERT_TRUE(saveToFile(session.product, dir.file("again.xml")).ok);
    SavedDocument again(dir.file("again.xml"));
    EXPECT_EQ(again.version(), "1.0.0.0");
    const auto items = again.firstCommandItems();
    ASSERT_EQ(items.size(), 10u);
    EXPECT_EQ(items.front(), "Mode of Outputting Commands");
    EXPECT_EQ(items.back(), "Command Index");

    // A new project in the same run keeps the generation.
    session.product.rebuild(GatewayModel::Vela1hTcp);
    session.product.channel(0)->addNode()->addHartCommand(session.product.registries(), 3);
    ASSERT_TRUE(saveToFile(session.product, dir.file("new.xml")).ok);
    EXPECT_EQ(SavedDocument(dir.file("new.xml")).version(), "1.0.0.0");

    // Switching a command to Advanced moves the run to the second generation.
    COrlaCommand& command = *session.product.channel(0)->pointToPointNodeAt(0)->commandAt(0);
    command.itemAt(ConfigurationMode)->setValue("Advanced");
    command.segmentRecord(0)->setSegmentEnableCount("2");
    session.product.fileFormat().generation = 2;
    ASSERT_TRUE(saveToFile(session.product, dir.file("advanced.xml")).ok);
    SavedDocument advanced(dir.file("advanced.xml"));
    EXPECT_EQ(advanced.version(), "2.0.0.0");
    const auto advancedItems = advanced.firstCommandItems();
    ASSERT_EQ(advancedItems.size(), 13u);
    EXPECT_EQ(advancedItems.front(), "Configuration Mode");
    EXPECT_EQ(advancedItems.back(), "Advanced configuration data is saved");
}

// The node at address 5 has no place on a Point-to-Point channel, so its command is read and
// not kept: the project holds no first-generation command, and saves as it reopens.
TEST(FirstGeneration, ACommandTheChannelCannotPlaceDoesNotMakeTheGeneration) {
    test::TempDir dir;
    std::string text = test::readFile(fixture);
    text.replace(text.find("<NodeID Value=\"0\"/>"), 19, "<NodeID Value=\"5\"/>");
    test::writeFile(dir.file("misplaced.xml"), text);
    Session session(GatewayModel::Vela1hTcp);
    ASSERT_TRUE(session.load(dir.file("misplaced.xml")).ok());
    EXPECT_EQ(session.product.fileFormat().generation, 0);
    ASSERT_TRUE(saveToFile(session.product, dir.file("first.xml")).ok);
    Session reopened(GatewayModel::Vela1hTcp);
    ASSERT_TRUE(reopened.load(dir.file("first.xml")).ok());
    ASSERT_TRUE(saveToFile(reopened.product, dir.file("second.xml")).ok);
    EXPECT_EQ(SavedDocument(dir.file("first.xml")).version(),
              SavedDocument(dir.file("second.xml")).version());
}

TEST(FirstGeneration, AFailedLoadDoesNotChangeTheGeneration) {
    test::TempDir dir;
    std::string text = test::readFile(fixture);
    text.replace(text.find("<CurrentModeType Value=\"3\"/>"), 28, "<CurrentModeType Value=\"0\"/>");
    test::writeFile(dir.file("serial.xml"), text);
    Session session(GatewayModel::Vela1hTcp);
    EXPECT_EQ(session.load(dir.file("serial.xml")).status, LoadStatus::ModelMismatch);
    EXPECT_EQ(session.product.fileFormat().generation, 0);
}

TEST(SecondGeneration, AnAdvancedCommandReadsItsSegmentsIntoTheRecords) {
    test::TempDir dir;
    Session original(GatewayModel::Vela1hTcp);
    COrlaCommand* command =
        original.product.channel(0)->addNode()->addHartCommand(original.product.registries(), 9);
    command->itemAt(ConfigurationMode)->setValue("Advanced");
    for (int i = 0; i < 26; ++i) {
        COrlaItem* record = command->segmentRecord(static_cast<std::size_t>(i));
        record->setSegmentOffset(std::to_string(i));
        record->setSegmentLength("1");
        record->setSegmentAddress(std::to_string(10 + i));
        record->setSegmentSwap(i == 5);
    }
    command->segmentRecord(0)->setSegmentEnableCount("26");
    ASSERT_TRUE(saveToFile(original.product, dir.file("p.xml")).ok);

    Session reopened(GatewayModel::Vela1hTcp);
    ASSERT_TRUE(reopened.load(dir.file("p.xml")).ok());
    const COrlaCommand& read = *reopened.product.channel(0)->pointToPointNodeAt(0)->commandAt(0);
    EXPECT_EQ(read.segmentCount(), 26);
    EXPECT_EQ(read.segmentRecord(25)->segmentAddress(), "35");
    EXPECT_TRUE(read.segmentRecord(5)->segmentSwap());
    EXPECT_FALSE(read.segmentRecord(6)->segmentSwap());
    EXPECT_EQ(reopened.product.fileFormat().generation, 0);
}

} // namespace
} // namespace korvan
