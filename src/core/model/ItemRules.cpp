#include "model/ItemRules.h"

#include "base/Decimal.h"

namespace korvan {

ResultCode checkNumber(std::string_view text, int min, int max) {
    if (text.empty())
        return ResultCode::ItemEmpty;
    if (!isDigitsOnly(text))
        return ResultCode::IllegalChar;
    const int value = decimalValue(text);
    if (value < min || value > max)
        return ResultCode::OutOfRange;
    return ResultCode::Success;
}

} // namespace korvan
