#pragma once

#include <string>

namespace korvan {

struct AppState;

// The "Ethernet configuration" dialog's rules: search by broadcast, or ask one fixed
// address. It changes only the application state.
class EthernetConfiguration {
public:
    // Opening: the entry shows gatewayIp; the box is ticked unless directAddress is 1.
    explicit EthernetConfiguration(AppState& state);

    [[nodiscard]] bool searchTicked() const { return searchTicked_; }
    [[nodiscard]] bool entryEnabled() const { return !searchTicked_; }
    [[nodiscard]] const std::string& entryText() const { return entry_; }

    // Clicking the box: directAddress follows at once.
    void setSearchTicked(bool ticked);
    void setEntryText(std::string text) { entry_ = std::move(text); }
    void ok();
    void cancel();

private:
    AppState& state_;
    int openedDirectAddress_;
    bool searchTicked_;
    std::string entry_;
};

} // namespace korvan
