#include "base/HexByteText.h"
#include "hart/CodeTexts.h"
#include "hart/CommandIoData.h"
#include "hart/CommandIoEditing.h"
#include "hart/DecodedReply.h"
#include "hart/HartReply.h"
#include "hart/ResponseRows.h"
#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace korvan {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Rows = std::vector<ResponseRow>;

// Names codes as the libraries would for the few codes the tests use.
class FakeCodeTexts : public CodeTexts {
public:
    std::string unitText(int code) override { return code == 32 ? "Degrees Celsius" : "(null)"; }
    std::string manufacturerText(int code) override { return code == 38 ? "Rosemount" : "(null)"; }
};

Bytes hex(std::string_view text) {
    return parseHexByteText(text).value();
}

Rows rowsOf(int command, std::string_view payloadHex, std::span<const ResponseSegment> segments = {}) {
    FakeCodeTexts texts;
    return responseRows(DecodedReply(command, hex(payloadHex)), segments, texts);
}

TEST(HartReply, DecodesCommandOneOfTheWorkedExample) {
    // The reply as the gateway sends it: letter, length 9, two bytes, then the payload.
    const Bytes reply = hex("07 09 00 00 00 00 20 42 C8 00 00 55");
    const Bytes payload = replyPayload(reply);
    EXPECT_EQ(payload, hex("00 00 20 42 C8 00 00"));
    EXPECT_EQ(rowsOf(1, hexByteText(payload)), (Rows{{"Communication_Status", "NoErr"},
                                                     {"Response Code", "sSuccess"},
                                                     {"Primary Variable Units Code", "Degrees Celsius"},
                                                     {"Primary Variable", "100.000000"}}));
}

TEST(HartReply, ShortOrLyingRepliesReadMissingBytesAsZero) {
    struct Case {
        const char* reply;
        const char* payload;
    };
    for (const Case& c : {Case{"", ""}, Case{"07", ""}, Case{"07 01", ""}, Case{"07 02 00 00", ""},
                          Case{"07 05 00 00 00 12", "00 12 00"}, Case{"07 FF 00 00 01", ""}}) {
        const Bytes reply = parseHexByteText(c.reply).value();
        const Bytes payload = replyPayload(reply);
        if (std::string_view(c.reply) == "07 FF 00 00 01") {
            ASSERT_EQ(payload.size(), 253u);
            EXPECT_EQ(payload[0], 1);
            EXPECT_EQ(payload[252], 0);
        } else {
            EXPECT_EQ(payload, parseHexByteText(c.payload).value()) << c.reply;
        }
    }
    // A payload far shorter than the command's size decodes to zeros without reading past it.
    EXPECT_EQ(rowsOf(3, "00").size(), 11u);
    EXPECT_EQ(rowsOf(3, "00")[2].value, "0.000000");
    EXPECT_EQ(rowsOf(0, "").at(10), (ResponseRow{"Device ID", "0"}));
    const Bytes tunnel = hex("00 00 00 00 00 0D 01 03 FE 6F 00 07 09");
    EXPECT_EQ(Bytes(withoutTunnelHeader(tunnel).begin(), withoutTunnelHeader(tunnel).end()), hex("07 09"));
    EXPECT_TRUE(withoutTunnelHeader(hex("00 01 02")).empty());
}

TEST(HartReply, StatusAndResponseCodeTexts) {
    struct Case {
        int command;
        const char* payload;
        const char* status;
        const char* response;
    };
    for (const Case& c :
         {Case{1, "90 20 42 C8 00 00", "FramingErr", "sSuccess"},
          Case{1, "82 00", "BufferOverflowErr", "sSuccess"}, Case{1, "01 00", "Reserved", "sSuccess"},
          Case{6, "00 20", "NoErr", "Busy"}, Case{1, "00 20", "NoErr", "Undefine"},
          Case{1, "00 06", "NoErr", "CommandErr"}, Case{1, "00 10", "NoErr", "AccessRestrict"},
          Case{6, "00 0C", "NoErr", "ErrModeSelect"}, Case{6, "00 05", "NoErr", "TooFewData"},
          Case{0, "00 10", "NoErr", "Undefine"}, Case{12, "00 20", "NoErr", "Busy"},
          Case{16, "00 08", "NoErr", "Undefine"}}) {
        const Rows rows = rowsOf(c.command, c.payload);
        ASSERT_GE(rows.size(), 2u);
        EXPECT_EQ(rows[0].value, c.status) << c.command << ": " << c.payload;
        EXPECT_EQ(rows[1].value, c.response) << c.command << ": " << c.payload;
    }
    // A failed communication shows zero data even when data bytes arrived.
    EXPECT_EQ(rowsOf(1, "90 00 20 42 C8 00 00")[3].value, "0.000000");
}

