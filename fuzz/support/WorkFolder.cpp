#include "WorkFolder.h"

#include "Failure.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

namespace korvan::fuzz {
namespace {

// A fresh folder under the base; empty when the base does not take one.
std::string freshFolderIn(const std::string& base) {
    std::string pattern = base + "/korvan-fuzz-XXXXXX";
    return mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

const WorkFolder* made = nullptr;

} // namespace

WorkFolder& WorkFolder::instance() {
    static WorkFolder folder;
    made = &folder;
    return folder;
}

const WorkFolder* WorkFolder::existing() {
    return made;
}

WorkFolder::WorkFolder() {
    // scripts/fuzz.sh gives a folder of its own, which it removes whatever the run left.
    const char* given = std::getenv("KORVAN_FUZZ_WORK");
    const char* tmp = std::getenv("TMPDIR");
    if (given != nullptr && *given != '\0')
        path_ = freshFolderIn(given);
    if (path_.empty())
        path_ = freshFolderIn("/dev/shm");
    if (path_.empty())
        path_ = freshFolderIn(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp");
    if (path_.empty())
        fail("the work folder can be made in /dev/shm or the temporary folder");
}

WorkFolder::~WorkFolder() {
    made = nullptr;
    remove();
}

void WorkFolder::remove() const {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
}

std::string WorkFolder::file(std::string_view name) const {
    return path_ + "/" + std::string(name);
}

std::string WorkFolder::listing() const {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(path_, error))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string text;
    for (const std::string& name : names)
        text += name + "\n";
    return text;
}

void WorkFolder::empty() const {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(path_, error))
        std::filesystem::remove_all(entry.path(), error);
}

void writeWholeFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        fail("the fuzz input can be written to the work folder", path);
}

} // namespace korvan::fuzz
