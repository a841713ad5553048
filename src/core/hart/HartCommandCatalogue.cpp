#include "hart/HartCommandCatalogue.h"

#include "hart/HartCatalogueTable.h"

#include <string>

namespace korvan {
namespace {

constexpr int CommandSlots = 255; // 0-254; command 255 has no entry

const HartFieldInfo emptyField{};

bool inRange(int command) {
    return command >= 0 && command < CommandSlots;
}

// One byte: its number; more: first and last byte joined by a hyphen.
std::string rangeTextOf(int start, int length) {
    if (length == 1)
        return std::to_string(start);
    return std::to_string(start) + "-" + std::to_string(start + length - 1);
}

std::string slotText(std::string_view slot0Text, int slot) {
    std::string text(slot0Text);
    text[text.find('0')] = static_cast<char>('0' + slot);
    return text;
}

} // namespace

const HartCommandCatalogue& HartCommandCatalogue::instance() {
    static const HartCommandCatalogue catalogue;
    return catalogue;
}

void buildCatalogue() {
    static_cast<void>(HartCommandCatalogue::instance());
}

HartCommandCatalogue::HartCommandCatalogue() : entries_(CommandSlots) {
    status_ = {StatusEntryStartByte, StatusEntryLength, CommandStatusLabel, CommandStatusDescription};

    // Appends the next field of `command`, which follows the previous one unless it names
    // its own start byte.
    int next = 0;
    const auto add = [&](int command, int length, std::string_view description, int startByte) {
        const int start = startByte >= 0 ? startByte : next;
        const std::string& range = texts_.emplace_back(rangeTextOf(start, length));
        fields_.push_back({start, length, range, description});
        ++entries_[static_cast<std::size_t>(command)].count;
        next = start + length;
    };
    const auto begin = [&](int command) {
        entries_[static_cast<std::size_t>(command)].first = fields_.size();
        next = 0;
    };

    using namespace catalogue_table;
    bool slotsDone = false;
    for (const RawCommand& raw : describedCommands()) {
        if (raw.number > SlotCommand && !slotsDone) {
            slotsDone = true;
            // Command 9 sits between 8 and 11: its 42 fields are formed from slot 0's.
            begin(SlotCommand);
            const RawField lead = slotLeadingField();
            add(SlotCommand, lead.length, lead.description, -1);
            for (int slot = 0; slot < SlotCount; ++slot)
                for (const RawField& field : slotFields())
                    add(SlotCommand, field.length, texts_.emplace_back(slotText(field.description, slot)),
                        -1);
            const RawField trail = slotTrailingField();
            add(SlotCommand, trail.length, trail.description, -1);
        }
        begin(raw.number);
        for (const RawField& field : raw.fields)
            add(raw.number, field.length, field.description, field.startByte);
    }
    for (const RawDescription& text : commandDescriptions()) {
        const std::string joined = text.body.empty()
                                       ? std::string(text.title)
                                       : std::string(text.title) + "\r\n" + std::string(text.body);
        entries_[static_cast<std::size_t>(text.number)].description = texts_.emplace_back(joined);
    }
}

int HartCommandCatalogue::fieldCount(int command) const {
    return inRange(command) ? entries_[static_cast<std::size_t>(command)].count : 0;
}

std::span<const HartFieldInfo> HartCommandCatalogue::fields(int command) const {
    if (!inRange(command))
        return {};
    const Entry& entry = entries_[static_cast<std::size_t>(command)];
    return std::span<const HartFieldInfo>(fields_).subspan(entry.first,
                                                           static_cast<std::size_t>(entry.count));
}

const HartFieldInfo& HartCommandCatalogue::fieldAt(int command, int index) const {
    const auto list = fields(command);
    if (index < 0 || static_cast<std::size_t>(index) >= list.size())
        return emptyField;
    return list[static_cast<std::size_t>(index)];
}

const HartFieldInfo& HartCommandCatalogue::statusEntry(int /*command*/) const {
    return status_;
}

const HartFieldInfo& HartCommandCatalogue::entry(int command, FieldRef ref) const {
    return ref.isStatus() ? status_ : fieldAt(command, ref.index);
}

FieldLookup HartCommandCatalogue::findFieldByRange(int command, std::string_view text) const {
    if (text == CommandStatusLabel)
        return FieldRef::status();
    const auto list = fields(command);
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].rangeText == text)
            return FieldRef::field(static_cast<int>(i));
    return std::nullopt;
}

FieldLookup HartCommandCatalogue::findFieldByStart(int command, int startByte) const {
    const auto list = fields(command);
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].startByte == startByte)
            return FieldRef::field(static_cast<int>(i));
    if (startByte == StatusEntryStartByte)
        return FieldRef::status();
    return std::nullopt;
}

std::string_view HartCommandCatalogue::commandDescription(int command) const {
    return inRange(command) ? entries_[static_cast<std::size_t>(command)].description : std::string_view{};
}

bool isFloatField(int command, const HartFieldInfo& field) {
    if (field.length != 4)
        return false;
    const HartCommandCatalogue& catalogue = HartCommandCatalogue::instance();
    const int count = catalogue.fieldCount(command);
    // The time stamp ends command 9, the shed time ends commands 113 and 114.
    const bool lastField = count > 0 && field.startByte == catalogue.fieldAt(command, count - 1).startByte;
    return !(lastField && (command == 9 || command == 113 || command == 114));
}

} // namespace korvan
