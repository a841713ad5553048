#include "ProjectFileFixture.h"
#include "app/StartSequence.h"
#include "model/CHartbus.h"
#include "os/FileSystem.h"
#include "projectfile/ProjectFileModel.h"
#include "support/ProductDescription.h"
#include "support/SampleProjects.h"

#include <gtest/gtest.h>

namespace korvan {
namespace {

const GatewayModel models[] = {GatewayModel::Vela1hTcp, GatewayModel::Vela3hTcp, GatewayModel::Vela3hRtu};

// A file of the project's shape with the given network-side protocol mode and channels.
std::string projectText(const std::string& mode, std::initializer_list<int> channels,
                        const char* root = "<TREVLINK Value=\"TREVLINK\">") {
    std::string text = std::string(root) + R"xml(
  <Company Value="Company"/>
  <Product Value="Product"/>
  <Profibus Value="Profibus">
    <ProtocalType Value="ProtocalType">
      <ModbusSlaveModeItemList Value="ModbusSlaveModeItemList"/>
      <CommonModeItemList Value="CommonModeItemList"/>
      <EthernetModeItemList Value="EthernetModeItemList"/>
    </ProtocalType>
    <CurrentModeType Value=")xml" +
                       mode + "\"/>\n  </Profibus>\n";
    for (const int channel : channels)
        text += "  <Hartbus Value=\"Channel" + std::to_string(channel) + "\"/>\n";
    const std::string tag = std::string(root).substr(1, std::string(root).find_first_of(" >") - 1);
    return text + "</" + tag + ">\n";
}

TEST(ProjectFileModel, EveryTemplateAndEverySavedProjectNamesItsOwnModel) {
    test::TempDir dir;
    for (const GatewayModel model : models) {
        SCOPED_TRACE(modelName(model));
        const ProjectFileFacts templateFacts =
            readProjectFileFacts(os::joinPath(KORVAN_BIN_DIR, templateFileName(model)));
        EXPECT_TRUE(templateFacts.isProject()) << templateFacts.message;
        EXPECT_EQ(inferredModel(templateFacts), model);

        test::Session session(model);
        test::fillSampleProject(session.product);
        const std::string path = dir.file(std::string(modelName(model)) + ".xml");
        ASSERT_TRUE(saveToFile(session.product, path).ok);
        const ProjectFileFacts facts = readProjectFileFacts(path);
        EXPECT_EQ(inferredModel(facts), model);
        EXPECT_EQ(facts.channels.size(), static_cast<std::size_t>(channelTotal(model)));
        EXPECT_TRUE(channelsBeyondModel(facts, model).empty());
    }
    const ProjectFileFacts older =
        readProjectFileFacts(std::string(KORVAN_TEST_DATA_DIR) + "/generation1-vela1h.xml");
    EXPECT_EQ(inferredModel(older), GatewayModel::Vela1hTcp) << "a file of the first format generation";
}

TEST(ProjectFileModel, TheProtocolGivesTheFamilyAndTheChannelsTellOneFromThree) {
    const struct {
        const char* mode;
        std::initializer_list<int> channels;
        std::optional<GatewayModel> model;
    } cases[] = {
        {"3", {1}, GatewayModel::Vela1hTcp},
        {"3", {}, GatewayModel::Vela1hTcp},
        {"3", {1, 2, 3}, GatewayModel::Vela3hTcp},
        {"3", {3}, GatewayModel::Vela3hTcp},
        {"3", {1, 2}, GatewayModel::Vela3hTcp},
        {"0", {1, 2, 3}, GatewayModel::Vela3hRtu},
        {"1", {1}, GatewayModel::Vela3hRtu},
        {"none", {1}, GatewayModel::Vela3hRtu}, // reads as 0, as a load reads it
        {"2", {1, 2, 3}, std::nullopt},         // fits both families
        {"7", {1}, std::nullopt},
    };
    test::TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("mode ") + c.mode + ", " + std::to_string(c.channels.size()) + " channels");
        test::writeFile(dir.file("p.xml"), projectText(c.mode, c.channels));
        const ProjectFileFacts facts = readProjectFileFacts(dir.file("p.xml"));
        ASSERT_TRUE(facts.isProject()) << facts.message;
        EXPECT_EQ(facts.channels, std::vector<int>(c.channels));
        EXPECT_EQ(inferredModel(facts), c.model);
    }
}

