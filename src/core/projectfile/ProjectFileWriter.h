#pragma once

#include <string>

namespace korvan {

class CProductTarn;

// The project document as text, in the generation the product's file format calls for.
// `dateTime` is written as the time of saving.
[[nodiscard]] std::string writeProjectDocument(const CProductTarn& product, const std::string& dateTime);

} // namespace korvan
