#pragma once

#include <string_view>

namespace korvan {

// The result codes shared by the link, the model's checks and the editors. 0 is success;
// every code has one message, given by resultMessage(). 0-14 are the shared table; Korvan's
// own codes stand apart from it, so that every number of the table keeps its meaning.
enum class ResultCode : int {
    Success = 0,
    ResponseTimeout = 1,
    CheckError = 2,
    UploadCheckError = 3,
    OpenPortFailed = 4,
    SerialReadFailed = 5,
    ItemEmpty = 6,
    IllegalChar = 7,
    OutOfRange = 8,
    VersionMismatch = 9,
    CommandUploadError = 10,
    MemoryConflict = 11,
    NodeAddressRepeat = 12,
    TcpFailure = 13, // reads "Unknown Error!": where it happens the link shows its own message
    IpFormatError = 14,
    // The engineer stopped the operation between two exchanges; nothing was sent after that.
    Stopped = 20,
};

// An operation's result and whether the operation has already told the engineer all it
// tells about it, so that its caller shows the result's message only when `reported` is
// false. The flag travels with the result: a caller never guesses it from the link or code.
struct ReportedResult {
    ResultCode code = ResultCode::Success;
    bool reported = false;
};

[[nodiscard]] constexpr bool succeeded(ResultCode code) { return code == ResultCode::Success; }
[[nodiscard]] constexpr int toInt(ResultCode code) { return static_cast<int>(code); }

// The message of a code; any code without one of its own reads "Unknown Error!".
[[nodiscard]] std::string_view resultMessage(int code);
[[nodiscard]] inline std::string_view resultMessage(ResultCode code) { return resultMessage(toInt(code)); }

class Prompt;

// Gives the code's message and, when show is true, shows it through the prompt.
std::string_view reportResult(ResultCode code, bool show, Prompt& prompt);

} // namespace korvan
