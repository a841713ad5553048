#pragma once

#include <map>
#include <string>
#include <sys/types.h>
#include <vector>

namespace korvan::test {

// vela-sim started as a child process for one test: bounded by its own lifetime, and
// stopped by the test (its own child, by process id) when the test ends.
class SimProcess {
public:
    explicit SimProcess(std::vector<std::string> arguments);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    [[nodiscard]] bool ready() const { return values_.count("tcp") != 0; }
    // What the simulator printed on start: "tcp", "mgmt", "udp" and "pty".
    [[nodiscard]] std::string value(const std::string& key) const;
    // --gateway 127.0.0.1:TCP --mgmt-port MGMT
    [[nodiscard]] std::vector<std::string> tcpLink() const;

private:
    void readUntilReady(int fd);

    pid_t pid_ = -1;
    std::map<std::string, std::string> values_;
};

// The words of both lists, the first list's first.
[[nodiscard]] std::vector<std::string> join(std::vector<std::string> first,
                                            const std::vector<std::string>& second);

} // namespace korvan::test