TEST(HartReply, BasicRowsOfTheReadCommands) {
    // Command 0 and 11 skip the constant 254 and show the 24-bit device ID.
    const Rows identifier = rowsOf(0, "00 00 FE 26 05 05 07 01 02 03 04 12 34 56 05");
    ASSERT_EQ(identifier.size(), 11u);
    EXPECT_EQ(identifier[2], (ResponseRow{"Manufactory", "Rosemount"}));
    EXPECT_EQ(identifier[3], (ResponseRow{"Device Type", "5"}));
    EXPECT_EQ(identifier[9], (ResponseRow{"Flags", "4"}));
    EXPECT_EQ(identifier[10], (ResponseRow{"Device ID", std::to_string(0x123456)}));
    Rows withTag = rowsOf(11, "00 00 FE 26 05 05 07 01 02 03 04 12 34 56 05");
    ASSERT_EQ(withTag.size(), 12u);
    EXPECT_EQ(withTag[10], identifier[10]);
    EXPECT_EQ(withTag[11], (ResponseRow{"Tag", ""}));

    // Command 13: packed tag "ABCD    ", descriptor, and the date 05-11-2013.
    const Rows tag = rowsOf(13, "00 00 04 20 C4 82 08 20 82 08 20 82 08 20 82 08 20 82 08 20 05 0B 71");
    ASSERT_EQ(tag.size(), 5u);
    EXPECT_EQ(tag[2], (ResponseRow{"Tag", "ABCD    "}));
    EXPECT_EQ(tag[3].value, std::string(16, ' '));
    EXPECT_EQ(tag[4], (ResponseRow{"Date/day-month-year(xx-xx-xxxx)", "05-11-2013"}));

    const Rows info = rowsOf(15, "00 00 01 E6 20 42 C8 00 00 00 00 00 00 3F 80 00 00 01 26 07");
    ASSERT_EQ(info.size(), 11u);
    EXPECT_EQ(info[2], (ResponseRow{"PVAlarmCode", "Low"}));
    EXPECT_EQ(info[3], (ResponseRow{"TransferFuncCode", "Switch"}));
    EXPECT_EQ(info[4], (ResponseRow{"PVUnit", "Degrees Celsius"}));
    EXPECT_EQ(info[5], (ResponseRow{"UperPVRang", "100.000000"}));
    EXPECT_EQ(info[7], (ResponseRow{"PVDamp", "1.000000"}));
    EXPECT_EQ(info[8], (ResponseRow{"WriteProtectCode", "yes"}));
    EXPECT_EQ(info[9], (ResponseRow{"Manufactory", "38"}));
    EXPECT_EQ(info[10], (ResponseRow{"PVAnalogChannelFlg", "7"}));

    EXPECT_EQ(rowsOf(3, "00 00").at(9).label, "4th Variable Units Code");
    EXPECT_EQ(rowsOf(6, "00 00 05 01").at(2), (ResponseRow{"Short Addr", ""}));
    EXPECT_EQ(rowsOf(16, "00 00 00 01 00").at(2), (ResponseRow{"Final Assembly Number", "256"}));
    EXPECT_TRUE(rowsOf(48, "00 00 01").empty());
    EXPECT_TRUE(rowsOf(-1, "00 00").empty());
}

TEST(HartReply, WriteOnlyCommandsListAnEmptyForm) {
    FakeCodeTexts texts;
    EXPECT_EQ(responseRows(DecodedReply::zero(17), {}, texts),
              (Rows{{"Communication_Status", "NoErr"}, {"Response Code", "sSuccess"}, {"Message", ""}}));
    const Rows tag = responseRows(DecodedReply::zero(18), {}, texts);
    ASSERT_EQ(tag.size(), 5u);
    EXPECT_EQ(tag[2].value, "");
    EXPECT_EQ(tag[3].value, "");
    EXPECT_EQ(responseRows(DecodedReply::zero(19), {}, texts).at(2).value, "0");
}

