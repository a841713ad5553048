#include "ProjectFileFixture.h"
#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/COrlaNode.h"
#include "network/NetworkBlocks.h"
#include "support/ProductDescription.h"
#include "support/SampleProjects.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <regex>
#include <sys/resource.h>
#include <sys/wait.h>
#include <tinyxml2.h>
#include <unistd.h>

namespace korvan {
namespace {

using test::Session;

std::vector<std::string> childValues(const tinyxml2::XMLElement* parent) {
    std::vector<std::string> values;
    for (auto* child = parent->FirstChildElement(); child; child = child->NextSiblingElement())
        values.emplace_back(child->Attribute("Value"));
    return values;
}

TEST(ProjectFile, NewSingleChannelProjectHasTheDocumentLayout) {
    test::TempDir dir;
    Session session(GatewayModel::Vela1hTcp);
    ASSERT_TRUE(saveToFile(session.product, dir.file("p.xml")).ok);

    const std::string text = test::readFile(dir.file("p.xml"));
    EXPECT_TRUE(text.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>")) << text.substr(0, 60);
    tinyxml2::XMLDocument document;
    ASSERT_EQ(document.Parse(text.c_str()), tinyxml2::XML_SUCCESS);
    const auto* root = document.RootElement();
    EXPECT_STREQ(root->Name(), "TREVLINK");
    EXPECT_EQ(childValues(root), (std::vector<std::string>{"Company", "Product", "Profibus", "Channel1"}));
    EXPECT_EQ(childValues(root->FirstChildElement()).at(4), "2.0.0.0");
    EXPECT_EQ(childValues(root->FirstChildElement()).at(3), "Kep");
    EXPECT_TRUE(std::regex_match(childValues(root->FirstChildElement()).at(5),
                                 std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)")));
    EXPECT_STREQ(root->LastChildElement()->Name(), "Hartbus");
}

TEST(ProjectFile, SavedProjectsReadBackWithEveryStoredDetail) {
    for (GatewayModel model : {GatewayModel::Vela1hTcp, GatewayModel::Vela3hTcp, GatewayModel::Vela3hRtu}) {
        test::TempDir dir;
        Session original(model);
        test::fillSampleProject(original.product);
        ASSERT_TRUE(saveToFile(original.product, dir.file("p.xml")).ok);

        Session reopened(model);
        ASSERT_TRUE(reopened.load(dir.file("p.xml")).ok());
        EXPECT_EQ(test::describeProduct(reopened.product), test::describeProduct(original.product))
            << modelName(model);
        EXPECT_TRUE(reopened.prompt.shown.empty());
        // Help texts keep their line breaks through the file.
        EXPECT_NE(
            reopened.product.channel(0)->pointToPointNodeAt(0)->commandAt(0)->itemAt(0)->help().find("\r\n"),
            std::string::npos);
    }
}

TEST(ProjectFile, TheSerialInterfaceKeepsItsChoicesSoTheBlockIsUnchanged) {
    test::TempDir dir;
    Session original(GatewayModel::Vela3hRtu);
    ASSERT_TRUE(saveToFile(original.product, dir.file("p.xml")).ok);
    Session reopened(GatewayModel::Vela3hRtu);
    ASSERT_TRUE(reopened.load(dir.file("p.xml")).ok());
    EXPECT_EQ(encodeSerialBlock(reopened.product.networkBus()),
              encodeSerialBlock(original.product.networkBus()));
}

TEST(ProjectFile, LoadSetsTheLinkAndSerialDebugFlagsFromTheNetworkSide) {
    test::TempDir dir;
    Session rtu(GatewayModel::Vela3hRtu);
    ASSERT_TRUE(saveToFile(rtu.product, dir.file("rtu.xml")).ok);
    Session reopened(GatewayModel::Vela3hRtu);
    ASSERT_TRUE(reopened.load(dir.file("rtu.xml")).ok());
    EXPECT_EQ(reopened.state.serialDebugAllowed, 1);
    EXPECT_EQ(reopened.state.linkKind, LinkKind::Serial);

    Session tcp(GatewayModel::Vela3hTcp);
    ASSERT_TRUE(saveToFile(tcp.product, dir.file("tcp.xml")).ok);
    Session reopenedTcp(GatewayModel::Vela3hTcp);
    reopenedTcp.state.serialDebugAllowed = 1;
    ASSERT_TRUE(reopenedTcp.load(dir.file("tcp.xml")).ok());
    EXPECT_EQ(reopenedTcp.state.serialDebugAllowed, 0);
    EXPECT_EQ(reopenedTcp.state.linkKind, LinkKind::Ethernet);
}

TEST(ProjectFile, AProjectOfTheOtherLinkDoesNotOpenAndTheOpenProjectStays) {
    test::TempDir dir;
    Session tcp(GatewayModel::Vela3hTcp);
    ASSERT_TRUE(saveToFile(tcp.product, dir.file("tcp.xml")).ok);
    Session rtu(GatewayModel::Vela3hRtu);
    ASSERT_TRUE(saveToFile(rtu.product, dir.file("rtu.xml")).ok);

    Session serial(GatewayModel::Vela3hRtu);
    test::fillSampleProject(serial.product);
    const std::string before = test::describeProduct(serial.product);
    const LoadResult refused = serial.load(dir.file("tcp.xml"));
    EXPECT_EQ(refused.status, LoadStatus::ModelMismatch);
    EXPECT_EQ(refused.message, "The profile protocol is inconsistent with the software protocol!");
    EXPECT_EQ(test::describeProduct(serial.product), before);
    EXPECT_EQ(serial.state.linkKind, LinkKind::Serial);

    Session ethernet(GatewayModel::Vela1hTcp);
    EXPECT_EQ(ethernet.load(dir.file("rtu.xml")).status, LoadStatus::ModelMismatch);
    EXPECT_EQ(ethernet.state.linkKind, LinkKind::Ethernet);
}

// Every open replaces the whole project, so opening the same file again and again, or one
// that is refused, leaves the registries holding one project.
TEST(ProjectFile, OpensInARowHoldOneProject) {
    test::TempDir dir;
    Session original(GatewayModel::Vela3hTcp);
    test::fillSampleProject(original.product);
    ASSERT_TRUE(saveToFile(original.product, dir.file("p.xml")).ok);
    Session rtu(GatewayModel::Vela3hRtu);
    ASSERT_TRUE(saveToFile(rtu.product, dir.file("rtu.xml")).ok);

    Session session(GatewayModel::Vela3hTcp);
    ASSERT_TRUE(session.load(dir.file("p.xml")).ok());
    const std::size_t one = session.product.registries().objectCount();
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(session.load(dir.file("p.xml")).ok());
        EXPECT_EQ(session.product.registries().objectCount(), one);
    }
    EXPECT_EQ(session.load(dir.file("rtu.xml")).status, LoadStatus::ModelMismatch);
    EXPECT_EQ(session.product.registries().objectCount(), one);
    EXPECT_EQ(test::describeProduct(session.product), test::describeProduct(original.product));
}

// Readers find elements by position and by Value; the tags themselves carry no meaning.
TEST(ProjectFile, ElementTagsDoNotMatter) {
    test::TempDir dir;
    Session original(GatewayModel::Vela3hTcp);
    test::fillSampleProject(original.product);
    ASSERT_TRUE(saveToFile(original.product, dir.file("p.xml")).ok);
    const std::string renamed =
        std::regex_replace(test::readFile(dir.file("p.xml")), std::regex(R"(<(/?)[A-Za-z]+)"), "<$1E");
    test::writeFile(dir.file("renamed.xml"), renamed);
    Session reopened(GatewayModel::Vela3hTcp);
    ASSERT_TRUE(reopened.load(dir.file("renamed.xml")).ok());
    EXPECT_EQ(test::describeProduct(reopened.product), test::describeProduct(original.product));
}

TEST(ProjectFile, ChannelsAndNodesAreFoundByValueAndAddress) {
    test::TempDir dir;
    Session original(GatewayModel::Vela3hTcp);
    test::fillSampleProject(original.product);
    ASSERT_TRUE(saveToFile(original.product, dir.file("p.xml")).ok);
    std::string text = test::readFile(dir.file("p.xml"));
    text = std::regex_replace(text, std::regex("\"Channel2\""), "\"Channel9\"");
    // The point-to-point node of channel 1 claims address 3; the multi-drop nodes of
    // channel 3 claim 0 and 2.
    text = std::regex_replace(text, std::regex("<NodeID Value=\"0\"/>"), "<NodeID Value=\"3\"/>",
                              std::regex_constants::format_first_only);
    text = std::regex_replace(text, std::regex("<NodeID Value=\"1\"/>"), "<NodeID Value=\"0\"/>");
    test::writeFile(dir.file("edited.xml"), text);

    Session reopened(GatewayModel::Vela3hTcp);
    ASSERT_TRUE(reopened.load(dir.file("edited.xml")).ok());
    EXPECT_TRUE(reopened.product.channel(0)->pointToPointNodes().empty());
    EXPECT_TRUE(reopened.product.channel(1)->items().empty());
    EXPECT_TRUE(reopened.product.channel(1)->pointToPointNodes().empty());
    ASSERT_EQ(reopened.product.channel(2)->multiDropNodes().size(), 1u);
    EXPECT_EQ(reopened.product.channel(2)->multiDropNodeAt(0)->address(), 2u);
}

TEST(ProjectFile, AFailedSaveReportsItAndLeavesThePreviousFile) {
    test::TempDir dir;
    Session session(GatewayModel::Vela1hTcp);
    const SaveResult missingFolder = saveToFile(session.product, dir.file("no/such/folder/p.xml"));
    EXPECT_FALSE(missingFolder.ok);
    EXPECT_NE(missingFolder.message.find("no/such/folder/p.xml"), std::string::npos) << missingFolder.message;

    const std::string path = dir.file("p.xml");
    test::writeFile(path, "previous project");
    // The file size limit makes the write fail even for root; the child reports what the
    // save answered.
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        test::fillSampleProject(session.product);
        ::_exit(saveToFile(session.product, path).ok ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the save must report the failed write";
    EXPECT_EQ(test::readFile(path), "previous project");
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path()))
        ++files;
    EXPECT_EQ(files, 1u) << "no temporary file is left behind";
}

TEST(ProjectFile, SavingOverAFileKeepsItsPermissions) {
    test::TempDir dir;
    const std::string path = dir.file("p.xml");
    test::writeFile(path, "old");
    std::filesystem::permissions(path, std::filesystem::perms(0640));
    Session session(GatewayModel::Vela1hTcp);
    ASSERT_TRUE(saveToFile(session.product, path).ok);
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0640));
    EXPECT_NE(test::readFile(path), "old");
}

