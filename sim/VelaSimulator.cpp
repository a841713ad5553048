#include "VelaSimulator.h"

#include "link/TunnelFrame.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace korvan::sim {
namespace {

using Clock = std::chrono::steady_clock;

sockaddr_in loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

std::uint16_t boundPort(int fd) {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

int openSocket(int type, std::uint16_t port, std::uint16_t& actual) {
    const int fd = ::socket(AF_INET, type | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    // A listener may take a port whose last connections are still closing. A datagram socket
    // must not: on UDP the option would let a second simulator share the port unnoticed.
    const int one = 1;
    if (type == SOCK_STREAM)
        setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    const sockaddr_in address = loopback(port);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        (type == SOCK_STREAM && ::listen(fd, 16) != 0)) {
        const int error = errno; // the reason, for the message
        ::close(fd);
        errno = error;
        return -1;
    }
    actual = boundPort(fd);
    return fd;
}

void closeFd(int& fd) {
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

void writeAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    for (int attempts = 0; done < bytes.size() && attempts < 1000; ++attempts) {
        const ssize_t wrote = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (wrote < 0 && errno == ENOTSOCK) {
            const ssize_t plain = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (plain <= 0)
                return;
            done += static_cast<std::size_t>(plain);
            continue;
        }
        if (wrote <= 0)
            return;
        done += static_cast<std::size_t>(wrote);
    }
}

std::string hexLine(const std::string& port, std::span<const std::uint8_t> bytes) {
    std::string line = port + ":";
    char text[4];
    for (std::uint8_t b : bytes) {
        std::snprintf(text, sizeof text, " %02X", b);
        line += text;
    }
    return line + "\n";
}

} // namespace

VelaSimulator::VelaSimulator(SimOptions options) : options_(std::move(options)), engine_(options_.model) {
    engine_.setDeviceReplies(options_.deviceReplies, options_.commandStatuses);
}

VelaSimulator::~VelaSimulator() {
    for (Connection& connection : connections_)
        closeFd(connection.fd);
    closeFd(configurationListener_);
    closeFd(managementListener_);
    closeFd(searchSocket_);
    closeFd(ptySlave_);
    closeFd(ptyMaster_);
}

bool VelaSimulator::start(std::string& reason) {
    // Which port could not be had, and why.
    const auto refused = [&reason](const char* kind, std::uint16_t port, const char* option) {
        const std::string error = std::strerror(errno);
        reason = std::string("cannot listen on 127.0.0.1 ") + kind + " port " +
                 (port == 0 ? std::string("(any free one)") : std::to_string(port)) + " (" + option +
                 "): " + error;
        return false;
    };
    configurationListener_ = openSocket(SOCK_STREAM, options_.configurationPort, configurationPort_);
    if (configurationListener_ < 0)
        return refused("TCP", options_.configurationPort, "--tcp-port");
    managementListener_ = openSocket(SOCK_STREAM, options_.managementPort, managementPort_);
    if (managementListener_ < 0)
        return refused("TCP", options_.managementPort, "--mgmt-port");
    // The search shares the management port's number, as on the gateway, when it is free.
    if (options_.searchPort == 0)
        searchSocket_ = openSocket(SOCK_DGRAM, managementPort_, searchPort_);
    if (searchSocket_ < 0)
        searchSocket_ = openSocket(SOCK_DGRAM, options_.searchPort, searchPort_);
    if (searchSocket_ < 0)
        return refused("UDP", options_.searchPort, "--udp-port");
    if (options_.faults.refuseConnections) {
        // The ports stay reserved in name only: a connection attempt is refused.
        closeFd(configurationListener_);
        closeFd(managementListener_);
    }
    if (options_.pseudoTerminal) {
        ptyMaster_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (ptyMaster_ < 0 || grantpt(ptyMaster_) != 0 || unlockpt(ptyMaster_) != 0 ||
            ptsname(ptyMaster_) == nullptr) {
            reason = "cannot open a pseudo-terminal";
            return false;
        }
        ptyPath_ = ptsname(ptyMaster_);
        // Holding the slave side open keeps the terminal alive between the client's sessions.
        ptySlave_ = ::open(ptyPath_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios line{};
        if (ptySlave_ < 0 || tcgetattr(ptySlave_, &line) != 0) {
            reason = "cannot open the pseudo-terminal's slave side";
            return false;
        }
        cfmakeraw(&line);
        tcsetattr(ptySlave_, TCSANOW, &line);
    }
    return true;
}

std::vector<LoggedFrame> VelaSimulator::frames() const {
    std::lock_guard lock(mutex_);
    return frames_;
}

void VelaSimulator::run() {
    const auto deadline = Clock::now() + std::chrono::milliseconds(options_.lifetimeMs);
    while (!stopping_ && Clock::now() < deadline) {
        std::vector<pollfd> watched;
        watched.push_back({configurationListener_, POLLIN, 0});
        watched.push_back({managementListener_, POLLIN, 0});
        watched.push_back({searchSocket_, POLLIN, 0});
        watched.push_back({ptyMaster_, POLLIN, 0});
        for (const Connection& connection : connections_)
            watched.push_back({connection.fd, POLLIN, 0});
        if (::poll(watched.data(), watched.size(), 50) <= 0)
            continue;
        if (watched[0].revents & POLLIN)
            acceptOn(configurationListener_, false);
        if (watched[1].revents & POLLIN)
            acceptOn(managementListener_, true);
        if (watched[2].revents & POLLIN)
            serveSearch();
        if (watched[3].revents & POLLIN)
            servePseudoTerminal();
        for (std::size_t i = 4; i < watched.size(); ++i) {
            if (watched[i].revents == 0)
                continue;
            Connection& connection = connections_[i - 4];
            if (!serveConnection(connection))
                closeFd(connection.fd);
        }
        std::erase_if(connections_, [](const Connection& connection) { return connection.fd < 0; });
        openConnections_ = static_cast<int>(connections_.size());
    }
}

void VelaSimulator::acceptOn(int listener, bool management) {
    const int fd = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0)
        return;
    const int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    connections_.push_back({fd, management, {}});
}

std::optional<Bytes> VelaSimulator::answerFrame(const std::string& port, std::span<const std::uint8_t> frame,
                                                std::size_t tunnelLength, std::uint16_t transaction,
                                                std::uint8_t frameType) {
    std::optional<Bytes> answer;
    {
        std::lock_guard lock(mutex_);
        frames_.push_back({port, Bytes(frame.begin(), frame.end()), transaction, frameType});
        if (port == "mgmt")
            answer = engine_.answerManagement(frame);
        else
            answer = engine_.answerPrivate(frame);
    }
    if (!options_.logPath.empty())
        if (FILE* log = std::fopen(options_.logPath.c_str(), "a")) {
            std::fputs(hexLine(port, frame).c_str(), log);
            std::fclose(log);
        }
    if (answer && port == "tcp") {
        const std::size_t length = tunnelLength != 0 ? tunnelLength : tunnelAnswerOffset + answer->size();
        answer = tunnelAnswer(transaction, frameType, *answer, length);
    }
    return answer;
}

void VelaSimulator::sendWithFaults(int fd, Bytes answer, int exchange, bool tunnelled) {
    const FaultPlan& faults = options_.faults;
    if (faults.silentFrom != 0 && exchange >= faults.silentFrom)
        return;
    if (exchange == faults.badChecksumAt && !answer.empty()) {
        // The private answer's checksum: the last byte of the answer, or of the private part
        // inside a padded tunnel answer.
        std::size_t at = answer.size() - 1;
        if (tunnelled && answer.size() > tunnelAnswerOffset + 1) {
            const auto size = GatewayEngine::privateFrameSize(std::span(answer).subspan(tunnelAnswerOffset));
            if (size && tunnelAnswerOffset + *size <= answer.size())
                at = tunnelAnswerOffset + *size - 1;
        }
        answer[at] = static_cast<std::uint8_t>(answer[at] + 1);
    }
    if (exchange == faults.garbageAt)
        for (std::size_t i = 0; i < answer.size(); ++i)
            answer[i] = static_cast<std::uint8_t>(0xA5 ^ (i * 37));
    if (exchange == faults.truncateAt)
        answer.resize(answer.size() / 2);
    if (exchange == faults.lateAt)
        std::this_thread::sleep_for(std::chrono::milliseconds(faults.lateMs));
    if (exchange == faults.splitAt && answer.size() > 1) {
        const std::size_t half = answer.size() / 2;
        writeAll(fd, std::span(answer).first(half));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        writeAll(fd, std::span(answer).subspan(half));
        return;
    }
    writeAll(fd, answer);
}

bool VelaSimulator::serveConnection(Connection& connection) {
    std::uint8_t chunk[4096];
    const ssize_t got = ::recv(connection.fd, chunk, sizeof chunk, MSG_DONTWAIT);
    if (got <= 0)
        return got < 0 && (errno == EAGAIN || errno == EINTR);
    connection.buffer.insert(connection.buffer.end(), chunk, chunk + got);
    while (true) {
        Bytes& buffer = connection.buffer;
        std::size_t size = 0;
        if (connection.management) {
            if (buffer.size() < 8)
                return true;
            size =
                8 + static_cast<std::size_t>(buffer[4] << 24 | buffer[5] << 16 | buffer[6] << 8 | buffer[7]);
            size = std::min<std::size_t>(size, 8 + 1024);
        } else {
            if (buffer.size() < 6)
                return true;
            size = 6 + static_cast<std::size_t>(buffer[4] << 8 | buffer[5]);
        }
        if (buffer.size() < size)
            return true;
        const Bytes frame(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(size));
        buffer.erase(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(size));
        const int exchange = ++exchanges_;
        std::optional<Bytes> answer;
        if (connection.management) {
            answer = answerFrame("mgmt", frame, 0, 0, 0);
        } else if (const auto tunnel = parseTunnelFrame(frame)) {
            answer = answerFrame("tcp", tunnel->privateFrame,
                                 GatewayEngine::tunnelAnswerLength(tunnel->privateFrame), tunnel->transaction,
                                 tunnel->frameType);
        } else {
            return false; // not a tunnel frame: the gateway drops the connection
        }
        if (exchange == options_.faults.closeAt)
            return false;
        if (answer)
            sendWithFaults(connection.fd, std::move(*answer), exchange, !connection.management);
    }
}

void VelaSimulator::serveSearch() {
    std::uint8_t datagram[512];
    sockaddr_in sender{};
    socklen_t length = sizeof sender;
    const ssize_t got = ::recvfrom(searchSocket_, datagram, sizeof datagram, MSG_DONTWAIT,
                                   reinterpret_cast<sockaddr*>(&sender), &length);
    if (got <= 0)
        return;
    const std::span<const std::uint8_t> request(datagram, static_cast<std::size_t>(got));
    std::optional<Bytes> answer;
    {
        std::lock_guard lock(mutex_);
        frames_.push_back({"udp", Bytes(request.begin(), request.end()), 0, 0});
        answer = engine_.answerSearch(request);
    }
    const int exchange = ++exchanges_;
    if (!answer || (options_.faults.silentFrom != 0 && exchange >= options_.faults.silentFrom))
        return;
    for (int i = 0; i < options_.searchAnswers; ++i)
        ::sendto(searchSocket_, answer->data(), answer->size(), 0, reinterpret_cast<const sockaddr*>(&sender),
                 length);
    ++searchesAnswered_;
}

void VelaSimulator::servePseudoTerminal() {
    std::uint8_t chunk[4096];
    const ssize_t got = ::read(ptyMaster_, chunk, sizeof chunk);
    if (got <= 0)
        return;
    ptyBuffer_.insert(ptyBuffer_.end(), chunk, chunk + got);
    while (!ptyBuffer_.empty()) {
        const auto size = GatewayEngine::privateFrameSize(ptyBuffer_);
        if (!size || ptyBuffer_.size() < *size)
            return;
        const Bytes frame(ptyBuffer_.begin(), ptyBuffer_.begin() + static_cast<std::ptrdiff_t>(*size));
        ptyBuffer_.erase(ptyBuffer_.begin(), ptyBuffer_.begin() + static_cast<std::ptrdiff_t>(*size));
        const int exchange = ++exchanges_;
        if (auto answer = answerFrame("pty", frame, 0, 0, 0))
            sendWithFaults(ptyMaster_, std::move(*answer), exchange, false);
    }
}

} // namespace korvan::sim
