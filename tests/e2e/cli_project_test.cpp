#include "ProgramRun.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <fstream>

namespace korvan {
namespace {

using test::runKorvanctl;

TEST(KorvanctlProject, NewWritesTheModelsProjectAndShowListsEveryParameter) {
    test::TempDir dir;
    const std::string path = dir.file("p.xml");
    const auto created = runKorvanctl({"--model", "vela-1h-tcp", "new", "-o", path});
    ASSERT_EQ(created.exitStatus, 0) << created.err;
    tinyxml2::XMLDocument document;
    ASSERT_EQ(document.LoadFile(path.c_str()), tinyxml2::XML_SUCCESS);
    std::vector<std::string> values;
    for (auto* child = document.RootElement()->FirstChildElement(); child; child = child->NextSiblingElement())
        values.emplace_back(child->Attribute("Value"));
    EXPECT_EQ(values, (std::vector<std::string>{"Company", "Product", "Profibus", "Channel1"}));

    const auto shown = runKorvanctl({"--model", "Vela-1H-TCP", "show", path});
    ASSERT_EQ(shown.exitStatus, 0) << shown.err;
    const char* lines[] = {
        "Fieldbus\n  Mode = Modbus TCP\n  Assign IP Mode = Manually Assign\n",
        "Channel1\n  Master Type = Primary Master\n",
        "  Successive Response Timeout for N Times = 3\n  Node(0)\n    HART Slave Address = 0\n    Command ID3\n"
        "      Configuration Mode = Basic\n",
        "      Length of Receiving Data (BYTE) = 24\n",
        "      Command Index = 0\n",
    };
    for (const char* line : lines)
        EXPECT_NE(shown.out.find(line), std::string::npos) << line << "\nin:\n" << shown.out;
}

TEST(KorvanctlProject, ShowRefusesFilesThatCannotBeOpenedWithTheProgramsMessage) {
    test::TempDir dir;
    ASSERT_EQ(runKorvanctl({"--model", "vela-3h-rtu", "new", "-o", dir.file("rtu.xml")}).exitStatus, 0);
    test::writeFile(dir.file("broken.xml"), "<TREVLINK>");
    struct Case {
        std::string file;
        std::string message;
    };
    const Case cases[] = {
        {dir.file("missing.xml"), "File not exisit\n"},
        {dir.file("rtu.xml"), "The profile protocol is inconsistent with the software protocol!\n"},
        {dir.file("broken.xml"), "Cannot open \"" + dir.file("broken.xml") + "\": it is not well-formed XML"},
    };
    for (const Case& c : cases) {
        const auto result = runKorvanctl({"--model", "vela-3h-tcp", "show", c.file});
        EXPECT_EQ(result.exitStatus, 65) << c.file;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_TRUE(result.out.empty());
    }
}

TEST(KorvanctlProject, UsageErrorsExit64WithAUsageTextAndTouchNothing) {
    test::TempDir dir;
    const std::string path = dir.file("p.xml");
    const std::vector<std::vector<std::string>> cases{
        {},
        {"new", "-o", path},
        {"--model", "vela-9h", "new", "-o", path},
        {"--model", "vela-1h-tcp", "--serial", "/dev/ttyUSB0", "new", "-o", path},
        {"--model", "vela-3h-rtu", "--gateway", "127.0.0.1", "new", "-o", path},
        {"--model", "vela-1h-tcp", "new"},
        {"--model", "vela-1h-tcp", "new", "-o", path, "extra"},
        {"--model", "vela-1h-tcp", "frobnicate"},
        {"--model", "vela-1h-tcp", "--gateway", "127.0.0.1:99999", "new", "-o", path},
    };
    for (const auto& words : cases) {
        const auto result = runKorvanctl(words);
        EXPECT_EQ(result.exitStatus, 64) << (words.empty() ? "(no words)" : words.back());
        EXPECT_NE(result.err.find("usage: korvanctl"), std::string::npos);
    }
    EXPECT_FALSE(std::ifstream(path).good()) << "a usage error never writes";

    const auto help = runKorvanctl({"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_NE(help.out.find("show FILE"), std::string::npos);
}

TEST(KorvanctlProject, NewReportsAFileItCannotWrite) {
    test::TempDir dir;
    const auto result = runKorvanctl({"--model", "vela-3h-tcp", "new", "-o", dir.file("missing/p.xml")});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.err.find("Cannot save the project"), std::string::npos) << result.err;
}

} // namespace
} // namespace korvan
