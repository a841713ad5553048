#include "SimProcess.h"

#include <chrono>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace korvan::test {

SimProcess::SimProcess(std::vector<std::string> arguments) {
    const std::string path = std::string(KORVAN_BIN_DIR) + "/vela-sim";
    arguments.insert(arguments.begin(), {path, "--lifetime", "30"});
    int out[2];
    if (::pipe(out) != 0)
        return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const int spawned = ::posix_spawn(&pid_, path.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (spawned != 0) {
        pid_ = -1;
        ::close(out[0]);
        return;
    }
    readUntilReady(out[0]);
    ::close(out[0]);
}

SimProcess::~SimProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
}

std::string SimProcess::value(const std::string& key) const {
    const auto found = values_.find(key);
    return found == values_.end() ? "" : found->second;
}

std::vector<std::string> SimProcess::tcpLink() const {
    return {"--gateway", "127.0.0.1:" + value("tcp"), "--mgmt-port", value("mgmt")};
}

void SimProcess::readUntilReady(int fd) {
    std::string text;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (text.find("ready\n") == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        pollfd waiting{fd, POLLIN, 0};
        if (::poll(&waiting, 1, 200) <= 0)
            continue;
        char buffer[512];
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0)
            break;
        text.append(buffer, static_cast<std::size_t>(got));
    }
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = text.substr(start, end - start);
        if (const auto space = line.find(' '); space != std::string::npos)
            values_[line.substr(0, space)] = line.substr(space + 1);
    }
}

std::vector<std::string> join(std::vector<std::string> first, const std::vector<std::string>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

} // namespace korvan::test
