#include "hart/ResponseTexts.h"

#include <array>
#include <span>

namespace korvan {
namespace {

struct CodeText {
    std::uint8_t code;
    std::string_view text;
};

std::string_view lookUp(std::span<const CodeText> table, std::uint8_t code, std::string_view otherwise) {
    for (const CodeText& entry : table)
        if (entry.code == code)
            return entry.text;
    return otherwise;
}

constexpr std::array<CodeText, 6> statusTexts{{{0, "NoErr"},
                                               {0x82, "BufferOverflowErr"},
                                               {0x88, "LongitudinalParityErr"},
                                               {0x90, "FramingErr"},
                                               {0xA0, "OverrunErr"},
                                               {0xC0, "VerticalParityErr"}}};

constexpr std::array<std::string_view, 9> responseTexts{"sSuccess",    "AccessRestrict", "InWriteProtect",
                                                        "Busy",        "CommandErr",     "UpdataFailure",
                                                        "PollAddrErr", "TooFewData",     "ErrModeSelect"};

constexpr std::array<CodeText, 10> transferTexts{{{0, "linear"},
                                                  {1, "SquareRoot"},
                                                  {2, "SquareRoot_3"},
                                                  {3, "SquareRoot_5"},
                                                  {4, "SpecialCurve"},
                                                  {5, "Square"},
                                                  {230, "Switch"},
                                                  {231, "SquareRootPlus"},
                                                  {232, "SquareRootPlus_3"},
                                                  {233, "SquareRootPlus_5"}}};

} // namespace

std::string_view communicationStatusText(std::uint8_t status) {
    return lookUp(statusTexts, status, "Reserved");
}

std::string_view responseCodeText(std::uint8_t index) {
    return index < responseTexts.size() ? responseTexts[index] : "Undefine";
}

std::string_view alarmSelectionText(std::uint8_t code) {
    return code == 0 ? "High" : code == 1 ? "Low" : "LastValue";
}

std::string_view transferFunctionText(std::uint8_t code) {
    return lookUp(transferTexts, code, "");
}

} // namespace korvan
