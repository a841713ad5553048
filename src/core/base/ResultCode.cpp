#include "base/ResultCode.h"

#include "base/Prompt.h"

#include <array>

namespace korvan {

std::string_view resultMessage(int code) {
    static constexpr std::array<std::string_view, 15> messages{
        "Operation Success",
        "Resonse timeout",
        "Check error",
        "Data upload check error",
        "Open serial port failed",
        "Failed reading serial port",
        "An item is empty",
        "Has Illegal char",
        "Data out of range",
        "Version not match",
        "Command upload error",
        "Memory address conflict",
        "Node address  repeat",
        "Unknown Error!",
        "IP format error",
    };
    if (code == toInt(ResultCode::Stopped))
        return "The operation was stopped.";
    if (code < 0 || code >= static_cast<int>(messages.size()))
        return "Unknown Error!";
    return messages[static_cast<std::size_t>(code)];
}

std::string_view reportResult(ResultCode code, bool show, Prompt& prompt) {
    const std::string_view text = resultMessage(code);
    if (show)
        prompt.message(text);
    return text;
}

} // namespace korvan
