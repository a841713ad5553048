#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace korvan {

// File / Recent Files: the projects last opened or saved, the newest first, each path once,
// with room for a fixed number of entries. Where the list is kept is the front end's choice.
class RecentFileList {
public:
    static constexpr std::size_t DefaultSize = 4;

    explicit RecentFileList(std::size_t size = DefaultSize) : size_(size) {}

    // Replaces the entries (read from the store): empty and repeated paths are dropped and
    // the list is cut to its size.
    void assign(const std::vector<std::string>& paths);
    // The path becomes the first entry; the oldest entry drops out when the list is full.
    void add(const std::string& path);
    void remove(const std::string& path);

    [[nodiscard]] const std::vector<std::string>& entries() const { return entries_; }
    [[nodiscard]] std::size_t size() const { return size_; }

private:
    std::size_t size_;
    std::vector<std::string> entries_;
};

} // namespace korvan
