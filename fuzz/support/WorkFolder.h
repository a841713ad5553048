#pragma once

#include <string>
#include <string_view>

namespace korvan::fuzz {

// The fuzz target's own folder for the files it saves and opens, in memory (/dev/shm) where
// the system has it, so that the saves' flushes to disk cost nothing; removed at exit and
// before a broken expectation aborts the run.
class WorkFolder {
public:
    // The folder of the process.
    static WorkFolder& instance();

    [[nodiscard]] const std::string& path() const { return path_; }
    [[nodiscard]] std::string file(std::string_view name) const;
    // The names of the files in the folder, sorted.
    [[nodiscard]] std::string listing() const;
    // Removes every file in the folder.
    void empty() const;
    // Removes the folder itself (at exit, or before a failure aborts the run).
    void remove() const;
    // The folder of the process when it has been made, else null.
    static const WorkFolder* existing();

    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

private:
    WorkFolder();
    ~WorkFolder();

    std::string path_;
};

// Writes the bytes to the file, replacing it; fails the run when it cannot.
void writeWholeFile(const std::string& path, std::string_view bytes);

} // namespace korvan::fuzz
