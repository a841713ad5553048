#include "network/CEquipment.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace korvan {
namespace {

constexpr std::size_t answerLength = 68;

std::string hexPair(std::uint8_t value) {
    constexpr std::string_view digits = "0123456789abcdef";
    return {digits[value >> 4], digits[value & 0x0F]};
}

} // namespace

std::optional<CEquipment> decodeSearchAnswer(std::span<const std::uint8_t> answer, int position,
                                             bool broadcast) {
    if (answer.size() < 4 || answer[0] != 0 || answer[1] != 0 || answer[2] != 0 || answer[3] != 3)
        return std::nullopt;
    if (broadcast && answer.size() < 16)
        return std::nullopt;
    std::array<std::uint8_t, answerLength> bytes{};
    std::copy_n(answer.begin(), std::min(answer.size(), answerLength), bytes.begin());
    CEquipment equipment;
    const std::string place = std::to_string(position);
    equipment.number = broadcast ? std::string(place.size() < 2 ? 2 - place.size() : 0, ' ') + place : "1";
    if (bytes[10] == 0xF8 && bytes[11] == 0x0C)
        equipment.model = "Vela-3H-TCP";
    else if (bytes[10] == 0xF0 && bytes[11] == 0x3C)
        equipment.model = "Vela-1H-TCP";
    else
        equipment.model = "Other equipment";
    for (std::size_t i = 36; i < 40; ++i)
        equipment.ipAddress += (i > 36 ? "." : "") + std::to_string(bytes[i]);
    for (std::size_t i = 28; i < 34; ++i)
        equipment.macAddress += (i > 28 ? "-" : "") + hexPair(bytes[i]);
    equipment.firmwareVersion =
        std::to_string(bytes[24] << 8 | bytes[25]) + "." + std::to_string(bytes[26] << 8 | bytes[27]);
    const std::uint32_t state =
        static_cast<std::uint32_t>(bytes[64]) << 24 | bytes[65] << 16 | bytes[66] << 8 | bytes[67];
    equipment.state = state == 1 ? "Allows remote configuration" : "Disable remote configuration";
    return equipment;
}

} // namespace korvan
