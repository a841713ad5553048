#include "os/FileSystem.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <vector>

namespace korvan::os {
namespace {

std::string systemError() { return std::strerror(errno); }

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

} // namespace

std::string programDirectory() {
    std::vector<char> buffer(PATH_MAX);
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0)
        return {};
    return folderOf(std::string(buffer.data(), static_cast<std::size_t>(length)));
}

std::string joinPath(std::string_view directory, std::string_view name) {
    std::string path(directory);
    if (path.empty() || path.back() != '/')
        path += '/';
    path += name;
    return path;
}

bool fileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

FileContents readWholeFile(const std::string& path, std::size_t maxBytes) {
    FileContents contents;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        contents.error = systemError();
        return contents;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        contents.error = S_ISDIR(info.st_mode) ? "it is a folder" : systemError();
        ::close(fd);
        return contents;
    }
    if (static_cast<std::size_t>(info.st_size) > maxBytes) {
        contents.error = "the file is larger than " + std::to_string(maxBytes / (1024 * 1024)) + " MiB";
        ::close(fd);
        return contents;
    }
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            contents.error = systemError();
            contents.bytes.clear();
            break;
        }
        if (got == 0)
            break;
        contents.bytes.append(chunk, static_cast<std::size_t>(got));
        if (contents.bytes.size() > maxBytes) {
            contents.error = "the file is larger than " + std::to_string(maxBytes / (1024 * 1024)) + " MiB";
            contents.bytes.clear();
            break;
        }
    }
    ::close(fd);
    return contents;
}

std::string replaceFileAtomically(const std::string& path, std::string_view bytes) {
    struct stat existing {};
    const bool targetExists = ::stat(path.c_str(), &existing) == 0;
    if (targetExists && S_ISDIR(existing.st_mode))
        return "it is a folder";
    if (targetExists && ::access(path.c_str(), W_OK) != 0)
        return systemError();

    std::string temporary = folderOf(path) + "/.korvan-save-XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return systemError();
    const mode_t mode = targetExists ? (existing.st_mode & 07777) : newFileMode();
    std::string failure;
    if (::fchmod(fd, mode) != 0 || !writeAll(fd, bytes) || ::fsync(fd) != 0)
        failure = systemError();
    if (::close(fd) != 0 && failure.empty())
        failure = systemError();
    if (failure.empty() && ::rename(temporary.c_str(), path.c_str()) != 0)
        failure = systemError();
    if (!failure.empty())
        ::unlink(temporary.c_str());
    return failure;
}

} // namespace korvan::os
