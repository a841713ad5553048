#pragma once

#include "base/OperationContext.h"
#include "link/PrivateFrame.h"

#include <optional>

namespace korvan {

class GatewayLink;
class Prompt;

// The memory display's exchanges: 64 bytes read from, or written to, the gateway's data
// memory (input area 0-2999, output area 3000-4999).
inline constexpr std::size_t memoryBlock = 64;

[[nodiscard]] Bytes memoryReadRequest(std::uint16_t address); // 08 04 00 AH AL 40 sum
[[nodiscard]] Bytes memoryWriteRequest(std::uint16_t address,
                                       std::span<const std::uint8_t> data); // 48 43 00 AH AL ... sum

struct MemoryBlock {
    std::uint16_t address = 0;
    Bytes data; // at most 89 bytes
};
// A read reply; nothing when its header or checksum is wrong or its length points past it.
[[nodiscard]] std::optional<MemoryBlock> decodeMemoryReply(std::span<const std::uint8_t> reply);

// What a read or a write led to; `closeWindow` for the failures that close the memory display.
struct MemoryOutcome {
    std::optional<MemoryBlock> block;
    bool ok = false;
    bool closeWindow = false;
    bool stopped = false; // the context's stop came first: nothing was sent, nothing shown
};

// A stop the context requested before the exchange sends nothing and closes the link.
[[nodiscard]] MemoryOutcome readMemory(GatewayLink& link, std::uint16_t address, Prompt& prompt,
                                       const OperationContext& context = {});
// "Send": on success shows "Success to write the memory:first~last".
[[nodiscard]] MemoryOutcome writeMemory(GatewayLink& link, std::uint16_t address,
                                        std::span<const std::uint8_t> data, Prompt& prompt,
                                        const OperationContext& context = {});

} // namespace korvan
