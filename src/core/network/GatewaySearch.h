#pragma once

#include "base/OperationContext.h"
#include "base/ResultCode.h"
#include "model/GatewayModel.h"
#include "network/CEquipment.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace korvan {

namespace os {
class UdpSocket;
}
class Prompt;

struct SearchSettings {
    std::uint16_t port = 18801;
    std::string broadcastAddress = "255.255.255.255";
    // The computer's own IPv4 addresses; the system's list unless a test gives its own.
    std::function<std::vector<std::string>()> localAddresses;
};

inline constexpr std::array<std::uint8_t, 8> searchRequest{0, 0, 0, 3, 0, 0, 0, 0};

// The "Search Equipment" dialog's state and rules, without widgets: a fixed-address query,
// or a broadcast search per local address driven by a 300 ms timer per address, which the
// dialog's timers or korvanctl's loop call as tick(i). A tick never waits: it takes the
// answers that came in since the previous request, so it may run on the window's thread.
// The context's stop ends the search before its next request; its progress is told in per
// cent after every tick.
class GatewaySearch {
public:
    explicit GatewaySearch(SearchSettings settings = {}, OperationContext context = {});
    ~GatewaySearch();
    GatewaySearch(const GatewaySearch&) = delete;
    GatewaySearch& operator=(const GatewaySearch&) = delete;

    // Opening the dialog: with directAddress one query to gatewayIp, else the sockets and
    // timers of the broadcast search, each socket sending its first request.
    void open(bool directAddress, const std::string& gatewayIp);
    // "Refresh": everything is started again, to gatewayIp or by broadcast.
    void refresh(bool directAddress, const std::string& gatewayIp);
    // The timer tick of socket i: the answers already there, then the next request. Answers
    // whether timer i keeps running.
    bool tick(std::size_t i);

    // Clicking a visible row: its address becomes gatewayIp. Outside the rows nothing changes.
    void clickRow(int row, std::string& gatewayIp);
    // "Sign In": false, with the message shown, when the selected record is another model.
    [[nodiscard]] bool signIn(GatewayModel model, Prompt& prompt) const;
    void close();

    // The records shown: those found, without repeats of an earlier IP address.
    [[nodiscard]] std::vector<CEquipment> shownRecords() const;
    [[nodiscard]] const std::vector<CEquipment>& records() const { return records_; }
    [[nodiscard]] bool timerRunning(std::size_t i) const { return i < running_.size() && running_[i]; }
    [[nodiscard]] bool anyTimerRunning() const;
    [[nodiscard]] std::size_t timerCount() const { return running_.size(); }
    [[nodiscard]] const std::string& statusText() const { return status_; }
    [[nodiscard]] int progress() const { return progress_; }
    [[nodiscard]] bool signInEnabled() const { return signInEnabled_; }
    [[nodiscard]] bool refreshEnabled() const { return refreshEnabled_; }
    // Stopped once the context's stop ended the search, else Success.
    [[nodiscard]] ResultCode result() const { return result_; }
    // Whether a socket of the timers is still open; a stopped search has closed them all.
    [[nodiscard]] bool anySocketOpen() const;

private:
    void queryFixedAddress(const std::string& address);
    void startTimers(const std::string& destination, bool broadcast);
    void sendRequest(std::size_t i);
    void collectAnswers(std::size_t i);
    void complete();
    void stopSearch();
    void reportProgress() const;

    SearchSettings settings_;
    OperationContext context_;
    std::vector<std::string> local_;
    std::vector<std::unique_ptr<os::UdpSocket>> sockets_;
    std::vector<bool> running_;
    std::vector<int> requestsSent_;
    std::string destination_;
    bool broadcast_ = true;
    int ticks_ = 0;
    int step_ = 0;
    int progress_ = 0;
    std::vector<CEquipment> records_;
    int selected_ = -1;
    std::string selectedModel_;
    std::string status_;
    bool signInEnabled_ = false;
    bool refreshEnabled_ = false;
    ResultCode result_ = ResultCode::Success;
};

} // namespace korvan
