#include "link/SegmentTable.h"

#include "base/Decimal.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"

#include <algorithm>

namespace korvan {

std::vector<SegmentRecord> commandSegments(const COrlaCommand& command) {
    std::vector<SegmentRecord> segments;
    const int n = command.segmentCount();
    for (int i = 0; i < n; ++i) {
        const COrlaItem* record = command.segmentRecord(static_cast<std::size_t>(i));
        if (record == nullptr)
            break;
        segments.push_back({record->segmentEnabled(), record->segmentSwap(),
                            decimalValue(record->segmentOffset()), decimalValue(record->segmentLength()),
                            decimalValue(record->segmentAddress())});
    }
    return segments;
}

std::array<std::uint8_t, 4> encodeSegmentRecord(const SegmentRecord& record) {
    // The sum wraps modulo 256; it is taken unsigned so that no offset can overflow it.
    const unsigned first = 0x80u + (record.swap ? 0x40u : 0u) + static_cast<unsigned>(record.offset);
    return {static_cast<std::uint8_t>(first & 0xFF), static_cast<std::uint8_t>(record.length & 0xFF),
            static_cast<std::uint8_t>(record.address & 0xFF),
            static_cast<std::uint8_t>((record.address >> 8) & 0xFF)};
}

SegmentRecord decodeSegmentRecord(std::span<const std::uint8_t, 4> bytes) {
    SegmentRecord record;
    record.enable = true;
    record.swap = (bytes[0] & 0x40) != 0;
    record.offset = bytes[0] - (bytes[0] & 0x40) - 128;
    record.length = bytes[1];
    record.address = bytes[2] | bytes[3] << 8;
    return record;
}

std::uint16_t SegmentTable::addCommand(std::span<const SegmentRecord> segments) {
    Bytes entry{static_cast<std::uint8_t>(segments.size())};
    for (const SegmentRecord& segment : segments) {
        const auto bytes = encodeSegmentRecord(segment);
        entry.insert(entry.end(), bytes.begin(), bytes.end());
    }
    const std::uint16_t offset = nextOffset_;
    nextOffset_ = static_cast<std::uint16_t>(nextOffset_ + entry.size());
    totalSegments_ += segments.size();
    entries_.push_back(std::move(entry));
    return offset;
}

std::vector<SegmentTable::Piece> SegmentTable::pieces() const {
    std::vector<Piece> result;
    std::uint16_t offset = 0;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        Piece piece{offset, {}};
        if (i == 0)
            piece.data = {0, 0, 0, static_cast<std::uint8_t>((4 * totalSegments_ + entries_.size()) & 0xFF)};
        piece.data.insert(piece.data.end(), entries_[i].begin(), entries_[i].end());
        offset = static_cast<std::uint16_t>(offset + piece.data.size());
        result.push_back(std::move(piece));
    }
    return result;
}

Bytes tableFrame(std::uint8_t channel, std::uint16_t offset, std::span<const std::uint8_t> data) {
    Bytes frame{0x49,
                static_cast<std::uint8_t>((data.size() + 4) & 0xFF),
                channel,
                static_cast<std::uint8_t>(offset >> 8),
                static_cast<std::uint8_t>(offset & 0xFF),
                static_cast<std::uint8_t>(data.size() & 0xFF)};
    frame.insert(frame.end(), data.begin(), data.end());
    return closeFrame(std::move(frame));
}

std::vector<Bytes> serialBlocks(std::span<const std::uint8_t> frame) {
    std::vector<Bytes> blocks;
    if (frame.size() < 7)
        return blocks;
    const std::size_t count = std::min<std::size_t>(frame[5], frame.size() - 7);
    auto offset = static_cast<std::uint16_t>(frame[3] << 8 | frame[4]);
    for (std::size_t done = 0; done < count;) {
        const std::size_t k = std::min(count - done, serialBlockData);
        blocks.push_back(tableFrame(frame[2], offset, frame.subspan(6 + done, k)));
        done += k;
        offset = static_cast<std::uint16_t>(offset + k);
    }
    return blocks;
}

} // namespace korvan
