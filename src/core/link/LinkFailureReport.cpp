#include "link/LinkFailureReport.h"

#include "base/Prompt.h"
#include "link/LinkMessages.h"

namespace korvan {

ResultCode reportLinkFailure(LinkFailure failure, Prompt& prompt) {
    switch (failure) {
    case LinkFailure::None:
        return ResultCode::Success;
    case LinkFailure::Connect:
        prompt.message(link_text::connectFails);
        return ResultCode::TcpFailure;
    case LinkFailure::Receive:
        prompt.message(link_text::readFails);
        return ResultCode::TcpFailure;
    case LinkFailure::Setup:
    case LinkFailure::Send:
        return ResultCode::TcpFailure;
    case LinkFailure::Write:
    case LinkFailure::Read:
        return ResultCode::SerialReadFailed;
    }
    return ResultCode::TcpFailure;
}

} // namespace korvan
