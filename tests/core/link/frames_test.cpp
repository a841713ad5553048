#include "link/ConfigurationFrames.h"
#include "link/PrivateFrame.h"
#include "link/SegmentTable.h"
#include "link/TunnelFrame.h"
#include "link/UploadFrames.h"
#include "model/CHartbus.h"
#include "model/CProductTarn.h"

#include <gtest/gtest.h>

namespace korvan {
namespace {

TEST(Frames, ChannelFrameOfDefaultsInItsTunnel) {
    CProductTarn product;
    product.build(GatewayModel::Vela3hTcp);
    const Bytes frame = channelFrame(*product.channel(1), 1);
    // Primary master, polling on, 256 ms twice, 3 repetitions, point-to-point, no commands,
    // clear, 3 timeouts.
    EXPECT_EQ(frame, (Bytes{0x43, 0x0C, 0x01, 0x00, 0x01, 0x01, 0x00, 0x01, 0x00, 0x03, 0x00, 0x00, 0x01,
                            0x03, 0x5A}));
    const Bytes tunnel = tunnelFrame(0x0001, 0x11, frame);
    ASSERT_EQ(tunnel.size(), 29u);
    EXPECT_EQ(Bytes(tunnel.begin(), tunnel.begin() + 14),
              (Bytes{0x00, 0x01, 0x00, 0x00, 0x00, 0x17, 0x01, 0x03, 0xFE, 0x6F, 0x00, 0x11, 0x0D, 0x0D}));
    const auto parsed = parseTunnelFrame(tunnel);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->transaction, 1);
    EXPECT_EQ(Bytes(parsed->privateFrame.begin(), parsed->privateFrame.end()), frame);
    EXPECT_FALSE(parseTunnelFrame(std::span(tunnel).first(20)));
    EXPECT_EQ(channelAcknowledgement(2), (Bytes{0x43, 0x01, 0x02, 0x46}));
}

TEST(Frames, BasicCommandDiffersBetweenLinksOnlyInItsLengthByte) {
    CommandFields fields;
    fields.channel = 0;
    fields.sequence = 1;
    fields.slaveAddress = 3;
    fields.hartCommand = 48;
    fields.outputMode = 1;
    fields.receiveStart = 0x0102;
    fields.receiveLength = 24;
    fields.sendStart = 3000;
    fields.sendLength = 9;
    Bytes ethernet = commandFrame(fields, false);
    Bytes serial = commandFrame(fields, true);
    ASSERT_EQ(ethernet.size(), 17u);
    EXPECT_EQ(ethernet[1], 0x0E);
    EXPECT_EQ(serial[1], 0x0B);
    EXPECT_EQ(Bytes(ethernet.begin() + 2, ethernet.end() - 1), Bytes(serial.begin() + 2, serial.end() - 1));
    EXPECT_EQ(Bytes(ethernet.begin(), ethernet.end() - 1),
              (Bytes{0x44, 0x0E, 0, 1, 3, 48, 1, 0x01, 0x02, 24, 0x0B, 0xB8, 9, 0, 0, 0}));
    EXPECT_TRUE(hasValidChecksum(ethernet) && hasValidChecksum(serial));

    fields.advanced = true;
    fields.tableOffset = 13;
    const Bytes advanced = commandFrame(fields, true);
    EXPECT_EQ(Bytes(advanced.begin(), advanced.end() - 1),
              (Bytes{0x44, 0x0E, 0, 1, 3, 48, 1, 0, 0, 0, 0x0B, 0xB8, 9, 1, 0, 13}));
    const auto decoded = decodeCommandRecord(advanced);
    ASSERT_TRUE(decoded);
    EXPECT_TRUE(decoded->advanced);
    EXPECT_EQ(decoded->tableOffset, 13);
    EXPECT_EQ(decoded->sendStart, 3000);
    EXPECT_FALSE(decodeCommandRecord(std::span(advanced).first(16)));
}

TEST(Frames, SegmentTablePiecesCarryTheHeaderAndRunningOffsets) {
    SegmentTable table;
    const std::vector<SegmentRecord> two{{true, false, 0, 4, 100}, {true, true, 4, 2, 0x0203}};
    const std::vector<SegmentRecord> three{
        {true, false, 1, 1, 7}, {true, false, 2, 1, 8}, {true, false, 3, 1, 9}};
    EXPECT_EQ(table.addCommand(two), 4);
    EXPECT_EQ(table.addCommand(three), 13);
    const auto pieces = table.pieces();
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].offset, 0);
    EXPECT_EQ(pieces[0].data, (Bytes{0, 0, 0, 0x16, 2, 0x80, 4, 100, 0, 0xC4, 2, 0x03, 0x02}));
    EXPECT_EQ(pieces[1].offset, 13);
    EXPECT_EQ(pieces[1].data.size(), 13u);
    const Bytes frame = tableFrame(1, pieces[1].offset, pieces[1].data);
    EXPECT_EQ(Bytes(frame.begin(), frame.begin() + 6), (Bytes{0x49, 17, 1, 0, 13, 13}));
}