TEST(ProjectFileModel, AnIncompleteNetworkSideGivesNoModel) {
    test::TempDir dir;
    std::string text = projectText("3", {1});
    const std::string list = "Value=\"CommonModeItemList\"";
    text.replace(text.find(list), list.size(), "Value=\"Other\"");
    test::writeFile(dir.file("no-list.xml"), text);
    test::writeFile(dir.file("bare.xml"),
                    "<TREVLINK Value=\"TREVLINK\"><Hartbus Value=\"Channel2\"/></TREVLINK>");
    for (const char* name : {"no-list.xml", "bare.xml"}) {
        const ProjectFileFacts facts = readProjectFileFacts(dir.file(name));
        EXPECT_TRUE(facts.isProject()) << name;
        EXPECT_FALSE(facts.protocolMode) << name;
        EXPECT_FALSE(inferredModel(facts)) << name;
    }
}

TEST(ProjectFileModel, ChannelsBeyondTheModelAreNamed) {
    test::TempDir dir;
    test::writeFile(dir.file("three.xml"), projectText("3", {1, 2, 3}));
    const ProjectFileFacts facts = readProjectFileFacts(dir.file("three.xml"));
    EXPECT_EQ(channelsBeyondModel(facts, GatewayModel::Vela1hTcp), (std::vector<int>{2, 3}));
    EXPECT_TRUE(channelsBeyondModel(facts, GatewayModel::Vela3hTcp).empty());
    EXPECT_TRUE(channelsBeyondModel(facts, GatewayModel::Vela3hRtu).empty());
}

TEST(ProjectFileModel, OnlyARootOfTheProjectsHoldsAProject) {
    test::TempDir dir;
    const struct {
        const char* root;
        bool project;
    } cases[] = {
        {"<TREVLINK Value=\"TREVLINK\">", true},
        {"<TREVLINK>", true},                   // the attribute lost by hand: the tag still says it
        {"<Project Value=\"TREVLINK\">", true}, // elements are found by their Value, not their tag
        {"<TREVLINK Value=\"other\">", true},
        {"<Project Value=\"Project\">", false},
        {"<svg>", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.root);
        test::writeFile(dir.file("p.xml"), projectText("3", {1}, c.root));
        const ProjectFileFacts facts = readProjectFileFacts(dir.file("p.xml"));
        EXPECT_EQ(facts.isProject(), c.project) << facts.message;
        test::Session session(GatewayModel::Vela1hTcp);
        const LoadResult loaded = session.load(dir.file("p.xml"));
        EXPECT_EQ(loaded.ok(), c.project) << loaded.message;
        if (!c.project) {
            EXPECT_EQ(facts.status, LoadStatus::NotParsed);
            EXPECT_EQ(loaded.status, LoadStatus::NotParsed);
            EXPECT_EQ(loaded.message, facts.message);
            EXPECT_NE(loaded.message.find("it holds no Korvan project (its root element is <"),
                      std::string::npos)
                << loaded.message;
            EXPECT_NE(loaded.message.find(dir.file("p.xml")), std::string::npos);
        }
    }
}

TEST(ProjectFileModel, AFileOfAnotherKindKeepsTheOpenProject) {
    test::TempDir dir;
    test::Session session(GatewayModel::Vela3hTcp);
    test::fillSampleProject(session.product);
    const std::string before = test::describeProduct(session.product);
    test::writeFile(dir.file("drawing.svg"),
                    "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\"/>\n");
    const LoadResult loaded = session.load(dir.file("drawing.svg"));
    EXPECT_FALSE(loaded.ok());
    EXPECT_EQ(test::describeProduct(session.product), before);

    const ProjectFileFacts missing = readProjectFileFacts(dir.file("missing.xml"));
    EXPECT_EQ(missing.status, LoadStatus::Unreadable);
    EXPECT_NE(missing.message.find("missing.xml"), std::string::npos);
    EXPECT_FALSE(inferredModel(missing));
}

} // namespace
} // namespace korvan
