#include "ProgramRun.h"

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace korvan::test {
namespace {

void drain(int fd, std::string& into, bool& open) {
    char buffer[4096];
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got > 0)
        into.append(buffer, static_cast<std::size_t>(got));
    else
        open = false;
}

} // namespace

RunningProgram::RunningProgram(const std::string& program, const std::vector<std::string>& arguments) {
    const std::string path = program.starts_with('/') ? program : std::string(KORVAN_BIN_DIR) + "/" + program;
    int outPipe[2];
    int errPipe[2];
    if (::pipe(outPipe) != 0 || ::pipe(errPipe) != 0)
        throw std::runtime_error("pipe failed");

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
    posix_spawn_file_actions_addclose(&actions, outPipe[0]);
    posix_spawn_file_actions_addclose(&actions, errPipe[0]);

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(path.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    const int spawned = ::posix_spawn(&pid_, path.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    if (spawned != 0) {
        pid_ = -1;
        ::close(outPipe[0]);
        ::close(errPipe[0]);
        throw std::runtime_error("cannot start " + path);
    }
    out_ = outPipe[0];
    err_ = errPipe[0];
}

RunningProgram::~RunningProgram() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0)
        ::close(out_);
    if (err_ >= 0)
        ::close(err_);
}

void RunningProgram::signal(int number) const {
    if (pid_ > 0)
        ::kill(pid_, number);
}

ProgramResult RunningProgram::finish(int timeoutSeconds) {
    ProgramResult result;
    if (pid_ <= 0)
        return result;
    bool outOpen = true;
    bool errOpen = true;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    while (outOpen || errOpen) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            ::kill(pid_, SIGKILL);
            break;
        }
        pollfd fds[2] = {{outOpen ? out_ : -1, POLLIN, 0}, {errOpen ? err_ : -1, POLLIN, 0}};
        if (::poll(fds, 2, static_cast<int>(left.count())) <= 0)
            continue;
        if (fds[0].revents != 0)
            drain(out_, result.out, outOpen);
        if (fds[1].revents != 0)
            drain(err_, result.err, errOpen);
    }
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

ProgramResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                         int timeoutSeconds) {
    return RunningProgram(program, arguments).finish(timeoutSeconds);
}

} // namespace korvan::test
