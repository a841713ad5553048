#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace korvan::os {

// The directory that holds the running program, without a trailing separator.
[[nodiscard]] std::string programDirectory();

// Joins a directory and a file name with one separator (none when the directory already ends in one).
[[nodiscard]] std::string joinPath(std::string_view directory, std::string_view name);

[[nodiscard]] bool fileExists(const std::string& path);

struct FileContents {
    std::string bytes;
    std::string error; // empty on success: the system's reason otherwise
};

// Reads a whole file; files above maxBytes are refused with a reason.
[[nodiscard]] FileContents readWholeFile(const std::string& path, std::size_t maxBytes);

// How a save stages the new contents before they replace the file.
enum class StagingFile {
    // An unnamed file in the target's folder (O_TMPFILE), given a name only once complete: a
    // save killed midway leaves nothing. Where the file system has no unnamed files, Named.
    Unnamed,
    // ".korvan-save-XXXXXX" beside the target, locked while the save runs; what a killed
    // save left is removed by the next save into that folder.
    Named,
};

// Replaces the file at `path` with `bytes` so that it is never left half written: the bytes
// go to a new file in the same folder, are flushed to disk and renamed over the target. An
// existing target keeps its permissions. A symbolic link is kept: the file it leads to is
// the one replaced. Answers an empty text on success, else the reason; on failure the
// previous file is untouched.
[[nodiscard]] std::string replaceFileAtomically(const std::string& path, std::string_view bytes,
                                                StagingFile staging = StagingFile::Unnamed);

} // namespace korvan::os
