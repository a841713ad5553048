#include "WorkbookReader.h"
#include "app/AppState.h"
#include "app/StartSequence.h"
#include "export/SpreadsheetExport.h"
#include "export/WorkbookContent.h"
#include "model/CProductTarn.h"
#include "os/FileSystem.h"
#include "support/SampleProjects.h"
#include "support/ScriptedPrompt.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace korvan {
namespace {

using Strings = std::vector<std::string>;
const std::string refused = "Document export failed, reason: the file has been opened";

class SpreadsheetExportTest : public ::testing::Test {
protected:
    SpreadsheetExportTest() {
        startProduct(state, product, GatewayModel::Vela3hTcp);
        test::fillSampleProject(product);
    }

    test::TempDir folder;
    AppState state;
    CProductTarn product;
    test::ScriptedPrompt prompt;
};

TEST_F(SpreadsheetExportTest, ThreeChannelWorkbookReadsBackWithTheSheetsAndCells) {
    const std::string path = folder.file("project.xlsx");
    prompt.chooseNext(path);
    ASSERT_EQ(exportSpreadsheet(product, prompt), path);
    ASSERT_EQ(prompt.fileRequests.size(), 1u);
    EXPECT_EQ(prompt.fileRequests[0].defaultExtension, "xlsx");
    EXPECT_TRUE(prompt.shown.empty());

    const auto book = test::readWorkbook(path);
    ASSERT_TRUE(book.has_value());
    EXPECT_EQ(book->sheetNames,
              (Strings{"Fieldbus", "Channel Configuration", "Channel 1", "Channel 2", "Channel 3",
                       "Channel1 advanced configuration", "Channel2 advanced configuration",
                       "Channel3 advanced configuration"}));
    EXPECT_TRUE(book->allText);

    const struct {
        const char* sheet;
        int row;
        int column;
        const char* text;
    } cells[] = {
        {"Fieldbus", 1, 1, "Mode"},
        {"Fieldbus", 2, 1, "Modbus TCP"},
        {"Fieldbus", 2, 2, "DHCP"},
        {"Fieldbus", 2, 3, "10.1.2.3"},
        {"Channel Configuration", 1, 2, "Master Type"},
        {"Channel Configuration", 2, 1, "1"},
        {"Channel Configuration", 3, 1, "2"},
        {"Channel Configuration", 4, 1, "3"},
        {"Channel Configuration", 2, 6, "1000"},
        {"Channel Configuration", 4, 3, "Multi-drop"},
        {"Channel 1", 2, 1, "0"},
        {"Channel 1", 2, 2, "3"},
        {"Channel 1", 2, 3, "Basic"},
        {"Channel 1", 2, 11, "24"},
        {"Channel 1", 3, 2, "9"},
        {"Channel 1", 3, 3, "Advanced"},
        {"Channel 1", 3, 9, ""}, // the receive items of an Advanced command stay empty
        {"Channel 1", 3, 11, ""},
        {"Channel 1", 3, 13, "1"},
        {"Channel 1", 4, 4, "Change of State"},
        {"Channel 1", 4, 7, "9"},
        {"Channel 2", 2, 1, ""},
        {"Channel 3", 2, 1, "1"},
        {"Channel 3", 3, 1, "2"},
        {"Channel 3", 3, 9, "230"},
        {"Channel1 advanced configuration", 1, 1, "Command Index"},
        {"Channel1 advanced configuration", 1, 2, "1"},
        {"Channel1 advanced configuration", 1, 3, "Command ID"},
        {"Channel1 advanced configuration", 1, 4, "9"},
        {"Channel1 advanced configuration", 2, 1, "Bytes"},
        {"Channel1 advanced configuration", 2, 4, "Byte swap"},
        {"Channel1 advanced configuration", 3, 1, "0--3"},
        {"Channel1 advanced configuration", 3, 2, "100"},
        {"Channel1 advanced configuration", 3, 3, "50"},
        {"Channel1 advanced configuration", 3, 4, "no swap"},
        {"Channel1 advanced configuration", 4, 1, "1"},
        {"Channel1 advanced configuration", 4, 4, "Register swap"},
        {"Channel1 advanced configuration", 5, 2, "108"},
        {"Channel2 advanced configuration", 1, 1, ""},
    };
    for (const auto& c : cells)
        EXPECT_EQ(book->at(c.sheet, c.row, c.column), c.text)
            << c.sheet << " (" << c.row << ", " << c.column << ")";
}

TEST_F(SpreadsheetExportTest, SegmentBlocksOfLaterCommandsLeaveOneEmptyRow) {
    const std::vector<SheetContent> sheets = buildWorkbookContent(product);
    ASSERT_EQ(sheets.size(), 8u);
    // One Advanced command of three segments: rows 1-5, nothing after.
    EXPECT_FALSE(sheets[5].cells.contains({6, 1}));
    const struct {
        int offset;
        int length;
        const char* text;
    } ranges[] = {{9, 3, "9--11"}, {9, 1, "9"}, {0, 0, "0"}, {63, 2, "Command Status"}};
    for (const auto& r : ranges)
        EXPECT_EQ(segmentByteRange(r.offset, r.length), r.text);
}

TEST_F(SpreadsheetExportTest, RefusesATargetThatCannotBeWrittenAndWritesNothing) {
    const std::string readOnly = folder.file("locked.xlsx");
    test::writeFile(readOnly, "keep me");
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
    const std::string missingFolder = folder.file("absent/project.xlsx");
    for (const std::string& target : {missingFolder, readOnly}) {
        test::ScriptedPrompt run;
        EXPECT_FALSE(exportSpreadsheetTo(product, target, run)) << target;
        EXPECT_EQ(run.shown, Strings{refused});
    }
    EXPECT_FALSE(os::fileExists(missingFolder));
    EXPECT_EQ(test::readFile(readOnly), "keep me");
}

TEST_F(SpreadsheetExportTest, CancelledSaveDialogWritesNothingAndAnExistingWorkbookIsReplaced) {
    EXPECT_EQ(exportSpreadsheet(product, prompt), std::nullopt);
    EXPECT_TRUE(prompt.shown.empty());
    const std::string path = folder.file("again.xlsx");
    test::writeFile(path, "old contents");
    ASSERT_TRUE(exportSpreadsheetTo(product, path, prompt));
    const auto book = test::readWorkbook(path);
    ASSERT_TRUE(book.has_value());
    EXPECT_EQ(book->sheetNames.size(), 8u);
}

} // namespace
} // namespace korvan
