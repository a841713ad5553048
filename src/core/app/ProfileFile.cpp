#include "app/ProfileFile.h"

#include "os/FileSystem.h"

#include <algorithm>
#include <cctype>

namespace korvan {
namespace {

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

bool sameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

std::optional<std::string_view> sectionName(std::string_view line) {
    line = trimmed(line);
    if (line.size() < 2 || line.front() != '[' || line.back() != ']')
        return std::nullopt;
    return trimmed(line.substr(1, line.size() - 2));
}

// The key of a "key=value" line, and where its value starts.
std::optional<std::pair<std::string_view, std::size_t>> keyOf(std::string_view line) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    return std::pair{trimmed(line.substr(0, equals)), equals + 1};
}

} // namespace

ProfileFile::ProfileFile(std::string path) : path_(std::move(path)) {
    const os::FileContents contents = os::readWholeFile(path_, 1024 * 1024);
    std::string_view rest = contents.bytes;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines_.emplace_back(line);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
}

std::optional<std::string> ProfileFile::value(std::string_view section, std::string_view key) const {
    bool inSection = false;
    for (const std::string& line : lines_) {
        if (const auto name = sectionName(line)) {
            inSection = sameName(*name, section);
        } else if (inSection) {
            if (const auto entry = keyOf(line); entry && sameName(entry->first, key))
                return line.substr(entry->second);
        }
    }
    return std::nullopt;
}

void ProfileFile::setValue(std::string_view section, std::string_view key, std::string_view value) {
    const std::string entry = std::string(key) + "=" + std::string(value);
    std::optional<std::size_t> sectionEnd;
    bool inSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (const auto name = sectionName(lines_[i])) {
            inSection = sameName(*name, section);
            if (inSection)
                sectionEnd = i + 1;
        } else if (inSection) {
            if (const auto found = keyOf(lines_[i]); found && sameName(found->first, key)) {
                lines_[i] = entry;
                return;
            }
            if (!trimmed(lines_[i]).empty())
                sectionEnd = i + 1;
        }
    }
    if (sectionEnd) {
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*sectionEnd), entry);
        return;
    }
    lines_.push_back("[" + std::string(section) + "]");
    lines_.push_back(entry);
}

bool ProfileFile::save() const {
    std::string text;
    for (const std::string& line : lines_)
        text += line + "\r\n";
    return os::replaceFileAtomically(path_, text).empty();
}

} // namespace korvan
