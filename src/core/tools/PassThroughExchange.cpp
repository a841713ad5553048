#include "tools/PassThroughExchange.h"

#include "base/HexByteText.h"
#include "base/Prompt.h"
#include "link/SerialGatewayLink.h"

#include <algorithm>
#include <cctype>

namespace korvan {
namespace {

std::string upper(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return result;
}

std::string hexPair(std::uint8_t value) {
    constexpr std::string_view digits = "0123456789ABCDEF";
    return {digits[value >> 4], digits[value & 0x0F]};
}

} // namespace

std::optional<Bytes> passThroughRequest(std::uint8_t channel, std::string_view head, std::string_view data,
                                        std::string_view check, Prompt* prompt) {
    struct Field {
        std::string_view text;
        std::string_view message;
    };
    // The request text is limited as the engineer typed it: "4B 00 ch " and the fields.
    std::size_t textLength = 8;
    Bytes frame{0x4B, 0x00, channel};
    for (const Field field :
         {Field{head, "The head data format is wrong"}, Field{data, "Part of the data is wrong"},
          Field{check, "The end data format is wrong"}}) {
        if (field.text.empty())
            continue;
        const auto bytes = parseHexByteText(upper(field.text));
        if (!bytes) {
            if (prompt != nullptr)
                prompt->message(field.message);
            return std::nullopt;
        }
        frame.insert(frame.end(), bytes->begin(), bytes->end());
        textLength += 1 + field.text.size();
    }
    if (textLength >= 1001) {
        if (prompt != nullptr)
            prompt->message("Data length is too large");
        return std::nullopt;
    }
    frame[1] = static_cast<std::uint8_t>((frame.size() - 2) & 0xFF);
    return closeFrame(std::move(frame));
}

Bytes pollRequest(std::uint8_t channel) {
    return closeFrame({0x4B, 0x01, channel});
}
Bytes leaveRequest(std::uint8_t channel) {
    return closeFrame({0x4A, 0x02, channel, 0x00});
}

std::optional<std::string> passThroughLine(std::span<const std::uint8_t> reply) {
    if (reply.size() < 2 || reply[0] != 0x4B || reply[1] == 0)
        return std::nullopt;
    const std::size_t count = std::min<std::size_t>(reply[1], reply.size() - 2);
    std::string line;
    for (std::size_t i = 0; i < count; ++i)
        line += hexPair(reply[2 + i]) + " ";
    return line + "\r\n";
}

std::optional<std::string> xorCheckText(std::string_view data) {
    const auto bytes = parseHexByteText(upper(data));
    if (!bytes)
        return std::nullopt;
    std::uint8_t check = 0;
    for (std::uint8_t b : *bytes)
        check ^= b;
    return hexPair(check);
}

std::optional<unsigned> autoSendPeriod(std::string_view text, Prompt& prompt) {
    const std::size_t first = text.find_first_not_of(" \t");
    const std::size_t last = text.find_last_not_of(" \t");
    const std::string_view digits =
        first == std::string_view::npos ? std::string_view{} : text.substr(first, last - first + 1);
    if (digits.empty() ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        prompt.message("Enter a positive integer.");
        return std::nullopt;
    }
    // Digits beyond the range's width are out of range however they continue.
    unsigned long long value = 0;
    for (char c : digits) {
        value = value * 10 + static_cast<unsigned>(c - '0');
        if (value > autoSendMaximumMs)
            break;
    }
    if (value < autoSendMinimumMs || value > autoSendMaximumMs) {
        prompt.message("Enter an integer between " + std::to_string(autoSendMinimumMs) + " and " +
                       std::to_string(autoSendMaximumMs) + ".");
        return std::nullopt;
    }
    return static_cast<unsigned>(value);
}

std::optional<std::string> sendPassThrough(SerialGatewayLink& link, std::span<const std::uint8_t> request,
                                           Prompt* prompt, const OperationContext& context) {
    if (context.stopRequested()) {
        link.close();
        return std::nullopt;
    }
    if (!link.serialWriteKeepOpen(request)) {
        if (prompt != nullptr)
            prompt->message("Failed writting serial port");
        return std::nullopt;
    }
    const Bytes reply = link.serialPollRead(1024);
    return passThroughLine(reply);
}

} // namespace korvan
