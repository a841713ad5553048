#pragma once

#include "hart/ResponseRows.h"
#include "model/ProjectTreeItem.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace korvan {

class COrlaNode;
class CProductTarn;

// The Diagnose window's tree: one root per bus in the product's order, "Fieldbus" without
// children, each channel with the nodes of its current network mode. Commands are not shown.
[[nodiscard]] std::vector<ProjectTreeItem> buildDiagnoseTree(CProductTarn& product);

// The channel index the gateway's requests carry: the last character of the channel's name
// as a number, minus 1 ("Channel1" is 0). Nothing when the name does not end in 1 to 9.
[[nodiscard]] std::optional<std::uint8_t> diagnoseChannelIndex(std::string_view channelName);

// What the selected tree item reads.
enum class DiagnoseRead { Nothing, Channel, Node };

// The Diagnose window's state without the window: what the selection reads, which buttons
// it opens, and the periodic-refresh flag with the label of its button.
class DiagnoseState {
public:
    static constexpr std::string_view PeriodicLabel = "Periodically refresh";
    static constexpr std::string_view KeepOnUpdating = "Keep on updating";
    static constexpr std::string_view StopUpdating = "Stop updating";

    // A channel reads its status and opens "Refresh" and "Reset"; a node reads its command
    // status, opens "Refresh" and closes "Reset". "Fieldbus" (or anything else) keeps the
    // buttons as they are and reads nothing while it stays selected.
    void select(const TreeTag& tag, std::string_view channelName);

    [[nodiscard]] DiagnoseRead reads() const { return reads_; }
    [[nodiscard]] std::uint8_t channel() const { return channel_; }
    [[nodiscard]] COrlaNode* node() const { return node_; }
    [[nodiscard]] bool refreshEnabled() const { return refreshEnabled_; }
    [[nodiscard]] bool resetEnabled() const { return resetEnabled_; }

    [[nodiscard]] bool periodic() const { return periodic_; }
    // The button toggles the flag; its label says what pressing it next does.
    void togglePeriodic() { periodic_ = !periodic_; }
    // A communication error that showed a message turns periodic refresh off.
    void stopPeriodic() { periodic_ = false; }
    [[nodiscard]] std::string_view periodicLabel() const { return periodic_ ? StopUpdating : KeepOnUpdating; }

    // The timer reads only while a channel or node is selected and the flag is on.
    [[nodiscard]] bool tickReads() const { return periodic_ && reads_ != DiagnoseRead::Nothing; }
    // "Reset" clears the selected channel's error; with anything else selected it does nothing.
    [[nodiscard]] bool resetClears() const { return reads_ == DiagnoseRead::Channel; }

private:
    DiagnoseRead reads_ = DiagnoseRead::Nothing;
    std::uint8_t channel_ = 0;
    COrlaNode* node_ = nullptr;
    bool refreshEnabled_ = false;
    bool resetEnabled_ = false;
    bool periodic_ = true;
};

// What the command I/O data window shows for a command row of a node.
struct CommandIoTarget {
    int command = -1;
    std::uint8_t channel = 0;
    std::uint8_t node = 0; // the command's lookup key, its sequence number in the gateway
    std::vector<ResponseSegment> segments;
};

// The segment list the window keeps holds at most this many entries.
inline constexpr std::size_t MaxCommandIoSegments = 40;

// The target of a double-click on a command row: only the window's commands (0-3, 6 and
// 11-19), and only when the node has a command of that number; nothing otherwise.
[[nodiscard]] std::optional<CommandIoTarget> commandIoTarget(const COrlaNode& node, std::uint8_t channel,
                                                             int hartCommand);

} // namespace korvan
