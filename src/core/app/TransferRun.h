#pragma once

#include "base/ResultCode.h"

namespace korvan {

class CProductTarn;
class GatewayLink;
class Prompt;
class TransferProgress;
struct AppState;

// How the download or upload dialog ends after OK.
enum class TransferEnd {
    Done,      // the operation ran to its end with success
    Failed,    // it ran and failed with `code` (already reported as the dialog reports it)
    Refused,   // stopped before anything was sent: overlapping memory or the DHCP question
    Cancelled, // the port could not be opened or the device is of another type
};

struct TransferOutcome {
    TransferEnd end = TransferEnd::Failed;
    ResultCode code = ResultCode::Success;
    bool mappingConflict = false;
};

// OK in download mode: on the serial line the port is opened, the memory pre-check runs, the
// preamble and the identification go out, then downloadAll; on Ethernet the pre-check, the
// DHCP question for the TCP models, then downloadAll. A failure is reported through the
// prompt with its result message. The link is closed at the end.
[[nodiscard]] TransferOutcome runDownload(CProductTarn& product, GatewayLink& link, Prompt& prompt,
                                          TransferProgress* progress = nullptr);

// OK in upload mode: the serial identification, then uploadAll; on success the project is
// marked changed and "Upload successfully" is shown. On Ethernet a failure shows nothing
// more; on the serial line its result message.
[[nodiscard]] TransferOutcome runUpload(CProductTarn& product, AppState& state, GatewayLink& link,
                                        Prompt& prompt, TransferProgress* progress = nullptr);

// The serial identification before a download or upload: 0, the link's failure code, or 13
// after "Device's type not match" was shown (the dialog then closes as cancelled).
[[nodiscard]] ResultCode identifyGateway(GatewayLink& link, Prompt& prompt, bool& typeMismatch);

} // namespace korvan
