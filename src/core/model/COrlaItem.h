#pragma once

#include "model/CObject.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvan {

// How the editor treats an item's value.
enum ItemKind : std::uint32_t {
    FixedText = 0,
    TypedValue = 1,
    Choice = 2,
};

// One named parameter: every setting shown, saved or sent is an item at a fixed position in
// its owner's list. Values are held as text. The same record also stores one advanced data
// segment of a command, with its members read as the segment's fields (see the segment
// accessors).
class COrlaItem : public CObject {
public:
    COrlaItem() = default;

    void setup(std::string_view name, std::string_view help, std::string_view value, std::uint32_t kind,
               int enabled);
    void addChoice(std::string_view text) { choices_.emplace_back(text); }
    void setEnabled(int flag) { enabled_ = flag; }

    // The value becomes choice `index`; an index outside the list changes nothing.
    bool selectChoice(int index);
    // Position of the value in the choice list (exact comparison), -1 when absent.
    [[nodiscard]] int choiceIndex() const;
    void restoreSaved();

    [[nodiscard]] const std::vector<std::string>& choices() const { return choices_; }
    std::vector<std::string>& choices() { return choices_; }
    [[nodiscard]] const std::string& help() const { return help_; }
    [[nodiscard]] const std::string& name() const { return name_; }
    [[nodiscard]] const std::string& value() const { return value_; }
    [[nodiscard]] std::uint32_t kind() const { return kind_; }
    [[nodiscard]] int enabled() const { return enabled_; }
    [[nodiscard]] const std::string& savedValue() const { return savedValue_; }
    [[nodiscard]] std::uint32_t savedKind() const { return savedKind_; }
    [[nodiscard]] int savedEnabled() const { return savedEnabled_; }

    void setHelp(std::string_view text) { help_ = text; }
    void setName(std::string_view text) { name_ = text; }
    void setValue(std::string_view text) { value_ = text; }
    void setKind(std::uint32_t kind) { kind_ = kind; }
    void setSavedValue(std::string_view text) { savedValue_ = text; }
    void setSavedKind(std::uint32_t kind) { savedKind_ = kind; }
    void setSavedEnabled(int flag) { savedEnabled_ = flag; }

    // The record read as an advanced data segment.
    [[nodiscard]] bool segmentEnabled() const { return enabled_ != 0; }
    [[nodiscard]] bool segmentSwap() const { return savedEnabled_ != 0; }
    [[nodiscard]] const std::string& segmentAddress() const { return help_; }
    [[nodiscard]] const std::string& segmentOffset() const { return name_; }
    [[nodiscard]] const std::string& segmentEnableCount() const { return savedValue_; }
    [[nodiscard]] const std::string& segmentLength() const { return value_; }
    void setSegmentEnabled(bool on) { enabled_ = on ? 1 : 0; }
    void setSegmentSwap(bool on) { savedEnabled_ = on ? 1 : 0; }
    void setSegmentAddress(std::string_view text) { help_ = text; }
    void setSegmentOffset(std::string_view text) { name_ = text; }
    void setSegmentEnableCount(std::string_view text) { savedValue_ = text; }
    void setSegmentLength(std::string_view text) { value_ = text; }

private:
    std::vector<std::string> choices_;
    std::string help_;
    std::string name_;
    std::string value_;
    std::uint32_t kind_ = FixedText;
    int enabled_ = 1;
    std::string savedValue_;
    std::uint32_t savedKind_ = FixedText;
    int savedEnabled_ = 0;
};

// A constant description of an item with its defaults, from which the model builds its lists.
struct ItemSpec {
    std::string_view name;
    std::string_view help;
    std::string_view value;
    std::uint32_t kind;
    bool enabled;
    std::span<const std::string_view> choices;
};

} // namespace korvan
