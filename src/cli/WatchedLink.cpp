#include "WatchedLink.h"

#include "link/SerialGatewayLink.h"
#include "link/TcpGatewayLink.h"

#include <cerrno>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvan::cli {
namespace {

std::string portText(std::uint16_t port) {
    return std::to_string(port);
}

} // namespace

WatchedLink::WatchedLink(LinkSettings settings)
    : inner_(std::make_unique<TcpGatewayLink>(settings)), settings_(std::move(settings)) {}

WatchedLink::WatchedLink(std::string device)
    : inner_(std::make_unique<SerialGatewayLink>(device)), device_(std::move(device)) {}

LinkFailure WatchedLink::watched(LinkFailure failure, Where where) {
    if (failure != LinkFailure::None)
        failure_ = Failure{where, failure};
    return failure;
}

ResultCode WatchedLink::open() {
    const ResultCode opened = inner_->open();
    if (!succeeded(opened))
        failure_ = Failure{Where::SerialOpen, LinkFailure::Setup};
    return opened;
}

LinkReply WatchedLink::exchange(const LinkRequest& request) {
    LinkReply reply = inner_->exchange(request);
    watched(reply.failure, isEthernet() ? Where::ConfigurationPort : Where::SerialLine);
    return reply;
}

LinkFailure WatchedLink::sendOnly(const LinkRequest& request) {
    return watched(inner_->sendOnly(request), isEthernet() ? Where::ConfigurationPort : Where::SerialLine);
}

LinkFailure WatchedLink::beginSession(int receiveTimeoutMs, int sendTimeoutMs) {
    return watched(inner_->beginSession(receiveTimeoutMs, sendTimeoutMs), Where::ConfigurationPort);
}

LinkReply WatchedLink::managementExchange(std::span<const std::uint8_t> request, std::size_t minimum,
                                          std::size_t maximum, int receiveTimeoutMs, int sendTimeoutMs) {
    LinkReply reply = inner_->managementExchange(request, minimum, maximum, receiveTimeoutMs, sendTimeoutMs);
    if (isEthernet())
        watched(reply.failure, Where::ManagementPort);
    return reply;
}

LinkFailure WatchedLink::serialWrite(std::span<const std::uint8_t> bytes) {
    const LinkFailure failure = inner_->serialWrite(bytes);
    if (!isEthernet())
        watched(failure, Where::SerialLine);
    return failure;
}

LinkReply WatchedLink::serialRead(std::size_t n) {
    LinkReply reply = inner_->serialRead(n);
    if (!isEthernet())
        watched(reply.failure, Where::SerialLine);
    return reply;
}

std::string WatchedLink::failureContext() const {
    if (!failure_)
        return {};
    switch (failure_->where) {
    case Where::SerialOpen:
        return serialOpenContext(device_);
    case Where::SerialLine:
        return "no answer from a gateway on " + device_ +
               " (is a Vela-3H-RTU connected to it, powered, and set to 19200 baud 8N1?)";
    case Where::ConfigurationPort:
    case Where::ManagementPort:
        break;
    }
    const bool management = failure_->where == Where::ManagementPort;
    const std::string port = portText(management ? settings_.managementPort : settings_.configurationPort);
    const std::string which =
        management ? "the management port, --mgmt-port PORT" : "the configuration port, --gateway HOST:PORT";
    const std::string where = settings_.host + " port " + port + " (" + which + ")";
    switch (failure_->kind) {
    case LinkFailure::Connect:
        return "no connection to " + where;
    case LinkFailure::Receive:
        return "no answer in time from " + where;
    default:
        return "the exchange with " + where + " failed";
    }
}

std::string serialOpenContext(const std::string& device) {
    struct stat status {};
    const bool found = ::stat(device.c_str(), &status) == 0;
    const bool denied =
        found ? ::access(device.c_str(), R_OK | W_OK) != 0 && errno == EACCES : errno == EACCES;
    if (denied) {
        // A serial port belongs to a group with read and write access (dialout on Debian).
        const group* owner = found ? ::getgrgid(status.st_gid) : nullptr;
        const bool groupMayUse = found && (status.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
        if (found && (owner == nullptr || !groupMayUse))
            return "cannot open " + device + ": permission denied (no group may read and write it)";
        const std::string groupName = owner != nullptr ? owner->gr_name : "dialout";
        return "cannot open " + device + ": permission denied; add your user to the group '" + groupName +
               "' (sudo usermod -aG " + groupName + " $USER) and log in again";
    }
    if (!found)
        return "cannot open " + device +
               ": there is no such device (is the adapter plugged in? ls /dev/ttyUSB* /dev/ttyS*)";
    return "cannot open " + device + " as a serial port (in use by another program, or no serial port?)";
}

} // namespace korvan::cli
