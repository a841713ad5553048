// The link's records and answer checks, fed the gateway's bytes. The first byte picks the
// record, the second gives its details (channel, expected answer, search position); the rest
// is the record. Besides the sanitizers' findings it fails when a record does not read back
// as it was written: an accepted answer that is not the acknowledgement, a tunnel frame, a
// command record downloaded again after it was uploaded, a channel record, a segment record,
// the network side's blocks and dotted addresses.
#include "app/AppState.h"
#include "app/StartSequence.h"
#include "base/Decimal.h"
#include "link/CommandRestore.h"
#include "link/ConfigurationFrames.h"
#include "link/PrivateFrame.h"
#include "link/SegmentTable.h"
#include "link/TunnelFrame.h"
#include "link/UploadFrames.h"
#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/CProductTarn.h"
#include "model/CProfilebus.h"
#include "model/CommandItems.h"
#include "network/CEquipment.h"
#include "network/NetworkBlocks.h"
#include "support/Failure.h"
#include "support/FuzzInput.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace korvan::fuzz {
namespace {

enum class Record : std::uint8_t {
    Answer,
    Tunnel,
    Command,
    Channel,
    Segment,
    SerialBlock,
    EthernetReply,
    SearchAnswer,
    ManagementReply,
    SerialBlocks,
    DottedQuad,
    Count,
};

bool same(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

void checkAnswerRecord(std::uint8_t detail, std::span<const std::uint8_t> answer) {
    const auto channel = static_cast<std::uint8_t>(detail >> 2);
    Bytes expected;
    switch (detail % 4) {
    case 0:
        expected = channelAcknowledgement(channel);
        break;
    case 1:
        expected = commandAcknowledgement(channel);
        break;
    case 2:
        expected.assign(tableAcknowledgement.begin(), tableAcknowledgement.end());
        break;
    default:
        expected.assign(serialBlockAcknowledgement.begin(), serialBlockAcknowledgement.end());
        break;
    }
    if (checkAnswer(answer, expected) == ResultCode::Success)
        expect(answer.size() >= expected.size() && same(answer.first(expected.size()), expected),
               "an accepted answer starts with the acknowledgement");
}

// The parser passes over byte 10, which the program always writes as 0.
void tunnelRecord(std::span<const std::uint8_t> frame) {
    if (const auto fields = parseTunnelFrame(frame); fields && frame[10] == 0)
        expect(same(tunnelFrame(fields->transaction, fields->frameType, fields->privateFrame), frame),
               "a tunnel frame reads back as it was written");
}

// What an upload restores and a download sends again: the numbers of the record, and the
// segments of an Advanced record, come back unchanged, but for the send length of a command
// that carries no request data, which the upload sets to 0 as the loader does.
void expectDownloadedAgain(const COrlaCommand& command, const CommandFields& record,
                           std::span<const SegmentRecord> segments) {
    const CommandFields again = commandFields(command, record.channel, record.sequence, record.slaveAddress);
    const int sendLength = command_item::carriesNoRequestData(record.hartCommand) ? 0 : record.sendLength;
    expect(again.hartCommand == record.hartCommand && again.slaveAddress == record.slaveAddress &&
               again.sendStart == record.sendStart && again.sendLength == sendLength &&
               again.receiveStart == record.receiveStart && again.receiveLength == record.receiveLength,
           "an uploaded command downloads its record again");
    if (segments.empty() || segments.size() > command_item::SegmentRecordCount)
        return;
    expect(command.isAdvanced(), "an uploaded command with segments is Advanced");
    const std::vector<SegmentRecord> stored = commandSegments(command);
    expect(stored.size() == segments.size(), "an uploaded command keeps its segment count");
    for (std::size_t k = 0; k < stored.size(); ++k)
        expect(stored[k].swap == segments[k].swap && stored[k].offset == segments[k].offset &&
                   stored[k].length == segments[k].length && stored[k].address == segments[k].address,
               "an uploaded command keeps its segments");
}

void commandRecord(CProductTarn& product, std::span<const std::uint8_t> bytes) {
    const std::optional<CommandFields> record = decodeCommandRecord(bytes);
    if (!record)
        return;
    const std::optional<CommandFields> again = decodeCommandRecord(commandFrame(*record, false));
    expect(again && again->channel == record->channel && again->sequence == record->sequence &&
               again->slaveAddress == record->slaveAddress && again->hartCommand == record->hartCommand &&
               again->outputMode == record->outputMode && again->sendStart == record->sendStart &&
               again->sendLength == record->sendLength && again->advanced == record->advanced &&
               (record->advanced ? again->tableOffset == record->tableOffset
                                 : again->receiveStart == record->receiveStart &&
                                       again->receiveLength == record->receiveLength),
           "a command record reads back as it was written");

    // The segments an Advanced record's table entry gives: a count, then four bytes each.
    std::vector<SegmentRecord> segments;
    if (record->advanced && bytes.size() > commandRecordLength) {
        const std::size_t n =
            std::min<std::size_t>(bytes[commandRecordLength], command_item::SegmentRecordCount);
        for (std::size_t k = 0; k < n && commandRecordLength + 1 + 4 * (k + 1) <= bytes.size(); ++k)
            segments.push_back(
                decodeSegmentRecord(bytes.subspan(commandRecordLength + 1 + 4 * k).first<4>()));
    }
    CHartbus& channel = *product.channel(record->channel % product.channelCount());
    const COrlaCommand* command =
        record->advanced ? restoreAdvancedCommand(channel, product.registries(), *record, segments)
                         : restoreBasicCommand(channel, product.registries(), *record);
    if (command != nullptr)
        expectDownloadedAgain(*command, *record, record->advanced ? segments : std::vector<SegmentRecord>{});
}

void channelRecord(CProductTarn& product, std::uint8_t detail, std::span<const std::uint8_t> record) {
    CHartbus& channel = *product.channel(detail % product.channelCount());
    if (!applyChannelRecord(channel, record))
        return;
    const Bytes frame = channelFrame(channel, static_cast<std::uint8_t>(channel.channelIndex()));
    expect(same(std::span(frame).subspan(5, 4), record.subspan(5, 4)) && frame[13] == record[13],
           "a channel record's times and count download again");
}

void segmentRecord(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 4)
        return;
    const auto four = bytes.first<4>();
    const auto again = encodeSegmentRecord(decodeSegmentRecord(four));
    expect(same(again, four), "a segment record reads back as it was written");
}

void serialBlock(CProductTarn& product, std::span<const std::uint8_t> reply) {
    CProfilebus& bus = product.networkBus();
    if (decodeSerialBlock(bus, reply) != ResultCode::Success || bus.mode() != ModbusSlaveMode)
        return;
    expect(encodeSerialBlock(bus)[7] == reply[7], "the slave address of a serial block downloads again");
}

void ethernetReply(CProductTarn& product, std::span<const std::uint8_t> reply) {
    CProfilebus& bus = product.networkBus();
    if (!decodeEthernetReadReply(bus, reply))
        return;
    const auto request = encodeEthernetWriteRequest(bus);
    const COrlaItem* assign = bus.ethernetItems().at(ethernet_item::AssignIpMode);
    if (assign != nullptr && assign->value() == "Manually Assign")
        expect(same(std::span(request).subspan(12, 12), reply.subspan(12, 12)),
               "manually assigned addresses download as they were read");
    expect(same(std::span(request).subspan(24, 8), reply.subspan(24, 8)),
           "the name servers download as they were read");
}

void searchAnswer(std::uint8_t detail, std::span<const std::uint8_t> answer) {
    const bool broadcast = (detail & 1) != 0;
    if (const auto equipment = decodeSearchAnswer(answer, detail >> 1, broadcast))
        expect(std::count(equipment->ipAddress.begin(), equipment->ipAddress.end(), '.') == 3 &&
                   equipment->macAddress.size() == 17,
               "a search answer gives an address and a MAC address");
}

void managementReply(std::span<const std::uint8_t> reply) {
    static_cast<void>(isIdentityAnswer(reply));
    for (std::uint8_t code : {std::uint8_t{3}, std::uint8_t{5}, std::uint8_t{6}, std::uint8_t{0x0A}})
        static_cast<void>(isManagementReply(reply, code));
}

void serialBlockRecord(std::span<const std::uint8_t> frame) {
    std::size_t data = 0;
    for (const Bytes& block : serialBlocks(frame)) {
        expect(hasValidChecksum(block) && block.size() >= 7 && block.size() <= 7 + serialBlockData &&
                   block[5] == block.size() - 7,
               "a serial block is a table frame of at most 56 bytes");
        data += block.size() - 7;
    }
    if (frame.size() >= 7)
        expect(data == std::min<std::size_t>(frame[5], frame.size() - 7),
               "the serial blocks carry the frame's data");
}

void dottedQuad(std::span<const std::uint8_t> bytes) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    static_cast<void>(dottedQuadBytes(text));
    if (bytes.size() < 4)
        return;
    const std::string written = decimalText(bytes[0]) + "." + decimalText(bytes[1]) + "." +
                                decimalText(bytes[2]) + "." + decimalText(bytes[3]);
    expect(same(dottedQuadBytes(written), bytes.first(4)), "a dotted address reads back as its bytes");
}

