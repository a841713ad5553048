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
// The timer sockets are only read without waiting, so they need no receive time-out.
constexpr int noReceiveTimeout = 0;
// Each address gets this many requests and as many ticks; the tick after them ends it.
constexpr int ticksPerAddress = 5;
// Answers read per tick: those already waiting end the loop, this only bounds a flood.
constexpr int maxAnswersPerTick = 64;

} // namespace

GatewaySearch::GatewaySearch(SearchSettings settings, OperationContext context)
    : settings_(std::move(settings)), context_(std::move(context)) {
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
    if (context_.stopRequested()) {
        stopSearch();
        return;
    }
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
    if (context_.stopRequested())
        stopSearch();
    else if (directAddress)
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
    reportProgress();
}

void GatewaySearch::startTimers(const std::string& destination, bool broadcast) {
    destination_ = destination;
    broadcast_ = broadcast;
    for (const std::string& address : local_) {
        auto socket = std::make_unique<os::UdpSocket>();
        // A socket that cannot be set up is left out; its timer never runs.
        const bool ready = socket->open(noReceiveTimeout, broadcast, address);
        sockets_.push_back(std::move(socket));
        running_.push_back(ready);
        requestsSent_.push_back(0);
    }
    signInEnabled_ = false;
    refreshEnabled_ = false;
    // The first request goes out with the timers, so that their first tick has answers to read.
    for (std::size_t i = 0; i < sockets_.size(); ++i)
        if (running_[i])
            sendRequest(i);
    if (!anyTimerRunning())
        complete();
}

void GatewaySearch::sendRequest(std::size_t i) {
    if (requestsSent_[i] >= ticksPerAddress)
        return;
    ++requestsSent_[i];
    (void)sockets_[i]->sendTo(destination_, settings_.port, searchRequest);
}

void GatewaySearch::collectAnswers(std::size_t i) {
    int position = 0;
    for (int read = 0; read < maxAnswersPerTick; ++read) {
        const auto answer = sockets_[i]->receiveWaiting(answerMaximum);
        if (!answer)
            break;
        if (auto record = decodeSearchAnswer(*answer, position + 1, true)) {
            ++position;
            records_.push_back(std::move(*record));
        }
    }
}

bool GatewaySearch::tick(std::size_t i) {
    if (!timerRunning(i))
        return false;
    if (context_.stopRequested()) {
        stopSearch();
        return false;
    }
    const int limit = ticksPerAddress * static_cast<int>(local_.size());
    // A timer that ticks after another one found answers stops without reading its own.
    if (records_.empty())
        collectAnswers(i);
    if (!records_.empty()) {
        running_[i] = false;
        ticks_ = limit; // every other timer stops at its next tick
        complete();
        return false;
    }
    if (++ticks_ > limit) {
        running_[i] = false;
        complete();
        return false;
    }
    progress_ = std::min(100, progress_ + step_);
    sendRequest(i);
    reportProgress();
    return true;
}

void GatewaySearch::complete() {
    status_ = "Search completed";
    progress_ = 100;
    refreshEnabled_ = true;
    reportProgress();
}

void GatewaySearch::stopSearch() {
    for (const auto& socket : sockets_)
        socket->close();
    std::fill(running_.begin(), running_.end(), false);
    result_ = ResultCode::Stopped;
    status_ = std::string(resultMessage(result_));
    refreshEnabled_ = true;
}

void GatewaySearch::reportProgress() const {
    context_.reportProgress(progress_, 100);
}

bool GatewaySearch::anySocketOpen() const {
    return std::any_of(sockets_.begin(), sockets_.end(), [](const auto& socket) { return socket->isOpen(); });
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
    requestsSent_.clear();
    result_ = ResultCode::Success;
    records_.clear();
    ticks_ = 0;
    progress_ = 0;
    selected_ = -1;
    selectedModel_.clear();
    signInEnabled_ = false;
}

} // namespace korvan
