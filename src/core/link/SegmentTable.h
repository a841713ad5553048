#pragma once

#include "link/PrivateFrame.h"

namespace korvan {

class COrlaCommand;

// One data segment of an Advanced command as the gateway's table holds it.
struct SegmentRecord {
    bool enable = false;
    bool swap = false;
    int offset = 0;
    int length = 0;
    int address = 0;
};

// The segments of an Advanced command: the first n records, n from record 15's enable count.
[[nodiscard]] std::vector<SegmentRecord> commandSegments(const COrlaCommand& command);

// The 4 table bytes of a record: (0x80 + 0x40 x swap + offset) mod 256, length, address low
// and high.
[[nodiscard]] std::array<std::uint8_t, 4> encodeSegmentRecord(const SegmentRecord& record);
// The reverse: swap is bit 6, the offset what remains after bits 7 and 6.
[[nodiscard]] SegmentRecord decodeSegmentRecord(std::span<const std::uint8_t, 4> bytes);

// A channel's segment table as a download builds it: a 4-byte header, then per Advanced
// command, in download order, its segment count and its records.
class SegmentTable {
public:
    // Adds a command's entry; answers the table offset where the entry starts.
    std::uint16_t addCommand(std::span<const SegmentRecord> segments);

    [[nodiscard]] int advancedCount() const { return static_cast<int>(entries_.size()); }
    // The data of the 'I' pieces, one per Advanced command: the first carries the header and
    // the first entry, each further one the next entry, each with its start offset.
    struct Piece {
        std::uint16_t offset = 0;
        Bytes data;
    };
    [[nodiscard]] std::vector<Piece> pieces() const;

private:
    std::vector<Bytes> entries_;
    std::size_t totalSegments_ = 0;
    std::uint16_t nextOffset_ = 4;
};

// The 'I' table frame: 49, c + 4, channel, offset high and low, c, the data, the checksum.
[[nodiscard]] Bytes tableFrame(std::uint8_t channel, std::uint16_t offset,
                               std::span<const std::uint8_t> data);

// Over the serial line a table frame goes in blocks of at most 56 data bytes, each a table
// frame of its own at its running offset.
inline constexpr std::size_t serialBlockData = 56;
[[nodiscard]] std::vector<Bytes> serialBlocks(std::span<const std::uint8_t> frame);

} // namespace korvan
