#pragma once

#include <string_view>

namespace korvan {

class AdvancedSelectionTable;
class COrlaCommand;
class Prompt;

// Shown when a selection would need more than the 26 segment records of a command.
inline constexpr std::string_view TooManySegmentsMessage =
    "A command holds at most 26 data segments: no more bytes can be selected!";

// Selects entries of a command from its Basic receive mapping. With a receive length below
// 1 and no stored segments every 4-byte field is selected with swap on. With a length of 1
// or more the status entry is selected from a length of 2, then the fields in catalogue
// order as long as their bytes, after the 2 status bytes, fit in the length; swap flags are
// not changed. Selecting stops at 26 entries with TooManySegmentsMessage.
void convertToAdvanced(AdvancedSelectionTable& table, int command, int receiveLength,
                       bool holdsStoredSegments, Prompt& prompt);

// Shown when stored segments start at a byte where no response field of the command starts
// (a hand-edited project, say): the dialog cannot show them, so storing the selection back
// leaves them out, and the engineer is told before that happens.
inline constexpr std::string_view UnplacedSegmentsMessage =
    "Some stored data segments start where no response field of this command starts: they are left out!";

// What the dialog opening needs from the command, read before the stored segments are loaded.
struct AdvancedOpening {
    int receiveLength = 0;            // the Basic receive length in bytes, 0 when not in Basic use
    bool holdsStoredSegments = false; // the first segment record has a length of 1 or more
};

// Before the Advanced Configuration dialog opens: reads the Basic receive length, sets the
// receive items to "0", and selects in the table the entry of every enabled stored segment
// (the first field starting at its offset; 63 is the status entry) with its swap flag and
// address. The segment count becomes "0" until the selection is stored back. A segment no
// entry matches shows UnplacedSegmentsMessage.
[[nodiscard]] AdvancedOpening loadStoredSegments(AdvancedSelectionTable& table, COrlaCommand& command,
                                                 Prompt& prompt);

// After the dialog closes: writes the selection into the segment records, the status entry
// first, then the fields in catalogue order, with the count in the first record, and clears
// the command's entries in the table. More entries than records leave the records as they
// were and show TooManySegmentsMessage; the answer is then false.
bool storeSelection(AdvancedSelectionTable& table, COrlaCommand& command, Prompt& prompt);

} // namespace korvan
