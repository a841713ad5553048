#pragma once

#include "base/OperationContext.h"
#include "base/ResultCode.h"

namespace korvan {

class CProductTarn;
class GatewayLink;
class Prompt;
struct AppState;

// How the download or upload dialog ends after OK.
enum class TransferEnd {
    Done,      // the operation ran to its end with success
    Failed,    // it ran and failed with `code` (already reported as the dialog reports it)
    Refused,   // stopped before anything was sent: overlapping memory, a value that does not fit
               // its frame, or the DHCP question
    Cancelled, // the port could not be opened or the device is of another type
    Stopped,   // the context's stop ended it between two exchanges (`code` is Stopped, shown)
};

struct TransferOutcome {
    TransferEnd end = TransferEnd::Failed;
    ResultCode code = ResultCode::Success;
    bool mappingConflict = false;
};

// OK in download mode: on the serial line the port is opened, the pre-checks run (memory
// overlaps, then values that do not fit their frames), the preamble and the identification
// go out, then downloadAll; on Ethernet the pre-checks, the
// DHCP question for the TCP models, then downloadAll. A failure is reported through the
// prompt with its result message unless the failing step reported it already. The link is
// closed at the end. The context's stop is checked before every exchange, its progress told
// after every frame of downloadAll.
[[nodiscard]] TransferOutcome runDownload(CProductTarn& product, GatewayLink& link, Prompt& prompt,
                                          const OperationContext& context = {});

// OK in upload mode: the serial identification, then uploadAll; on success the project is
// marked changed and "Upload successfully" is shown. A failure shows its result message
// unless uploadAll reported it already (as it does on Ethernet); a stop always shows its own.
[[nodiscard]] TransferOutcome runUpload(CProductTarn& product, AppState& state, GatewayLink& link,
                                        Prompt& prompt, const OperationContext& context = {});

// The serial identification before a download or upload: 0, the link's failure code, or 13
// after "Device's type not match" was shown (the dialog then closes as cancelled).
[[nodiscard]] ResultCode identifyGateway(GatewayLink& link, Prompt& prompt, bool& typeMismatch);

} // namespace korvan
