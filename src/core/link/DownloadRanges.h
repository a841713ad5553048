#pragma once

#include <optional>
#include <string>

namespace korvan {

class CProductTarn;

// Every number a download puts in a frame comes from the project's items, which a file can
// fill with any int. A value that its frame field cannot carry is refused before anything
// is sent rather than cut to the field's bytes: the gateway would otherwise run a
// configuration other than the one the engineer sees.
//
// Answers the message for the first such value in download order (the network side, then
// per channel its 'C' values and every downloaded command's 'D' values and segments), or
// nothing when every value fits.
[[nodiscard]] std::optional<std::string> unsendableValue(const CProductTarn& product);

} // namespace korvan
