#include "network/GatewaySearch.h"

#include "base/Prompt.h"
#include "os/LocalAddresses.h"
#include "os/UdpSocket.h"

#include <algorithm>

namespace korvan {
namespace {

constexpr std::size_t maxLocalAddresses = 10;
constexpr std::size_t answerMaximum = 68;
constexpr int fixedTimeoutMs = 1000;
constexpr int broadcastTimeoutMs = 350;
constexpr int ticksPerAddress = 5;
// Answers read per tick: the wait of each read ends the loop, this only bounds a flood.
constexpr int maxAnswersPerTick = 64;

} // namespace

GatewaySearch::GatewaySearch(SearchSettings settings) : settings_(std::move(settings)) {
    if (!settings_.localAddresses)
        settings_.localAddresses = [] { return os::localIpv4Addresses(maxLocalAddresses); };
}

GatewaySearch::~GatewaySearch() = default;

void GatewaySearch::open(bool directAddress, const std::string& gatewayIp) {
    close();
    status_ = "Searching";
    local_ = settings_.localAddresses();
    if (local_.size() > maxLocalAddresses)
        local_.resize(maxLocalAddresses);
    step_ = local_.empty() ? 0 : 20 / static_cast<int>(local_.size());
    if (directAddress) {
        queryFixedAddress(gatewayIp);
        return;
    }
    startTimers(settings_.broadcastAddress, true);
}

void GatewaySearch::refresh(bool directAddress, const std::string& gatewayIp) {
    close();
    status_ = "Searching";
    local_ = settings_.localAddresses();
    if (local_.size() > maxLocalAddresses)
        local_.resize(maxLocalAddresses);
    step_ = local_.empty() ? 0 : 20 / static_cast<int>(local_.size());
    if (directAddress)
        startTimers(gatewayIp, false);
    else
        startTimers(settings_.broadcastAddress, true);
}

void GatewaySearch::queryFixedAddress(const std::string& address) {
    os::UdpSocket socket;
    if (socket.open(fixedTimeoutMs, false, "") && socket.sendTo(address, settings_.port, searchRequest))
        if (const auto answer = socket.receive(answerMaximum))
            if (auto record = decodeSearchAnswer(*answer, 1, false))
                records_.push_back(std::move(*record));
    status_ = "Search completed";
    progress_ = 100;
    signInEnabled_ = false;
    refreshEnabled_ = true;
}

void GatewaySearch::startTimers(const std::string& destination, bool broadcast) {
    destination_ = destination;
    broadcast_ = broadcast;
    for (const std::string& address : local_) {
        auto socket = std::make_unique<os::UdpSocket>();
        // A socket that cannot be set up is left out; its timer never runs.
        const bool ready = socket->open(broadcastTimeoutMs, broadcast, address);
        sockets_.push_back(std::move(socket));
        running_.push_back(ready);
    }
    signInEnabled_ = false;
    refreshEnabled_ = false;
    if (!anyTimerRunning())
        complete();
}

bool GatewaySearch::tick(std::size_t i) {
    if (!timerRunning(i))
        return false;
    const int limit = ticksPerAddress * static_cast<int>(local_.size());
    if (++ticks_ > limit) {
        running_[i] = false;
        complete();
        return false;
    }
    progress_ = std::min(100, progress_ + step_);
    os::UdpSocket& socket = *sockets_[i];
    if (!socket.sendTo(destination_, settings_.port, searchRequest))
        return true;
    int position = 0;
    for (int read = 0; read < maxAnswersPerTick; ++read) {
        const auto answer = socket.receive(answerMaximum);
        if (!answer)
            break;
        if (auto record = decodeSearchAnswer(*answer, position + 1, true)) {
            ++position;
            records_.push_back(std::move(*record));
        }
    }
    if (records_.empty())
        return true;
    running_[i] = false;
    ticks_ = limit; // every other timer stops at its next tick
    complete();
    return false;
}

void GatewaySearch::complete() {
    status_ = "Search completed";
    progress_ = 100;
    refreshEnabled_ = true;
}

bool GatewaySearch::anyTimerRunning() const {
    return std::find(running_.begin(), running_.end(), true) != running_.end();
}

std::vector<CEquipment> GatewaySearch::shownRecords() const {
    std::vector<CEquipment> shown;
    for (const CEquipment& record : records_)
        if (std::none_of(shown.begin(), shown.end(),
                         [&](const CEquipment& earlier) { return earlier.ipAddress == record.ipAddress; }))
            shown.push_back(record);
    return shown;
}

void GatewaySearch::clickRow(int row, std::string& gatewayIp) {
    const std::vector<CEquipment> shown = shownRecords();
    if (row < 0 || row >= static_cast<int>(shown.size()))
        return;
    selected_ = row;
    selectedModel_ = shown[static_cast<std::size_t>(row)].model;
    gatewayIp = shown[static_cast<std::size_t>(row)].ipAddress;
    signInEnabled_ = true;
}

bool GatewaySearch::signIn(GatewayModel model, Prompt& prompt) const {
    if (selected_ < 0)
        return false;
    if (isTcpModel(model) && selectedModel_ != modelName(model)) {
        prompt.message("The selected device is inconsistent with the software protocol, please re select!");
        return false;
    }
    return true;
}

void GatewaySearch::close() {
    sockets_.clear();
    running_.clear();
    records_.clear();
    ticks_ = 0;
    progress_ = 0;
    selected_ = -1;
    selectedModel_.clear();
    signInEnabled_ = false;
}

} // namespace korvan
