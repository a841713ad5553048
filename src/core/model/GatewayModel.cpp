#include "model/GatewayModel.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace korvan {
namespace {

struct ModelNames {
    GatewayModel model;
    std::string_view name;
    std::string_view templateFile;
};

constexpr std::array models{
    ModelNames{GatewayModel::Vela3hRtu, "Vela-3H-RTU", "Vela-3H-RTU.ini"},
    ModelNames{GatewayModel::Vela3hTcp, "Vela-3H-TCP", "Vela-3H-TCP.ini"},
    ModelNames{GatewayModel::Vela1hTcp, "Vela-1H-TCP", "Vela-1H-TCP.ini"},
};

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace

std::string_view modelName(GatewayModel model) {
    for (const ModelNames& entry : models)
        if (entry.model == model)
            return entry.name;
    return "";
}

std::optional<GatewayModel> parseModelName(std::string_view name) {
    for (const ModelNames& entry : models)
        if (equalIgnoringCase(entry.name, name))
            return entry.model;
    return std::nullopt;
}

std::string_view templateFileName(GatewayModel model) {
    for (const ModelNames& entry : models)
        if (entry.model == model)
            return entry.templateFile;
    return "";
}

} // namespace korvan
