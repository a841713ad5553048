#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace korvan::test {

struct ProgramResult {
    int exitStatus = -1;
    std::string out;
    std::string err;
};

// A program from the build's bin folder (or at an absolute path) started with the arguments,
// no shell in between, for a test that acts on it while it runs (signals it by its process
// id). finish() waits at most `timeoutSeconds` for it (it is killed after that); one never
// finished is killed and reaped with its runner.
class RunningProgram {
public:
    RunningProgram(const std::string& program, const std::vector<std::string>& arguments);
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    void signal(int number) const;
    ProgramResult finish(int timeoutSeconds);

private:
    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
};

// Runs a program to its end and waits at most `timeoutSeconds` for it. A `program` that is an
// absolute path is run from there rather than from the build's bin folder.
ProgramResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                         int timeoutSeconds = 60);

inline ProgramResult runKorvanctl(const std::vector<std::string>& arguments, int timeoutSeconds = 60) {
    return runProgram("korvanctl", arguments, timeoutSeconds);
}

} // namespace korvan::test
