#pragma once

#include "hart/HartFieldInfo.h"

#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvan {

// The read-only description of the response data of every HART command 0-254: per command
// its fields in response order and the shared status entry. Built once; no lookup
// allocates. A command number outside 0-254 (255 included) has no fields.
class HartCommandCatalogue {
public:
    // The catalogue of the run, built on the first call (buildCatalogue at start-up makes
    // that call early).
    [[nodiscard]] static const HartCommandCatalogue& instance();

    // 0 for an undescribed command or a number outside 0-254.
    [[nodiscard]] int fieldCount(int command) const;
    // Field `index` (0 to fieldCount - 1); an empty field for any other index.
    [[nodiscard]] const HartFieldInfo& fieldAt(int command, int index) const;
    [[nodiscard]] std::span<const HartFieldInfo> fields(int command) const;
    // The same for every command, described or not.
    [[nodiscard]] const HartFieldInfo& statusEntry(int command) const;
    // The field or the status entry a reference names; an empty field for a bad index.
    [[nodiscard]] const HartFieldInfo& entry(int command, FieldRef ref) const;

    // The "Command Status" label gives the status entry; otherwise the lowest-index field
    // whose range text equals the text exactly.
    [[nodiscard]] FieldLookup findFieldByRange(int command, std::string_view text) const;
    // The lowest-index field starting at the byte; byte 63, which no field has, gives the
    // status entry.
    [[nodiscard]] FieldLookup findFieldByStart(int command, int startByte) const;

    // Title, CR LF and body for command selection; empty for most commands.
    [[nodiscard]] std::string_view commandDescription(int command) const;

    HartCommandCatalogue();

private:
    struct Entry {
        std::size_t first = 0;
        int count = 0;
        std::string_view description;
    };

    std::vector<HartFieldInfo> fields_;
    std::deque<std::string> texts_; // texts the fields point into; a deque never moves them
    std::vector<Entry> entries_;
    HartFieldInfo status_;
};

// Fills the catalogue of the run; called once at start-up, before the main window opens.
void buildCatalogue();

// True for a 4-byte field the response carries as an IEEE 754 single-precision value: every
// 4-byte field except the time stamp of command 9 and the shed time of commands 113 and 114.
[[nodiscard]] bool isFloatField(int command, const HartFieldInfo& field);

} // namespace korvan
