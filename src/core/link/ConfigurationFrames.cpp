#include "link/ConfigurationFrames.h"

#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/CommandItems.h"

namespace korvan {
namespace {

std::uint8_t low(int value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}
std::uint8_t high(int value) {
    return static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

} // namespace

Bytes channelFrame(const CHartbus& channel, std::uint8_t channelIndex) {
    using namespace channel_item;
    const int delay = channel.itemIntValue(DelayBetweenPolls);
    const int timeout = channel.itemIntValue(ResponseTimeout);
    return closeFrame({0x43, 0x0C, channelIndex, low(channel.itemChoiceIndex(MasterType)),
                       low(channel.itemChoiceIndex(Polling)), high(delay), low(delay), high(timeout),
                       low(timeout), low(channel.itemChoiceIndex(MaximumRepetitions)),
                       low(channel.itemChoiceIndex(NetworkMode)), low(channel.commandCount()),
                       low(channel.itemChoiceIndex(TimeoutAction)), low(channel.itemIntValue(TimeoutCount))});
}

Bytes channelAcknowledgement(std::uint8_t channelIndex) {
    return closeFrame({0x43, 0x01, channelIndex});
}

CommandFields commandFields(const COrlaCommand& command, std::uint8_t channel, std::uint8_t sequence,
                            std::uint32_t slaveAddress) {
    using namespace command_item;
    CommandFields fields;
    fields.channel = channel;
    fields.sequence = sequence;
    fields.slaveAddress = low(static_cast<int>(slaveAddress));
    fields.hartCommand = low(static_cast<int>(command.commandNumber()));
    fields.outputMode = low(command.itemChoiceIndex(OutputMode));
    fields.receiveStart = static_cast<std::uint16_t>(command.itemIntValue(ReceiveMemoryStart));
    fields.receiveLength = low(command.itemIntValue(ReceiveLengthBytes));
    fields.sendStart = static_cast<std::uint16_t>(command.itemIntValue(SendMemoryStart));
    fields.sendLength = low(command.itemIntValue(SendLengthBytes));
    return fields;
}

Bytes commandFrame(const CommandFields& fields, bool serialLink) {
    const bool basic = !fields.advanced;
    const int receiveStart = basic ? fields.receiveStart : 0;
    return closeFrame({0x44, static_cast<std::uint8_t>(basic && serialLink ? 0x0B : 0x0E), fields.channel,
                       fields.sequence, fields.slaveAddress, fields.hartCommand, fields.outputMode,
                       high(receiveStart), low(receiveStart), basic ? fields.receiveLength : std::uint8_t{0},
                       high(fields.sendStart), low(fields.sendStart), fields.sendLength,
                       static_cast<std::uint8_t>(basic ? 0 : 1),
                       basic ? std::uint8_t{0} : high(fields.tableOffset),
                       basic ? std::uint8_t{0} : low(fields.tableOffset)});
}

Bytes commandAcknowledgement(std::uint8_t channelIndex) {
    return closeFrame({0x44, 0x01, channelIndex});
}

std::optional<CommandFields> decodeCommandRecord(std::span<const std::uint8_t> record) {
    if (record.size() < 17)
        return std::nullopt;
    CommandFields fields;
    fields.channel = record[2];
    fields.sequence = record[3];
    fields.slaveAddress = record[4];
    fields.hartCommand = record[5];
    fields.outputMode = record[6];
    fields.receiveStart = static_cast<std::uint16_t>(record[7] << 8 | record[8]);
    fields.receiveLength = record[9];
    fields.sendStart = static_cast<std::uint16_t>(record[10] << 8 | record[11]);
    fields.sendLength = record[12];
    fields.advanced = record[13] == 1;
    fields.tableOffset = static_cast<std::uint16_t>(record[14] << 8 | record[15]);
    return fields;
}

std::array<std::uint8_t, 16> identityRequest() {
    return {0x00, 0x00, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x08, 'O', 'r', 'l', 'a', 'T', 'e', 'c', 'h'};
}

bool isIdentityAnswer(std::span<const std::uint8_t> answer) {
    return answer.size() >= 8 && answer[3] == 0x0A && answer[7] == 0x08;
}

} // namespace korvan
