#pragma once

#include "model/GatewayModel.h"
#include "projectfile/ProjectFile.h"

#include <optional>
#include <string>
#include <vector>

namespace korvan {

// What a project file says about the gateway it was made for, read without loading it: the
// network side's protocol mode and the HART channels the file holds.
struct ProjectFileFacts {
    LoadStatus status = LoadStatus::Unreadable; // Loaded when the file holds a project
    std::string message;                        // otherwise why not, as a load says it
    // The protocol mode a load reads (3 Modbus TCP, 0 Modbus slave, 1 user config); none when
    // the file's network side is incomplete, so that a load keeps the model's own mode.
    std::optional<int> protocolMode;
    // The numbers (1-3) of the channels the file holds an element for, in ascending order.
    std::vector<int> channels;

    [[nodiscard]] bool isProject() const { return status == LoadStatus::Loaded; }
};

// Reads the facts with the same lookups a load uses (elements by their Value and position).
[[nodiscard]] ProjectFileFacts readProjectFileFacts(const std::string& path);

// The model a project file is for. A serial protocol (Modbus slave or user config) is the
// Vela-3H-RTU's. Modbus TCP is one of the two TCP models: every project of a three-channel
// gateway is saved with all three channel elements, and one of a Vela-1H-TCP with the first
// only, so a channel beyond the first makes it a Vela-3H-TCP project. Nothing when the file
// gives no protocol mode or one that fits both families.
[[nodiscard]] std::optional<GatewayModel> inferredModel(const ProjectFileFacts& facts);

// The channels of the file that `model` does not have; loaded into it they would be dropped
// and lost at the next save.
[[nodiscard]] std::vector<int> channelsBeyondModel(const ProjectFileFacts& facts, GatewayModel model);

} // namespace korvan
