// The memory display's grids and ".data" files: where a reply's bytes go, the 2999 clip,
// what Send takes from the grid, the editor's rule, and the file written and read back.
#include "support/ScriptedPrompt.h"
#include "support/TempDir.h"
#include "tools/MemoryDataFile.h"
#include "tools/MemoryGrid.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace korvan {
namespace {

namespace fs = std::filesystem;

MemoryBlock block(std::uint16_t address, std::size_t count, std::uint8_t first = 0) {
    MemoryBlock b;
    b.address = address;
    for (std::size_t i = 0; i < count; ++i)
        b.data.push_back(static_cast<std::uint8_t>(first + i));
    return b;
}

// A full output grid with a pattern of bytes and empty cells.
MemoryGrid filledOutput() {
    MemoryGrid grid(outputMemoryArea);
    for (std::size_t r = 0; r < grid.rowCount(); ++r)
        for (std::size_t c = 0; c < memoryRowBytes; ++c)
            if ((r + c) % 5 != 0)
                grid.edit(r, c, (r + c) % 3 == 0 ? "ab" : "5C");
    return grid;
}

TEST(MemoryGrid, RowsAndAddressesOfBothAreas) {
    const MemoryGrid input(inputMemoryArea);
    const MemoryGrid output(outputMemoryArea);
    EXPECT_EQ(input.rowCount(), 188u);
    EXPECT_EQ(output.rowCount(), 125u);
    EXPECT_EQ(input.rowAddressText(0), "0000");
    EXPECT_EQ(input.rowAddressText(1), "0016");
    EXPECT_EQ(input.rowAddressText(187), "2992");
    EXPECT_EQ(output.rowAddressText(124), "4984");
    EXPECT_FALSE(input.beyondArea(187, 7));
    EXPECT_TRUE(input.beyondArea(187, 8));
    EXPECT_FALSE(output.beyondArea(124, 15));
}

struct ShowCase {
    std::uint16_t address;
    std::size_t count;
    std::size_t firstRow, endRow;
    std::size_t lastRow, lastColumn; // the last cell filled
};

class MemoryGridShow : public testing::TestWithParam<ShowCase> {};

TEST_P(MemoryGridShow, BytesGoToTheirRowsAndStopAtTheAreasEnd) {
    const ShowCase c = GetParam();
    MemoryGrid grid(c.address >= 3000 ? outputMemoryArea : inputMemoryArea);
    const auto rows = grid.show(block(c.address, c.count, 0xF0));
    EXPECT_EQ(rows, std::make_pair(c.firstRow, c.endRow));
    EXPECT_EQ(grid.cell(c.firstRow, 0), "F0");
    std::size_t filled = 0;
    for (const MemoryRow& row : grid.rows())
        for (const std::string& cell : row)
            filled += cell.empty() ? 0 : 1;
    EXPECT_EQ(filled, (c.lastRow - c.firstRow) * 16 + c.lastColumn + 1);
    EXPECT_FALSE(grid.cell(c.lastRow, c.lastColumn).empty());
}

INSTANTIATE_TEST_SUITE_P(Replies, MemoryGridShow,
                         testing::Values(ShowCase{0, 64, 0, 4, 3, 15},         // rows 0000-0048
                                         ShowCase{2944, 64, 184, 188, 187, 7}, // only 56 bytes up to 2999
                                         ShowCase{2992, 64, 187, 188, 187, 7},
                                         ShowCase{3000, 89, 0, 6, 5, 8},          // the most a reply carries
                                         ShowCase{4984, 64, 124, 125, 124, 15})); // never past the grid

TEST(MemoryGrid, EditsTakeTwoHexDigitsOnly) {
    MemoryGrid grid(outputMemoryArea);
    EXPECT_TRUE(grid.edit(0, 0, "3c"));
    struct Case {
        const char* text;
        const char* shown;
    };
    for (const Case c : {Case{"7f", "7F"}, Case{"7G", "7F"}, Case{"123", "7F"}, Case{"", "7F"},
                         Case{" 1", "7F"}, Case{"a0", "A0"}}) {
        grid.edit(0, 1, c.text);
        EXPECT_EQ(grid.cell(0, 1), c.shown) << c.text;
    }
    EXPECT_EQ(grid.cell(0, 0), "3C");
}

TEST(MemoryGrid, SendTakesTheFourRowsFromTheTopOneAndStaysInTheArea) {
    MemoryGrid grid(outputMemoryArea);
    grid.show(block(3000, 64, 1));
    grid.edit(1, 5, "ee");
    grid.setRows([&] {
        auto rows = grid.rows();
        rows[0][3].clear(); // an empty cell goes as 00
        return rows;
    }());
    const Bytes bytes = grid.sendBytes(0);
    ASSERT_EQ(bytes.size(), 64u);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[3], 0);
    EXPECT_EQ(bytes[16 + 5], 0xEE);
    EXPECT_EQ(bytes[63], 64);
    EXPECT_EQ(grid.blockAddress(0), 3000);
    EXPECT_EQ(grid.blockAddress(10), 3160);
    EXPECT_EQ(grid.blockAddress(124), 4936); // 4936-4999: never past the output area
    EXPECT_EQ(MemoryGrid(inputMemoryArea).blockAddress(187), 2944);
    EXPECT_EQ(grid.sendBytes(200), Bytes(64, 0));
}

