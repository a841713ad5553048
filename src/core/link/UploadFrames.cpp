#include "link/UploadFrames.h"

#include "model/CHartbus.h"
#include "model/COrlaItem.h"

namespace korvan {

Bytes channelRecordRequest(std::uint8_t channel) {
    return closeFrame({0x03, 0x01, channel});
}

Bytes commandRecordRequest(std::uint8_t channel, std::uint8_t i) {
    return closeFrame({0x04, 0x02, channel, i});
}

Bytes tableReadRequest(std::uint8_t channel, std::uint16_t offset, std::uint8_t count) {
    return closeFrame({0x09, 0x04, channel, static_cast<std::uint8_t>(offset >> 8),
                       static_cast<std::uint8_t>(offset & 0xFF), count});
}

std::optional<int> applyChannelRecord(CHartbus& channel, std::span<const std::uint8_t> record) {
    using namespace channel_item;
    if (record.size() < channelRecordLength || record[0] != 0x03 ||
        !hasValidChecksum(record.first(channelRecordLength)))
        return std::nullopt;
    channel.setItemChoice(MasterType, record[3]);
    channel.setItemChoice(Polling, record[4]);
    channel.setItemInt(DelayBetweenPolls, record[5] << 8 | record[6]);
    channel.setItemInt(ResponseTimeout, record[7] << 8 | record[8]);
    channel.setItemChoice(MaximumRepetitions, record[9]);
    channel.setMode(record[10] + 5);
    channel.setItemChoice(NetworkMode, record[10]);
    channel.setItemChoice(TimeoutAction, record[12]);
    channel.setItemInt(TimeoutCount, record[13]);
    if (COrlaItem* count = channel.itemAt(TimeoutCount))
        count->setEnabled(channel.itemAt(TimeoutAction)->value() == "Clear" ? 1 : 0);
    return record[11];
}

} // namespace korvan
