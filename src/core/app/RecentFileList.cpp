#include "app/RecentFileList.h"

#include <algorithm>

namespace korvan {

void RecentFileList::assign(const std::vector<std::string>& paths) {
    entries_.clear();
    for (const std::string& path : paths) {
        if (entries_.size() == size_)
            break;
        if (!path.empty() && std::find(entries_.begin(), entries_.end(), path) == entries_.end())
            entries_.push_back(path);
    }
}

void RecentFileList::add(const std::string& path) {
    if (path.empty() || size_ == 0)
        return;
    remove(path);
    entries_.insert(entries_.begin(), path);
    if (entries_.size() > size_)
        entries_.resize(size_);
}

void RecentFileList::remove(const std::string& path) {
    entries_.erase(std::remove(entries_.begin(), entries_.end(), path), entries_.end());
}

} // namespace korvan