TEST(HartReply, AdvancedRowsFollowTheSegments) {
    // Value first, then the status entry; the unit code is not configured.
    const std::vector<ResponseSegment> segments{{1, 4, false}, {63, 2, false}};
    EXPECT_EQ(rowsOf(1, "00 00 20 42 C8 00 00", segments), (Rows{{"Primary Variable", "100.000000"},
                                                                 {"Communication_Status", "NoErr"},
                                                                 {"Response Code", "sSuccess"}}));
    // A swapped float carries its 16-bit halves exchanged: 00 00 42 C8 reads as 100.
    const std::vector<ResponseSegment> swapped{{1, 4, true}};
    EXPECT_EQ(rowsOf(1, "00 00 20 00 00 42 C8", swapped), (Rows{{"Primary Variable", "100.000000"}}));
    // Commands 0 and 11 show only the manufacturer to device ID fields; unknown starts are skipped.
    const std::vector<ResponseSegment> identifier{
        {0, 1, false}, {9, 3, false}, {12, 2, false}, {30, 1, false}};
    EXPECT_EQ(rowsOf(11, "00 00 FE 26 05 05 07 01 02 03 04 00 00 2A", identifier),
              (Rows{{"Device ID", "42"}}));
}

TEST(CommandIoEditing, ButtonsAndEditableRows) {
    EXPECT_FALSE(commandIoButtons(3).edit);
    EXPECT_TRUE(commandIoButtons(3).refresh);
    EXPECT_FALSE(commandIoButtons(18).refresh);
    EXPECT_TRUE(commandIoButtons(11).edit && commandIoButtons(11).refresh);
    EXPECT_TRUE(isEditableRow(6, 2, commandIoButtons(6)));
    EXPECT_FALSE(isEditableRow(6, 1, commandIoButtons(6)));
    EXPECT_FALSE(isEditableRow(11, 10, commandIoButtons(11)));
    EXPECT_TRUE(isEditableRow(11, 11, commandIoButtons(11)));
    EXPECT_FALSE(isEditableRow(1, 3, commandIoButtons(1)));
}

TEST(CommandIoEditing, CommitRules) {
    struct Case {
        int command;
        int row;
        const char* typed;
        std::optional<std::string> stored;
    };
    const std::vector<Case> cases{
        {6, 2, "20", "15"},
        {6, 2, "7", "7"},
        {6, 3, "7", "1"},
        {6, 3, "x", "0"},
        {11, 11, "tag1", "TAG1    "},
        {18, 2, "a-very-long-tag", "A-VERY-L"},
        {18, 3, "descriptor", "DESCRIPTOR      "},
        {17, 2, "hello", "HELLO" + std::string(27, ' ')},
        {18, 4, "05-11-2013", "05-11-2013"},
        {18, 4, "31-13-2300", "31-12-2155"},
        {18, 4, "40-00-1850", "31-00-1900"},
        {18, 4, "31-12-2155", "31-12-2155"},
        {18, 4, "1-1-2000", std::nullopt},
        {18, 4, "01/01/2000", std::nullopt},
        {18, 4, "aa-01-2000", std::nullopt},
        {19, 2, "16777216", "16777215"},
        {19, 2, "123", "123"},
    };
    for (const Case& c : cases) {
        test::ScriptedPrompt prompt;
        EXPECT_EQ(commitCellText(c.command, c.row, c.typed, prompt), c.stored) << c.command << " " << c.typed;
        EXPECT_EQ(prompt.shown,
                  c.stored ? std::vector<std::string>{} : std::vector<std::string>{"Date format error!"});
    }
}

