#include "ProgramRun.h"
#include "app/AppState.h"
#include "app/ProjectLoad.h"
#include "app/StartSequence.h"
#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"
#include "model/CommandItems.h"
#include "os/FileSystem.h"
#include "projectfile/ProjectFile.h"
#include "support/ScriptedPrompt.h"
#include "support/TempDir.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace korvan {
namespace {

using namespace command_item;
using test::runKorvanctl;

// A three-channel project whose commands all sit at the default addresses, so they overlap.
class KorvanctlEditing : public ::testing::Test {
protected:
    KorvanctlEditing() {
        startProduct(state, product, GatewayModel::Vela3hTcp);
        for (std::size_t c = 0; c < 3; ++c) {
            COrlaNode* node = product.channel(c)->addNode();
            for (unsigned number : {3u, 48u}) {
                COrlaCommand* command = node->addHartCommand(product.registries(), number);
                command->setItemInt(ReceiveLengthBytes, 25);
                command->setItemInt(SendLengthBytes, number == 48 ? 7 : 0);
            }
        }
    }

    std::string save(const std::string& name) {
        const std::string path = folder.file(name);
        EXPECT_TRUE(saveToFile(product, path).ok);
        return path;
    }

    static void load(CProductTarn& result, const std::string& path) {
        AppState loadState;
        startProduct(loadState, result, GatewayModel::Vela3hTcp);
        test::ScriptedPrompt prompt;
        EXPECT_TRUE(loadProject(result, loadState, prompt, path).ok());
    }

