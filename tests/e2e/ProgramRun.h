#pragma once

#include <string>
#include <vector>

namespace korvan::test {

struct ProgramResult {
    int exitStatus = -1;
    std::string out;
    std::string err;
};

// Runs a program from the build's bin folder with the arguments, no shell in between, and
// waits at most `timeoutSeconds` for it (it is killed after that).
ProgramResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                         int timeoutSeconds = 60);

inline ProgramResult runKorvanctl(const std::vector<std::string>& arguments, int timeoutSeconds = 60) {
    return runProgram("korvanctl", arguments, timeoutSeconds);
}

} // namespace korvan::test
