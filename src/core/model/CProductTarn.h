#pragma once

#include "model/COrlaProduct.h"
#include "model/CProfilebus.h"
#include "model/GatewayModel.h"

#include <string>
#include <vector>

namespace korvan {

class CHartbus;

// The project-file generation a save writes: 0 and 2 write "2.0.0.0", 1 writes "1.0.0.0".
// It is kept for the whole run once set: 1 after a command was read from a "1.0.0.0" file,
// 2 after a command was switched to the Advanced configuration.
struct FileFormatState {
    int generation = 0;
    std::string fileVersion; // the Version of the last loaded file
};

// The gateway family's product: the network-side bus first, then one or three HART channels.
class CProductTarn : public COrlaProduct {
public:
    CProductTarn();

    // Builds the buses for the model: the network-side bus, then the channels by index.
    void build(GatewayModel model);
    // Empties the bus list and the channel count, then builds again: a new project. The
    // objects of the project it replaces are freed.
    void rebuild(GatewayModel model);

    [[nodiscard]] GatewayModel gatewayModel() const { return model_; }
    [[nodiscard]] CProfilebus& networkBus() { return networkBus_; }
    [[nodiscard]] const CProfilebus& networkBus() const { return networkBus_; }
    [[nodiscard]] unsigned channelCount() const { return channelCount_; }
    [[nodiscard]] CHartbus* currentChannel() const { return currentChannel_; }
    // Selecting a channel in the project tree makes it current.
    void setCurrentChannel(CHartbus* channel) { currentChannel_ = channel; }
    // The HART channels in bus order.
    [[nodiscard]] std::vector<CHartbus*> channels() const;
    [[nodiscard]] CHartbus* channel(std::size_t index) const;

    FileFormatState& fileFormat() { return format_; }
    [[nodiscard]] const FileFormatState& fileFormat() const { return format_; }

private:
    GatewayModel model_ = GatewayModel::None;
    CHartbus* currentChannel_ = nullptr;
    CProfilebus networkBus_;
    unsigned channelCount_ = 0;
    FileFormatState format_;
};

} // namespace korvan
