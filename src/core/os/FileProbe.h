#pragma once

#include <string>

namespace korvan::os {

// Whether a file could be written at the path, tried without changing anything: an existing
// file is opened for writing without truncation, a missing one is created and removed again.
// Answers an empty text when it can, else the system's reason.
[[nodiscard]] std::string probeWritable(const std::string& path);

// A new, empty file beside the path for writing a replacement; empty text on failure.
[[nodiscard]] std::string createFileBeside(const std::string& path);

// Renames `from` over `to`; empty text on success, else the reason (`from` is then removed).
[[nodiscard]] std::string moveFileOver(const std::string& from, const std::string& to);

void removeFile(const std::string& path);

} // namespace korvan::os
