#pragma once

#include "model/GatewayModel.h"

#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>

namespace korvan {
class CProductTarn;
}

namespace korvan::fuzz {

// The three models, in the order an input's model byte picks them.
inline constexpr GatewayModel fuzzModels[] = {GatewayModel::Vela1hTcp, GatewayModel::Vela3hTcp,
                                              GatewayModel::Vela3hRtu};
[[nodiscard]] GatewayModel modelFromByte(std::uint8_t byte);

// The project file of a product with a fixed time of saving, so that two saves compare.
[[nodiscard]] std::string projectText(const CProductTarn& product);

// Saves the project with the program's own save into the work folder, opens the saved file
// in a fresh product of the same model and fails unless that saves the same bytes. After the
// save the folder holds the project file and nothing else.
void expectSameAfterReopen(const CProductTarn& product, std::string_view what);

} // namespace korvan::fuzz