TEST(CommandIoEditing, WriteFramesFromTheCells) {
    struct Case {
        int command;
        std::vector<std::string> cells;
        const char* frame;
        const char* answer;
    };
    std::vector<std::string> identifier(12);
    identifier[11] = "ABCD    ";
    const std::vector<Case> cases{
        {6, {"", "", "5", "1"}, "47 04 01 03 05 01 55", "47 01 01 47"},
        {6, {"", "", "16", "1"}, "47 04 01 03 00 00 4F", "47 01 01 47"},
        {11, identifier, "47 08 01 03 04 20 C4 82 08 20 E5", "47 01 01 47"},
        {19, {"", "", "66051"}, "47 05 01 03 01 02 03 56", "47 01 01"},
    };
    for (const Case& c : cases) {
        test::ScriptedPrompt prompt;
        const auto write = buildWriteFrame(c.command, 1, 3, c.cells, prompt);
        ASSERT_TRUE(write) << c.command;
        EXPECT_EQ(hexByteText(write->frame), c.frame) << c.command;
        EXPECT_EQ(hexByteText(write->expectedAnswer), c.answer) << c.command;
    }

    // A lower-case message is sent as its upper-case form padded with blanks to 32 characters.
    test::ScriptedPrompt prompt;
    const auto message = buildWriteFrame(17, 0, 2, std::vector<std::string>{"", "", "abcd"}, prompt);
    ASSERT_TRUE(message);
    ASSERT_EQ(message->frame.size(), 29u);
    EXPECT_EQ(hexByteText(std::span(message->frame).subspan(4, 6)), "04 20 C4 82 08 20");
    const auto tag =
        buildWriteFrame(18, 0, 2, std::vector<std::string>{"", "", "T", "D", "05-11-2013"}, prompt);
    ASSERT_TRUE(tag);
    ASSERT_EQ(tag->frame.size(), 26u);
    EXPECT_EQ(hexByteText(std::span(tag->frame).subspan(22, 3)), "05 0B 71");
    EXPECT_TRUE(prompt.shown.empty());

    EXPECT_FALSE(buildWriteFrame(17, 0, 2, std::vector<std::string>{"", "", "a~"}, prompt));
    EXPECT_EQ(prompt.shown, std::vector<std::string>{"Has Illegal char"});
    EXPECT_FALSE(buildWriteFrame(1, 0, 2, std::vector<std::string>{}, prompt));
}

TEST(CommandIoEditing, ReadRequests) {
    EXPECT_EQ(hexByteText(readRequestFrame(2, 5)), "07 02 02 05 10");
    EXPECT_EQ(hexByteText(readRequestTunnelFrame(0, 0xFF)),
              "00 00 00 00 00 0D 01 03 FE 6F 00 11 0D 0D 07 02 00 FF 08");
}

// The window's state: a read command refreshes from the received reply, a write command
// lists its form, the typed values are committed and sent as one frame.
TEST(CommandIoData, RefreshEditAndWrite) {
    FakeCodeTexts texts;
    test::ScriptedPrompt prompt;
    CommandIoData window(texts, prompt);

    window.select(1, 0, 4, {});
    EXPECT_TRUE(window.refreshNeedsReply());
    window.refreshFromReply(hex("07 09 00 00 00 00 20 42 C8 00 00 55"));
    ASSERT_EQ(window.rows().size(), 4u);
    EXPECT_EQ(window.rows()[3].value, "100.000000");
    EXPECT_FALSE(window.canEditRow(3));
    window.refreshFromReply({});
    EXPECT_TRUE(window.rows().empty()) << "nothing received leaves the list empty";

    window.select(18, 1, 3, {});
    EXPECT_FALSE(window.refreshNeedsReply());
    EXPECT_FALSE(window.buttons().refresh);
    window.refreshWithoutReply();
    ASSERT_EQ(window.rows().size(), 5u);
    EXPECT_TRUE(window.commitRow(2, "tag"));
    EXPECT_TRUE(window.commitRow(3, "descriptor"));
    EXPECT_FALSE(window.commitRow(4, "1-1-2000"));
    EXPECT_EQ(window.rows()[4].value, "00-00-1900") << "a refused date leaves the cell";
    EXPECT_TRUE(window.commitRow(4, "31-13-2300"));
    EXPECT_EQ(window.rows()[2].value, "TAG     ");
    EXPECT_EQ(window.rows()[4].value, "31-12-2155");
    EXPECT_FALSE(window.commitRow(1, "x")) << "status rows are not edited";
    const auto write = window.writeFrame();
    ASSERT_TRUE(write);
    ASSERT_EQ(write->frame.size(), 26u);
    EXPECT_EQ(hexByteText(std::span(write->frame).subspan(0, 4)), "47 17 01 03");
    EXPECT_EQ(hexByteText(std::span(write->frame).subspan(22, 3)), "1F 0C FF");
    EXPECT_EQ(prompt.shown, std::vector<std::string>{"Date format error!"});

    window.select(2, 0, 0, {});
    window.refreshFromReply(hex("07 0C 00 00 00 00 3F 80 00 00 42 C8 00 00"));
    EXPECT_FALSE(window.writeFrame()) << "a read command is not written";
    window.select(48, 0, 0, {});
    window.refreshFromReply(hex("07 04 00 00 00 00"));
    EXPECT_TRUE(window.rows().empty());
}

} // namespace
} // namespace korvan
