#pragma once

#include "base/OperationContext.h"
#include "link/PrivateFrame.h"

#include <optional>
#include <string>
#include <string_view>

namespace korvan {

class Prompt;
class SerialGatewayLink;

// The serial debug assistant's frames: a HART frame passed through the gateway to a channel.

// 4B N ch head data check sum from the three hexadecimal byte texts (upper or lower case).
// With a prompt, an invalid field or an overlong request shows its message; without one it
// is skipped silently (auto-send). Nothing when a field is invalid.
[[nodiscard]] std::optional<Bytes> passThroughRequest(std::uint8_t channel, std::string_view head,
                                                      std::string_view data, std::string_view check,
                                                      Prompt* prompt);
[[nodiscard]] Bytes pollRequest(std::uint8_t channel);  // 4B 01 ch sum
[[nodiscard]] Bytes leaveRequest(std::uint8_t channel); // 4A 02 ch 00 sum

// The received text line of a reply ("11 22 33 \r\n"), or nothing for another reply or an
// empty one. L is never trusted past the bytes received.
[[nodiscard]] std::optional<std::string> passThroughLine(std::span<const std::uint8_t> reply);

// "Checknum": the XOR of the data bytes as two upper-case digits; nothing for invalid text.
[[nodiscard]] std::optional<std::string> xorCheckText(std::string_view data);

// The auto-send period typed, 500 to 65536 ms. Otherwise "Enter a positive integer." (not a
// number) or "Enter an integer between 500 and 65536." is shown and nothing answered.
inline constexpr unsigned autoSendMinimumMs = 500;
inline constexpr unsigned autoSendMaximumMs = 65536;
[[nodiscard]] std::optional<unsigned> autoSendPeriod(std::string_view text, Prompt& prompt);

// One send: the request written (the port stays open on failure), then the reply read.
// Answers the reply line; "Failed writting serial port" is shown when `prompt` is given. A
// stop the context requested first sends nothing, closes the port and answers nothing.
[[nodiscard]] std::optional<std::string> sendPassThrough(SerialGatewayLink& link,
                                                         std::span<const std::uint8_t> request,
                                                         Prompt* prompt,
                                                         const OperationContext& context = {});

} // namespace korvan
