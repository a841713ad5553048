#pragma once

#include <string>

namespace korvan {
class CProductTarn;
}

namespace korvan::test {

// Every stored detail of a product as text, one line per item, so that two products can be
// compared with a readable difference.
[[nodiscard]] std::string describeProduct(const CProductTarn& product);

} // namespace korvan::test