TEST(Frames, SegmentRecordByteZeroWrapsAndDecodesBack) {
    struct Case {
        bool swap;
        int offset;
        std::uint8_t byte;
    };
    for (const Case& c : {Case{true, 70, 0x06}, Case{true, 5, 0xC5}, Case{false, 5, 0x85}}) {
        const auto bytes = encodeSegmentRecord({true, c.swap, c.offset, 3, 0x1234});
        EXPECT_EQ(bytes[0], c.byte) << c.offset;
        EXPECT_EQ(bytes[2], 0x34);
        EXPECT_EQ(bytes[3], 0x12);
    }
    const std::array<std::uint8_t, 4> swapped{0xC5, 2, 0x10, 0x00};
    const SegmentRecord record = decodeSegmentRecord(swapped);
    EXPECT_TRUE(record.swap);
    EXPECT_EQ(record.offset, 5);
    EXPECT_EQ(record.address, 16);
    const std::array<std::uint8_t, 4> plain{0x85, 2, 0, 0};
    EXPECT_FALSE(decodeSegmentRecord(plain).swap);
    EXPECT_EQ(decodeSegmentRecord(plain).offset, 5);
}

TEST(Frames, SerialBlocksSplitATablePieceAtFiftySixBytes) {
    Bytes data(109);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<std::uint8_t>(i);
    const auto blocks = serialBlocks(tableFrame(2, 100, data));
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].size(), 56u + 7);
    EXPECT_EQ(Bytes(blocks[0].begin(), blocks[0].begin() + 6), (Bytes{0x49, 60, 2, 0, 100, 56}));
    EXPECT_EQ(Bytes(blocks[1].begin(), blocks[1].begin() + 7), (Bytes{0x49, 57, 2, 0, 156, 53, 56}));
    EXPECT_TRUE(hasValidChecksum(blocks[1]));
    EXPECT_TRUE(serialBlocks(tableFrame(0, 0, {})).empty());
}

TEST(Frames, AnswerCheckWantsLetterChecksumAndTheAcknowledgement) {
    const Bytes expected = commandAcknowledgement(1);
    struct Case {
        Bytes answer;
        ResultCode code;
    };
    const std::vector<Case> cases{
        {expected, ResultCode::Success},
        {{0x44, 0x01, 0x01, 0x46, 0x99}, ResultCode::Success}, // bytes after the answer are not read
        {{0x44, 0x01, 0x02, 0x47}, ResultCode::UploadCheckError},
        {{0x44, 0x01, 0x01, 0x47}, ResultCode::UploadCheckError},
        {{0x44, 0x01}, ResultCode::UploadCheckError},
        {{}, ResultCode::UploadCheckError},
    };
    for (const Case& c : cases)
        EXPECT_EQ(checkAnswer(c.answer, expected), c.code);
}

TEST(Frames, IdentityAnswerNeedsItsCodeAndLength) {
    EXPECT_TRUE(isIdentityAnswer(Bytes{0, 0, 0, 0x0A, 0, 0, 0, 0x08, 1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_FALSE(isIdentityAnswer(Bytes{0, 0, 0, 0x0A, 0, 0, 0, 0x09, 1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_FALSE(isIdentityAnswer(Bytes{0, 0, 0, 0x0A}));
    const auto request = identityRequest();
    EXPECT_EQ(std::string(request.begin() + 8, request.end()), "OrlaTech");
}

TEST(Frames, ChannelRecordSetsTheChannelOnlyWhenItChecks) {
    CProductTarn product;
    product.build(GatewayModel::Vela1hTcp);
    CHartbus& channel = *product.channel(0);
    const Bytes record = closeFrame({0x03, 0x0C, 0, 1, 0, 0x03, 0xE8, 0x01, 0x00, 5, 1, 3, 0, 7});
    Bytes corrupt = record;
    corrupt.back() ^= 1;
    EXPECT_FALSE(applyChannelRecord(channel, corrupt));
    EXPECT_FALSE(applyChannelRecord(channel, std::span(record).first(14)));
    EXPECT_EQ(channel.mode(), PointToPointMode);
    EXPECT_EQ(applyChannelRecord(channel, record), 3);
    EXPECT_EQ(channel.mode(), MultiDropMode);
    EXPECT_EQ(channel.itemAt(channel_item::MasterType)->value(), "Secondary Master");
    EXPECT_EQ(channel.itemAt(channel_item::DelayBetweenPolls)->value(), "1000");
    EXPECT_EQ(channel.itemAt(channel_item::MaximumRepetitions)->value(), "5");
    EXPECT_EQ(channel.itemAt(channel_item::TimeoutAction)->value(), "Hold");
    EXPECT_EQ(channel.itemAt(channel_item::TimeoutCount)->enabled(), 0);
    EXPECT_EQ(tableReadRequest(0, 0x0105, 1), (Bytes{0x09, 0x04, 0, 0x01, 0x05, 0x01, 0x14}));
}

} // namespace
} // namespace korvan
