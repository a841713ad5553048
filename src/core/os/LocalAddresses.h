#pragma once

#include <string>
#include <vector>

namespace korvan::os {

// The IPv4 addresses this computer owns, as dotted text, in the system's order, at most
// `limit` of them; the loopback address is left out, since no gateway answers there.
[[nodiscard]] std::vector<std::string> localIpv4Addresses(std::size_t limit);

} // namespace korvan::os
