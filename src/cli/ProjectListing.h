#pragma once

#include <iosfwd>

namespace korvan {
class CProductTarn;
}

namespace korvan::cli {

// Prints the project as the tree shows it (Fieldbus, ChannelN, Node(a), Command IDn), each
// with every parameter as "name = value", indented two blanks a level, one per line.
void printProjectListing(const CProductTarn& product, std::ostream& out);

} // namespace korvan::cli
