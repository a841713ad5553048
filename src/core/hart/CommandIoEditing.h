#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvan {

class Prompt;

// The rules of the command I/O data window that do not need the window: which buttons and
// rows are open for a command, how an edited cell is committed, and the frames it sends.

struct CommandIoButtons {
    bool edit = true;
    bool refresh = true;
};

[[nodiscard]] CommandIoButtons commandIoButtons(int command);

// Rows count from 0 with the two status rows first; only data rows can be edited, and for
// command 11 only its tag row.
[[nodiscard]] bool isEditableRow(int command, int row, const CommandIoButtons& buttons);

// The text a committed edit leaves in the cell, always in upper case; nothing when it is
// refused ("Date format error!" for a bad date), and the cell keeps its text.
[[nodiscard]] std::optional<std::string> commitCellText(int command, int row, std::string_view text,
                                                        Prompt& prompt);

// The lowest and highest year a HART date holds: its year byte counts from 1900.
inline constexpr int FirstDateYear = 1900;
inline constexpr int LastDateYear = 1900 + 255;

// A frame to send and the acknowledgement the gateway answers it with.
struct CommandIoFrame {
    std::vector<std::uint8_t> frame;
    std::vector<std::uint8_t> expectedAnswer;
};

// The write frame "G" of a writable command (6, 11, 17, 18, 19) built from the cells of the
// rows, or nothing for another command or a cell that cannot be packed ("Has Illegal char").
[[nodiscard]] std::optional<CommandIoFrame> buildWriteFrame(int command, std::uint8_t channel,
                                                            std::uint8_t node,
                                                            std::span<const std::string> cells,
                                                            Prompt& prompt);

// The read request of the latest response on a serial line: 07 02, channel, node, checksum.
[[nodiscard]] std::vector<std::uint8_t> readRequestFrame(std::uint8_t channel, std::uint8_t node);
// The same request in the tunnel frame sent to port 502 on Ethernet (19 bytes).
[[nodiscard]] std::vector<std::uint8_t> readRequestTunnelFrame(std::uint8_t channel, std::uint8_t node);

} // namespace korvan
