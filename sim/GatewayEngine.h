#pragma once

#include "link/PrivateFrame.h"
#include "model/GatewayModel.h"

#include <array>
#include <map>
#include <optional>

namespace korvan::sim {

// The gateway's side of every exchange: what a download wrote is stored and an upload is
// answered with exactly that; the data memory, the diagnosis counters and the simulated HART
// devices answer the debug tools. Pure bytes in, bytes out: the sockets are the server's.
class GatewayEngine {
public:
    explicit GatewayEngine(GatewayModel model);

    // The answer to a private frame, or nothing for a frame that gets none.
    [[nodiscard]] std::optional<Bytes> answerPrivate(std::span<const std::uint8_t> frame);
    // The answer on the management port (TCP, no tunnel).
    [[nodiscard]] std::optional<Bytes> answerManagement(std::span<const std::uint8_t> request);
    // The answer to a UDP search request.
    [[nodiscard]] std::optional<Bytes> answerSearch(std::span<const std::uint8_t> request) const;

    // The tunnel answer length the client reads for a private frame of this kind.
    [[nodiscard]] static std::size_t tunnelAnswerLength(std::span<const std::uint8_t> frame);
    // The size of the private frame that starts the bytes, once its length byte is known.
    [[nodiscard]] static std::optional<std::size_t> privateFrameSize(std::span<const std::uint8_t> bytes);

    // Fixed answers of the simulated devices (see SimOptions).
    void setDeviceReplies(std::map<int, Bytes> replies, std::map<int, std::uint8_t> statuses) {
        deviceReplies_ = std::move(replies);
        commandStatuses_ = std::move(statuses);
    }

    [[nodiscard]] int resetCount() const { return resets_; }
    [[nodiscard]] const Bytes& segmentTable(int channel) const {
        return channels_.at(channelSlot(channel)).table;
    }
    [[nodiscard]] std::array<std::uint8_t, 5000>& memory() { return memory_; }

private:
    struct Channel {
        Bytes record;                // the last 'C' frame
        std::vector<Bytes> commands; // the 'D' frames in download order
        Bytes table;                 // the segment table bytes
        int requests = 0;
        int errors = 0;
    };

    [[nodiscard]] static std::size_t channelSlot(int channel) {
        return static_cast<std::size_t>(channel % 3);
    }
    Channel& channel(std::uint8_t index) { return channels_[channelSlot(index)]; }

    [[nodiscard]] Bytes channelRecord(std::uint8_t index);
    [[nodiscard]] Bytes commandRecord(std::uint8_t index, std::uint8_t i);
    [[nodiscard]] Bytes tableBytes(std::uint8_t index, std::uint16_t offset, std::uint8_t count);
    [[nodiscard]] Bytes channelStatus(std::uint8_t index);
    [[nodiscard]] Bytes nodeStatus(std::uint8_t index);
    [[nodiscard]] Bytes memoryRead(std::span<const std::uint8_t> frame);
    [[nodiscard]] Bytes memoryWrite(std::span<const std::uint8_t> frame);
    [[nodiscard]] Bytes commandData(std::uint8_t index, std::uint8_t node);
    void writeTable(std::span<const std::uint8_t> frame);
    void advanceDevices();

    GatewayModel model_;
    std::array<Channel, 3> channels_;
    Bytes serialBlock_;
    Bytes ethernetBlock_;
    std::array<std::uint8_t, 5000> memory_{};
    int resets_ = 0;
    int tick_ = 0;
    std::map<int, Bytes> deviceReplies_;
    std::map<int, std::uint8_t> commandStatuses_;
};

} // namespace korvan::sim
