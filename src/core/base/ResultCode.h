#pragma once

#include <string_view>

namespace korvan {

// The result codes shared by the link, the model's checks and the editors. 0 is success;
// every code has one message, given by resultMessage().
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
    // The operation that answers 13 has already shown a message of its own.
    TcpFailure = 13,
    IpFormatError = 14,
};

[[nodiscard]] constexpr bool succeeded(ResultCode code) { return code == ResultCode::Success; }
[[nodiscard]] constexpr int toInt(ResultCode code) { return static_cast<int>(code); }

// The message of a code; any code outside the table reads "Unknown Error!".
[[nodiscard]] std::string_view resultMessage(int code);
[[nodiscard]] inline std::string_view resultMessage(ResultCode code) { return resultMessage(toInt(code)); }

class Prompt;

// Gives the code's message and, when show is true, shows it through the prompt.
std::string_view reportResult(ResultCode code, bool show, Prompt& prompt);

} // namespace korvan