    test::TempDir folder;
    AppState state;
    CProductTarn product;
};

TEST_F(KorvanctlEditing, CheckRefusesOverlapsAndAutomapLaysTheAddressesOut) {
    const std::string input = save("p.xml");
    const auto overlapping = runKorvanctl({"--model", "vela-3h-tcp", "check", input});
    EXPECT_EQ(overlapping.exitStatus, 11);
    // The program's message, then each overlap named: ten of the eighteen and a count of the rest.
    EXPECT_EQ(
        overlapping.err.rfind("Memory mapping has conflicts!\n"
                              "korvanctl: send memory 3000-3006 of Channel1 Node(0) Command ID48 overlaps "
                              "3000-3006 of Channel2 Node(0) Command ID48\n",
                              0),
        0u)
        << overlapping.err;
    EXPECT_NE(overlapping.err.find(
                  "korvanctl: receive memory 0-24 of Channel1 Node(0) Command ID3 overlaps 0-24 of "
                  "Channel1 Node(0) Command ID48\n"),
              std::string::npos)
        << overlapping.err;
    EXPECT_NE(
        overlapping.err.find("\nkorvanctl: ... and 8 more overlaps ('korvanctl automap' lays the addresses "
                             "out)\n"),
        std::string::npos)
        << overlapping.err;
    EXPECT_EQ(std::count(overlapping.err.begin(), overlapping.err.end(), '\n'), 12);

    const std::string output = folder.file("mapped.xml");
    const auto mapped = runKorvanctl({"--model", "vela-3h-tcp", "automap", input, "-o", output});
    ASSERT_EQ(mapped.exitStatus, 0) << mapped.err;
    EXPECT_EQ(mapped.err, "Whether auto mapping address?\nAutomatic mapping is done!\n");
    EXPECT_EQ(runKorvanctl({"--model", "vela-3h-tcp", "check", input}).exitStatus, 11); // input kept

    CProductTarn result;
    load(result, output);
    const COrlaCommand* last = result.channel(2)->currentNodes().front()->commandAt(1);
    EXPECT_EQ(last->itemAt(SendMemoryStart)->value(), "3014");
    EXPECT_EQ(last->itemAt(SendRegisterStart)->value(), "1507");
    EXPECT_EQ(last->itemAt(ReceiveMemoryStart)->value(), "125");
    EXPECT_EQ(last->itemAt(ReceiveRegisterStart)->value(), "62");
    EXPECT_EQ(last->itemAt(ReceiveLengthWords)->value(), "13");
    const auto clean = runKorvanctl({"--model", "vela-3h-tcp", "check", output});
    EXPECT_EQ(clean.exitStatus, 0) << clean.err;
    EXPECT_EQ(clean.err, "");

    // Without -o the project file itself is rewritten.
    ASSERT_EQ(runKorvanctl({"--model", "vela-3h-tcp", "automap", input}).exitStatus, 0);
    EXPECT_EQ(runKorvanctl({"--model", "vela-3h-tcp", "check", input}).exitStatus, 0);
}

TEST_F(KorvanctlEditing, CheckReportsAnEmptyItemWithItsResultCode) {
    product.channel(1)->currentNodes().front()->commandAt(0)->itemAt(SendMemoryStart)->setValue("");
    const auto checked = runKorvanctl({"--model", "vela-3h-tcp", "check", save("empty.xml")});
    EXPECT_EQ(checked.exitStatus, 6);
    EXPECT_EQ(checked.err, "Command ID3 - Memory Starting Address of Sending Data data is empty\n"
                           "korvanctl: in Channel2 Node(0) of '" +
                               folder.file("empty.xml") + "'\n");
}

TEST_F(KorvanctlEditing, ExportWritesTheWorkbookOrRefusesATargetItCannotCreate) {
    const std::string input = save("p.xml");
    const std::string workbook = folder.file("p.xlsx");
    const auto exported = runKorvanctl({"--model", "vela-3h-tcp", "export", input, "-o", workbook});
    ASSERT_EQ(exported.exitStatus, 0) << exported.err;
    EXPECT_EQ(test::readFile(workbook).substr(0, 2), "PK");

    const std::string nowhere = folder.file("absent/p.xlsx");
    const auto refused = runKorvanctl({"--model", "vela-3h-tcp", "export", input, "-o", nowhere});
    EXPECT_EQ(refused.exitStatus, 1);
    EXPECT_EQ(refused.err, "Document export failed, reason: the file has been opened\n");
    EXPECT_FALSE(os::fileExists(nowhere));
}

TEST_F(KorvanctlEditing, BadProjectsAndBadUsageExitWithTheirCodesAndTouchNothing) {
    const std::string input = save("p.xml");
    const std::string garbage = folder.file("garbage.xml");
    test::writeFile(garbage, "not a project");
    const std::string before = test::readFile(input);
    const struct {
        std::vector<std::string> arguments;
        int exitStatus;
    } cases[] = {
        {{"--model", "vela-3h-tcp", "check", garbage}, 65},
        {{"--model", "vela-3h-tcp", "automap", garbage}, 65},
        {{"--model", "vela-3h-tcp", "export", garbage, "-o", folder.file("g.xlsx")}, 65},
        {{"--model", "vela-3h-tcp", "check", folder.file("missing.xml")}, 65},
        {{"--model", "vela-3h-rtu", "check", input}, 65},
        {{"new", "-o", folder.file("n.xml")}, 64},
        {{"--model", "vela-3h-tcp", "export", input}, 64},
        {{"--model", "vela-3h-tcp", "check"}, 64},
    };
    for (const auto& c : cases) {
        const auto run = runKorvanctl(c.arguments);
        EXPECT_EQ(run.exitStatus, c.exitStatus) << c.arguments.back() << "\n" << run.err;
        EXPECT_FALSE(run.err.empty());
    }
    EXPECT_EQ(test::readFile(input), before);
    EXPECT_EQ(test::readFile(garbage), "not a project");
    EXPECT_FALSE(os::fileExists(folder.file("g.xlsx")));
    EXPECT_FALSE(os::fileExists(folder.file("n.xml")));
}

// A segment offset no record can carry passed the check before; the download refused it,
// and so does the check now, with the same message.
TEST(KorvanctlCheck, RefusesAValueTheDownloadCannotSend) {
    test::TempDir folder;
    AppState state;
    CProductTarn product;
    startProduct(state, product, GatewayModel::Vela1hTcp);
    COrlaCommand* command = product.channel(0)->addNode()->addHartCommand(product.registries(), 1);
    command->setItemChoice(ConfigurationMode, 1);
    command->segmentRecord(0)->setSegmentEnableCount("1");
    command->segmentRecord(0)->setSegmentLength("4");
    command->segmentRecord(0)->setSegmentOffset("2147483647");
    const std::string path = folder.file("p.xml");
    ASSERT_TRUE(saveToFile(product, path).ok);
    const auto run = runKorvanctl({"--model", "vela-1h-tcp", "check", path});
    EXPECT_EQ(run.exitStatus, 8);
    EXPECT_EQ(
        run.err,
        "Channel1, Node(0), Command ID1: segment 1 offset 2147483647 does not fit the download (0~63).\n");
}

} // namespace
} // namespace korvan
