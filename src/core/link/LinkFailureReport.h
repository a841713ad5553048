#pragma once

#include "base/ResultCode.h"
#include "link/LinkMessages.h"
#include "link/LinkRequest.h"

#include <string_view>

namespace korvan {

class Prompt;

// What one kind of exchange shows when its connection, its send or its receive fails; an
// empty text shows nothing.
struct LinkFailureMessages {
    std::string_view connect;
    std::string_view send;
    std::string_view receive;
};

// The configuration frames: channel, command, table and the upload's records.
inline constexpr LinkFailureMessages configurationFailureMessages{
    link_text::connectFails, {}, link_text::readFails};
// The management port's writes: the network side's block and the identity exchange.
inline constexpr LinkFailureMessages managementWriteFailureMessages{
    link_text::connectFails, link_text::acceptDataPacketsFail, link_text::writeConfigurationFailed};
// The management port's read of the network side's block.
inline constexpr LinkFailureMessages managementReadFailureMessages{
    link_text::connectFails, {}, link_text::acceptPacketsFail};

// The result code of a failed exchange, after showing the exchange's message for it where
// there is one: 13 for a TCP failure, 5 for a serial one.
[[nodiscard]] ResultCode
reportLinkFailure(LinkFailure failure, Prompt& prompt,
                  const LinkFailureMessages& messages = configurationFailureMessages);

} // namespace korvan
