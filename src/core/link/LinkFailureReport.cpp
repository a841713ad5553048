#include "link/LinkFailureReport.h"

#include "base/Prompt.h"

namespace korvan {
namespace {

ResultCode tcpFailure(std::string_view message, Prompt& prompt) {
    if (!message.empty())
        prompt.message(message);
    return ResultCode::TcpFailure;
}

} // namespace

ResultCode reportLinkFailure(LinkFailure failure, Prompt& prompt, const LinkFailureMessages& messages) {
    switch (failure) {
    case LinkFailure::None:
        return ResultCode::Success;
    case LinkFailure::Connect:
        return tcpFailure(messages.connect, prompt);
    case LinkFailure::Send:
        return tcpFailure(messages.send, prompt);
    case LinkFailure::Receive:
        return tcpFailure(messages.receive, prompt);
    case LinkFailure::Setup:
        return ResultCode::TcpFailure;
    case LinkFailure::Write:
    case LinkFailure::Read:
        return ResultCode::SerialReadFailed;
    }
    return ResultCode::TcpFailure;
}

} // namespace korvan
