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

std::string baseFolder() {
    std::error_code error;
    if (std::filesystem::is_directory("/dev/shm", error))
        return "/dev/shm";
    const char* tmp = std::getenv("TMPDIR");
    return tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
}

} // namespace

WorkFolder& WorkFolder::instance() {
    static WorkFolder folder;
    return folder;
}

WorkFolder::WorkFolder() {
    std::string pattern = baseFolder() + "/korvan-fuzz-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr)
        fail("the work folder can be made", pattern);
    path_ = pattern;
}

WorkFolder::~WorkFolder() {
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
