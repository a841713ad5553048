#include "GatewayEngine.h"

#include "base/Checksum.h"
#include "link/ConfigurationFrames.h"
#include "link/TunnelFrame.h"
#include "model/CHartbus.h"
#include "model/CProductTarn.h"
#include "network/NetworkBlocks.h"

#include <algorithm>
#include <bit>

namespace korvan::sim {
namespace {

Bytes withCode(std::span<const std::uint8_t> frame, std::uint8_t code) {
    Bytes bytes(frame.begin(), frame.end());
    if (bytes.empty())
        return bytes;
    bytes[0] = code;
    bytes.pop_back();
    return closeFrame(std::move(bytes));
}

void appendFloat(Bytes& bytes, float value) {
    const auto bits = std::bit_cast<std::uint32_t>(value);
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.push_back(static_cast<std::uint8_t>(bits >> shift));
}

Bytes managementHeader(std::uint8_t code, std::uint8_t length) {
    return {0, 0, 0, code, 0, 0, 0, length};
}

// The HART data of a simulated device for one command: values that change with every read.
Bytes deviceData(std::uint8_t command, int tick) {
    const float primary = 20.0f + static_cast<float>(tick % 40) * 0.5f;
    Bytes data;
    switch (command) {
    case 0:
    case 11:
        data = {254, 0x26, 0x07, 5, 5, 1, 1, 1, 0, 0x12, 0x34, 0x56};
        break;
    case 1:
        data.push_back(32); // degrees Celsius
        appendFloat(data, primary);
        break;
    case 2:
        appendFloat(data, 4.0f + primary / 10.0f);
        appendFloat(data, primary);
        break;
    case 3:
        appendFloat(data, 4.0f + primary / 10.0f);
        for (int variable = 0; variable < 4; ++variable) {
            data.push_back(32);
            appendFloat(data, primary + static_cast<float>(variable));
        }
        break;
    default:
        data.assign(24, 0);
        break;
    }
    return data;
}

} // namespace

GatewayEngine::GatewayEngine(GatewayModel model) : model_(model) {
    CProductTarn product;
    product.build(model);
    const auto serial = encodeSerialBlock(product.networkBus());
    serialBlock_.assign(serial.begin(), serial.end());
    const auto ethernet = encodeEthernetWriteRequest(product.networkBus());
    ethernetBlock_.assign(ethernet.begin(), ethernet.end());
    for (std::size_t i = 0; i < channels_.size(); ++i) {
        CHartbus* defaults = product.channel(0);
        channels_[i].record = channelFrame(*defaults, static_cast<std::uint8_t>(i));
    }
}

std::optional<std::size_t> GatewayEngine::privateFrameSize(std::span<const std::uint8_t> bytes) {
    if (bytes.empty())
        return std::nullopt;
    // The basic 'D' frame over the serial line says 0B but is 17 bytes long like every 'D'.
    if (bytes[0] == 0x44)
        return 17;
    if (bytes.size() < 2)
        return std::nullopt;
    return static_cast<std::size_t>(bytes[1]) + 3;
}

std::size_t GatewayEngine::tunnelAnswerLength(std::span<const std::uint8_t> frame) {
    if (frame.empty())
        return 0;
    switch (frame[0]) {
    case 0x43:
    case 0x44:
        return 15;
    case 0x49:
        return 14;
    case 0x03:
        return 26;
    case 0x04:
        return 280;
    case 0x09:
        return frame.size() > 5 && frame[5] == 1 ? 160 : 15 + (frame.size() > 5 ? frame[5] : 0);
    case 0x05:
        return 20;
    case 0x06:
        return 161;
    case 0x45:
        return 15;
    case 0x08:
        return 111;
    case 0x48:
        return 14;
    default:
        return 0; // the answer is sent as long as it is
    }
}

std::optional<Bytes> GatewayEngine::answerPrivate(std::span<const std::uint8_t> frame) {
    if (frame.size() < 3)
        return std::nullopt;
    const std::uint8_t ch = frame[2];
    advanceDevices();
    switch (frame[0]) {
    case 0x01:
        return closeFrame({0x01, 0x03,
                           static_cast<std::uint8_t>(model_ == GatewayModel::Vela3hRtu ? 0x09 : 0x0A), 0x01,
                           0x00});
    case 0x4F:
        return closeFrame({0x4F, 0x01, 0x00});
    case 0x42:
        serialBlock_.assign(frame.begin(), frame.end());
        return Bytes{0x42, 0x00, 0x42};
    case 0x60: {
        Bytes reply = withCode(serialBlock_, 0x60);
        reply.push_back(0);
        return reply;
    }
    case 0x43:
        channel(ch).record.assign(frame.begin(), frame.end());
        channel(ch).commands.clear();
        channel(ch).table.clear();
        return channelAcknowledgement(ch);
    case 0x44:
        channel(ch).commands.emplace_back(frame.begin(), frame.end());
        return commandAcknowledgement(ch);
    case 0x49:
        writeTable(frame);
        return Bytes(tableAcknowledgement.begin(), tableAcknowledgement.end());
    case 0xEB:
        ++resets_;
        return std::nullopt;
    case 0x03:
        return channelRecord(ch);
    case 0x04:
        return commandRecord(ch, frame.size() > 3 ? frame[3] : 0);
    case 0x09:
        if (frame.size() < 7)
            return std::nullopt;
        return tableBytes(ch, static_cast<std::uint16_t>(frame[3] << 8 | frame[4]), frame[5]);
    case 0x05:
        return channelStatus(ch);
    case 0x06:
        return nodeStatus(ch);
    case 0x45:
        channel(ch).errors = 0;
        return Bytes(frame.begin(), frame.end());
    case 0x08:
        return memoryRead(frame);
    case 0x48:
        return memoryWrite(frame);
    case 0x07:
        return commandData(ch, frame.size() > 3 ? frame[3] : 0);
    case 0x47:
        if (frame.size() == 8)
            return Bytes{0x47, 0x01, ch};
        return Bytes{0x47, 0x01, ch, 0x47};
    case 0x4B: {
        // The channel's device echoes the frame it was sent; a poll finds nothing waiting.
        Bytes reply{0x4B, static_cast<std::uint8_t>(frame.size() - 4)};
        reply.insert(reply.end(), frame.begin() + 3, frame.end() - 1);
        return reply;
    }
    default:
        return std::nullopt;
    }
}

Bytes GatewayEngine::channelRecord(std::uint8_t index) {
    return withCode(channel(index).record, 0x03);
}

Bytes GatewayEngine::commandRecord(std::uint8_t index, std::uint8_t i) {
    const Channel& stored = channel(index);
    if (i < stored.commands.size())
        return withCode(stored.commands[i], 0x04);
    return closeFrame(Bytes{0x04, 0x0E, index, i, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
}

Bytes GatewayEngine::tableBytes(std::uint8_t index, std::uint16_t offset, std::uint8_t count) {
    const Bytes& table = channel(index).table;
    Bytes reply{0x09, static_cast<std::uint8_t>(count + 1), index};
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = offset + i;
        reply.push_back(at < table.size() ? table[at] : 0);
    }
    return closeFrame(std::move(reply));
}

void GatewayEngine::writeTable(std::span<const std::uint8_t> frame) {
    if (frame.size() < 7)
        return;
    const std::size_t offset = static_cast<std::size_t>(frame[3] << 8 | frame[4]);
    const std::size_t count = std::min<std::size_t>(frame[5], frame.size() - 7);
    Bytes& table = channel(frame[2]).table;
    if (table.size() < offset + count)
        table.resize(offset + count, 0);
    std::copy_n(frame.begin() + 6, count, table.begin() + static_cast<std::ptrdiff_t>(offset));
}

Bytes GatewayEngine::channelStatus(std::uint8_t index) {
    Channel& stored = channel(index);
    ++stored.requests;
    const auto requests = static_cast<std::uint8_t>(stored.requests);
    const auto errors = static_cast<std::uint8_t>(stored.errors);
    Bytes reply = closeFrame({0x05, 0x06, index, static_cast<std::uint8_t>(stored.requests % 4), requests,
                              static_cast<std::uint8_t>(requests - errors), errors});
    reply.push_back(0);
    return reply;
}

Bytes GatewayEngine::nodeStatus(std::uint8_t index) {
    const Channel& stored = channel(index);
    const std::size_t count = std::min<std::size_t>(stored.commands.size(), 140);
    Bytes reply{0x06, static_cast<std::uint8_t>(count + 1), index};
    // Output-disabled commands are never executed; the others answer.
    for (std::size_t k = 0; k < count; ++k) {
        const auto fixed = commandStatuses_.find(static_cast<int>(k));
        reply.push_back(fixed != commandStatuses_.end() ? fixed->second : stored.commands[k][6] == 3 ? 0 : 1);
    }
    return closeFrame(std::move(reply));
}

Bytes GatewayEngine::memoryRead(std::span<const std::uint8_t> frame) {
    if (frame.size() < 7)
        return {};
    const std::size_t start = static_cast<std::size_t>(frame[3] << 8 | frame[4]);
    const std::size_t count = std::min<std::size_t>(frame[5], 89);
    Bytes reply{0x08, static_cast<std::uint8_t>(3 + count), 0x00, frame[3], frame[4]};
    for (std::size_t i = 0; i < count; ++i)
        reply.push_back(start + i < memory_.size() ? memory_[start + i] : 0);
    return closeFrame(std::move(reply));
}

Bytes GatewayEngine::memoryWrite(std::span<const std::uint8_t> frame) {
    if (frame.size() < 6)
        return {};
    const std::size_t start = static_cast<std::size_t>(frame[3] << 8 | frame[4]);
    for (std::size_t i = 5; i + 1 < frame.size(); ++i)
        if (start + i - 5 < memory_.size())
            memory_[start + i - 5] = frame[i];
    return Bytes{0x48, 0x00, 0x48};
}

Bytes GatewayEngine::commandData(std::uint8_t index, std::uint8_t node) {
    std::uint8_t command = 0;
    for (const Bytes& record : channel(index).commands)
        if (record[3] == node)
            command = record[5];
    Bytes payload{0x00, 0x00};
    const Bytes data = deviceData(command, tick_);
    payload.insert(payload.end(), data.begin(), data.end());
    if (const auto fixed = deviceReplies_.find(command); fixed != deviceReplies_.end())
        payload = fixed->second;
    Bytes reply{0x07, static_cast<std::uint8_t>(payload.size() + 2), index, node};
    reply.insert(reply.end(), payload.begin(), payload.end());
    return closeFrame(std::move(reply));
}

void GatewayEngine::advanceDevices() {
    ++tick_;
    // Each basic command's receive area holds its device's live data.
    for (const Channel& stored : channels_)
        for (const Bytes& record : stored.commands) {
            if (record[13] == 1)
                continue;
            const std::size_t start = static_cast<std::size_t>(record[7] << 8 | record[8]);
            const Bytes data = deviceData(record[5], tick_);
            for (std::size_t i = 0; i < record[9] && i < data.size() && start + i < 3000; ++i)
                memory_[start + i] = data[i];
        }
}

std::optional<Bytes> GatewayEngine::answerManagement(std::span<const std::uint8_t> request) {
    if (request.size() < 8 || request[0] != 0 || request[1] != 0 || request[2] != 0)
        return std::nullopt;
    switch (request[3]) {
    case 0x05: {
        Bytes reply = ethernetBlock_;
        reply[3] = 0x05;
        return reply;
    }
    case 0x06: {
        if (request.size() >= 32)
            ethernetBlock_.assign(request.begin(), request.begin() + 32);
        Bytes reply = managementHeader(0x06, 8);
        reply.resize(16, 0);
        return reply;
    }
    case 0x0A: {
        Bytes reply = managementHeader(0x0A, 8);
        for (char c : std::string_view("OrlaTech"))
            reply.push_back(static_cast<std::uint8_t>(c));
        return reply;
    }
    default:
        return std::nullopt;
    }
}

std::optional<Bytes> GatewayEngine::answerSearch(std::span<const std::uint8_t> request) const {
    if (request.size() < 8 || request[3] != 0x03)
        return std::nullopt;
    Bytes reply(68, 0);
    reply[3] = 0x03;
    if (model_ == GatewayModel::Vela3hTcp) {
        reply[10] = 0xF8;
        reply[11] = 0x0C;
    } else if (model_ == GatewayModel::Vela1hTcp) {
        reply[10] = 0xF0;
        reply[11] = 0x3C;
    }
    reply[25] = 1; // firmware 1.5
    reply[27] = 5;
    const std::array<std::uint8_t, 6> mac{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    std::copy(mac.begin(), mac.end(), reply.begin() + 28);
    const std::array<std::uint8_t, 4> loopback{127, 0, 0, 1};
    std::copy(loopback.begin(), loopback.end(), reply.begin() + 36);
    reply[67] = 1; // remote configuration allowed
    return reply;
}

} // namespace korvan::sim