// The document without its saving time, which differs between two saves.
std::string withoutDateTime(std::string text) {
    return std::regex_replace(text, std::regex(R"(<DateTime Value="[^"]*"/>)"), "");
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

// The kind, command type, command number and node address are held unsigned. A value read,
// saved and read again is the same value: a negative one is kept as its 32-bit pattern and
// written signed, and the unsigned text that earlier versions wrote reads as the same value.
TEST(ProjectFile, UnsignedFieldsKeepTheirValueAcrossSaveAndReload) {
    const std::string fixture =
        test::readFile(std::string(KORVAN_TEST_DATA_DIR) + "/negative-unsigned-fields-roundtrip.xml");
    struct Case {
        const char* name;
        std::string text;
        std::uint32_t commandType;
        std::uint32_t stateOfItem0;
        std::uint32_t commandNumber;
        const char* saved; // a text of the saved file
    };
    const std::vector<Case> cases{
        {"as written by the fuzzer", fixture, 4294967291u, 4294967295u, 48, "<CommandType Value=\"-5\"/>"},
        {"as written by earlier versions",
         replaced(replaced(fixture, "<CommandType Value=\"-5\"/>", "<CommandType Value=\"4294967291\"/>"),
                  "<State Value=\"-1\"/>", "<State Value=\"4294967295\"/>"),
         4294967291u, 4294967295u, 48, "<State Value=\"-1\"/>"},
        {"beyond 32 bits saturates once",
         replaced(fixture, "<CommandID Value=\"48\"/>", "<CommandID Value=\"99999999999\"/>"), 4294967291u,
         4294967295u, 4294967295u, "<CommandID Value=\"-1\"/>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        test::writeFile(dir.file("given.xml"), c.text);
        Session first(GatewayModel::Vela1hTcp);
        ASSERT_TRUE(first.load(dir.file("given.xml")).ok());
        const COrlaNode& node = *first.product.channel(0)->pointToPointNodes().at(0);
        const COrlaCommand& command = *node.commandAt(0);
        EXPECT_EQ(command.commandType(), c.commandType);
        EXPECT_EQ(command.itemAt(0)->kind(), c.stateOfItem0);
        EXPECT_EQ(command.commandNumber(), c.commandNumber);
        ASSERT_TRUE(saveToFile(first.product, dir.file("once.xml")).ok);
        const std::string once = test::readFile(dir.file("once.xml"));
        EXPECT_NE(once.find(c.saved), std::string::npos) << once;

        Session second(GatewayModel::Vela1hTcp);
        ASSERT_TRUE(second.load(dir.file("once.xml")).ok());
        EXPECT_EQ(test::describeProduct(second.product), test::describeProduct(first.product));
        ASSERT_TRUE(saveToFile(second.product, dir.file("twice.xml")).ok);
        EXPECT_EQ(withoutDateTime(test::readFile(dir.file("twice.xml"))), withoutDateTime(once));
    }
}

// A node address of the multi-drop list travels the same way.
TEST(ProjectFile, NegativeNodeAddressKeepsItsValue) {
    test::TempDir dir;
    Session original(GatewayModel::Vela1hTcp);
    COrlaNode* node = original.product.channel(0)->addNode();
    node->setAddress(static_cast<std::uint32_t>(-7));
    original.product.channel(0)->removeNode(node);
    original.product.channel(0)->appendMultiDropNode(node);
    ASSERT_TRUE(saveToFile(original.product, dir.file("p.xml")).ok);
    EXPECT_NE(test::readFile(dir.file("p.xml")).find("<NodeID Value=\"-7\"/>"), std::string::npos);
    Session reopened(GatewayModel::Vela1hTcp);
    ASSERT_TRUE(reopened.load(dir.file("p.xml")).ok());
    ASSERT_EQ(reopened.product.channel(0)->multiDropNodes().size(), 1u);
    EXPECT_EQ(reopened.product.channel(0)->multiDropNodeAt(0)->address(), 4294967289u);
}

} // namespace
} // namespace korvan