TEST(MemoryDataFile, TheFileHoldsEveryRowAsSixteenFields) {
    MemoryGrid grid(inputMemoryArea);
    grid.show(block(0, 2, 0xA0));
    const std::string text = memoryDataText(grid);
    const std::string first = "A0 A1 NO NO NO NO NO NO NO NO NO NO NO NO NO NO \r\r\n";
    EXPECT_EQ(text.substr(0, first.size()), first);
    EXPECT_EQ(text.size(), 188 * first.size());
}

TEST(MemoryDataFile, SavedAndLoadedBackTheOutputGridIsTheSame) {
    test::TempDir dir;
    test::ScriptedPrompt prompt;
    const MemoryGrid saved = filledOutput();
    const std::string path = dir.file("output.data");
    ASSERT_TRUE(saveMemoryData(path, saved, prompt));
    const std::string text = test::readFile(path);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 125);
    EXPECT_EQ(std::count(text.begin(), text.end(), ' '), 125 * 16);

    MemoryGrid loaded(outputMemoryArea);
    loaded.show(block(3000, 89));
    ASSERT_TRUE(loadMemoryData(path, loaded, prompt));
    EXPECT_EQ(loaded.rows(), saved.rows());
    EXPECT_TRUE(prompt.shown.empty());
}

TEST(MemoryDataFile, ASaveThroughASymbolicLinkReplacesItsTargetAndLeavesNothingBeside) {
    test::TempDir dir;
    test::ScriptedPrompt prompt;
    test::writeFile(dir.file("real.data"), "old");
    fs::create_symlink("real.data", dir.file("link.data"));
    ASSERT_TRUE(saveMemoryData(dir.file("link.data"), filledOutput(), prompt));
    EXPECT_TRUE(fs::is_symlink(dir.file("link.data")));
    EXPECT_EQ(test::readFile(dir.file("real.data")), memoryDataText(filledOutput()));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator{}), 2);

    EXPECT_FALSE(saveMemoryData(dir.file("missing/out.data"), filledOutput(), prompt));
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_TRUE(prompt.shown[0].starts_with("The memory data could not be saved to")) << prompt.shown[0];
}

TEST(MemoryDataFile, ShortLinesAndFilesLeaveTheRestEmpty) {
    const MemoryDataParse parse = parseMemoryData("00 no 7f \r\r\n\r\r\nAA \n", 125);
    ASSERT_EQ(parse.error, "");
    ASSERT_EQ(parse.rows.size(), 3u);
    EXPECT_EQ(parse.rows[0][0], "00");
    EXPECT_EQ(parse.rows[0][1], "");
    EXPECT_EQ(parse.rows[0][2], "7F");
    EXPECT_EQ(parse.rows[0][3], "");
    EXPECT_EQ(parse.rows[1], MemoryRow{});
    EXPECT_EQ(parse.rows[2][0], "AA");
}

struct BadFile {
    const char* name;
    std::string text;
    const char* reason;
};

class MemoryDataRefused : public testing::TestWithParam<BadFile> {};

TEST_P(MemoryDataRefused, ABadFileShowsWhyAndChangesNothing) {
    const BadFile c = GetParam();
    test::TempDir dir;
    test::ScriptedPrompt prompt;
    const std::string path = dir.file("bad.data");
    if (c.text != "<missing>")
        test::writeFile(path, c.text);
    MemoryGrid grid = filledOutput();
    EXPECT_FALSE(loadMemoryData(path, grid, prompt));
    EXPECT_EQ(grid.rows(), filledOutput().rows());
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_NE(prompt.shown[0].find(c.reason), std::string::npos) << prompt.shown[0];
    EXPECT_NE(prompt.shown[0].find("The grid is unchanged."), std::string::npos);
}

std::string lines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "01 \r\r\n";
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Files, MemoryDataRefused,
    testing::Values(BadFile{"Missing", "<missing>", "could not be read"},
                    BadFile{"TooManyLines", lines(126), "more than 125 lines"},
                    BadFile{"InputGridFile", lines(188), "more than 125 lines"},
                    BadFile{"TooManyFields", "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 \r\r\n",
                            "Line 1 holds more than 16 bytes"},
                    BadFile{"NotAByte", "00 \r\r\n7G \r\r\n", "Line 2 holds \"7G\""},
                    BadFile{"ThreeDigits", "123 \r\r\n", "Line 1 holds \"123\""},
                    BadFile{"DoubleSpace", "00  11 \r\r\n", "Line 1 holds \"\""},
                    BadFile{"NoFinalSpace", "00 11\r\r\n", "ends in \"11\r\r\""}),
    [](const testing::TestParamInfo<BadFile>& bad) { return std::string(bad.param.name); });

} // namespace
} // namespace korvan