void read(Record record, std::uint8_t detail, std::span<const std::uint8_t> bytes) {
    AppState state;
    CProductTarn product;
    startProduct(state, product, (detail & 0x80) != 0 ? GatewayModel::Vela3hRtu : GatewayModel::Vela3hTcp);
    switch (record) {
    case Record::Answer:
        checkAnswerRecord(detail, bytes);
        break;
    case Record::Tunnel:
        tunnelRecord(bytes);
        break;
    case Record::Command:
        commandRecord(product, bytes);
        break;
    case Record::Channel:
        channelRecord(product, detail, bytes);
        break;
    case Record::Segment:
        segmentRecord(bytes);
        break;
    case Record::SerialBlock:
        serialBlock(product, bytes);
        break;
    case Record::EthernetReply:
        ethernetReply(product, bytes);
        break;
    case Record::SearchAnswer:
        searchAnswer(detail, bytes);
        break;
    case Record::ManagementReply:
        managementReply(bytes);
        break;
    case Record::SerialBlocks:
        serialBlockRecord(bytes);
        break;
    case Record::DottedQuad:
        dottedQuad(bytes);
        break;
    case Record::Count:
        break;
    }
}

} // namespace
} // namespace korvan::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvan::fuzz;
    FuzzInput input(data, size);
    const auto record = static_cast<Record>(input.byte() % static_cast<std::uint8_t>(Record::Count));
    const std::uint8_t detail = input.byte();
    read(record, detail, input.rest());
    return 0;
}
