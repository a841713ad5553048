#pragma once

#include "base/ResultCode.h"
#include "link/LinkRequest.h"

namespace korvan {

class Prompt;

// The result code of a failed configuration exchange, after showing the link's connect or
// read message where the engineer must see one.
[[nodiscard]] ResultCode reportLinkFailure(LinkFailure failure, Prompt& prompt);

} // namespace korvan
