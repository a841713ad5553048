#pragma once

#include <string>
#include <string_view>

namespace korvan::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    [[nodiscard]] const std::string& path() const { return path_; }
    [[nodiscard]] std::string file(std::string_view name) const;

private:
    std::string path_;
};

[[nodiscard]] std::string readFile(const std::string& path);
void writeFile(const std::string& path, std::string_view bytes);

} // namespace korvan::test
