#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvan {

// A settings file of "[section]" headers and "key=value" lines, read whole and written back
// whole with its other lines kept as they were. Section and key names compare without
// regard to letter case; values are kept exactly, blanks included.
class ProfileFile {
public:
    explicit ProfileFile(std::string path);

    [[nodiscard]] std::optional<std::string> value(std::string_view section, std::string_view key) const;
    void setValue(std::string_view section, std::string_view key, std::string_view value);
    // Writes the file safely; false when it cannot be written.
    bool save() const;

private:
    std::string path_;
    std::vector<std::string> lines_;
};

} // namespace korvan
