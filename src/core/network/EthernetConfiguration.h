#pragma once

#include "model/GatewayModel.h"

#include <string>

namespace korvan {

// The application state's fields the Ethernet configuration changes.
struct GatewayAddressing {
    std::string& gatewayIp;
    bool& directAddress;
    LinkKind& linkKind;
};

// The "Ethernet configuration" dialog's rules: search by broadcast, or ask one fixed
// address. It changes only the gateway address, the fixed-address flag and the link kind.
class EthernetConfiguration {
public:
    // Opening: the entry shows gatewayIp; the box is ticked unless directAddress is 1.
    explicit EthernetConfiguration(GatewayAddressing state);

    [[nodiscard]] bool searchTicked() const { return searchTicked_; }
    [[nodiscard]] bool entryEnabled() const { return !searchTicked_; }
    [[nodiscard]] const std::string& entryText() const { return entry_; }

    // Clicking the box: directAddress follows at once.
    void setSearchTicked(bool ticked);
    void setEntryText(std::string text) { entry_ = std::move(text); }
    void ok();
    void cancel();

private:
    GatewayAddressing state_;
    bool openedDirectAddress_;
    bool searchTicked_;
    std::string entry_;
};

} // namespace korvan
