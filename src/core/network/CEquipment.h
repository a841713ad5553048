#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace korvan {

// One gateway that answered the search, as the search list shows it.
struct CEquipment {
    std::string number;
    std::string model;
    std::string ipAddress;
    std::string macAddress;
    std::string firmwareVersion;
    std::string state;
};

// Reads a search answer. Only answers whose first four bytes are 00 00 00 03 are used, and in
// the broadcast search only those of at least 16 bytes. Fields beyond the bytes received read
// as 0: a short answer is never read past its end. The number is "%2d" of `position` in the
// broadcast search, "1" for a fixed-address query.
[[nodiscard]] std::optional<CEquipment> decodeSearchAnswer(std::span<const std::uint8_t> answer, int position,
                                                           bool broadcast);

} // namespace korvan
