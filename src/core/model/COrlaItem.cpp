#include "model/COrlaItem.h"

#include <algorithm>

namespace korvan {

void COrlaItem::setup(std::string_view name, std::string_view help, std::string_view value, std::uint32_t kind,
                      int enabled) {
    name_ = name;
    help_ = help;
    value_ = value;
    kind_ = kind;
    enabled_ = enabled;
    savedValue_ = value_;
    savedKind_ = kind;
    savedEnabled_ = enabled;
}

bool COrlaItem::selectChoice(int index) {
    if (index < 0 || index >= static_cast<int>(choices_.size()))
        return false;
    value_ = choices_[static_cast<std::size_t>(index)];
    return true;
}

int COrlaItem::choiceIndex() const {
    const auto it = std::find(choices_.begin(), choices_.end(), value_);
    return it == choices_.end() ? -1 : static_cast<int>(it - choices_.begin());
}

void COrlaItem::restoreSaved() {
    value_ = savedValue_;
    kind_ = savedKind_;
    enabled_ = savedEnabled_;
}

} // namespace korvan
