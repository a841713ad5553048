#include "os/FileSystem.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace korvan::os {
namespace {

std::string systemError() {
    return std::strerror(errno);
}

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

namespace {

constexpr std::string_view stagingPrefix = ".korvan-save-";
constexpr std::size_t stagingSuffixLength = 6;
constexpr int maxLinkHops = 40;

// The file a save writes: the path itself, or the file at the end of its chain of symbolic
// links, so that the link stays and the file it names gets the new contents. A link to a
// file that does not exist yet names the file to create.
std::string resolveLinks(const std::string& path, std::string& error) {
    std::string current = path;
    for (int hop = 0; hop < maxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return current;
        std::vector<char> buffer(PATH_MAX);
        const ssize_t length = ::readlink(current.c_str(), buffer.data(), buffer.size());
        if (length < 0) {
            error = systemError();
            return {};
        }
        if (static_cast<std::size_t>(length) >= buffer.size()) {
            error = std::strerror(ENAMETOOLONG);
            return {};
        }
        std::string target(buffer.data(), static_cast<std::size_t>(length));
        current = !target.empty() && target.front() == '/' ? target : joinPath(folderOf(current), target);
    }
    error = std::strerror(ELOOP);
    return {};
}

bool isStagingName(std::string_view name) {
    return name.size() == stagingPrefix.size() + stagingSuffixLength && name.starts_with(stagingPrefix);
}

// A staging file is locked for as long as its save runs; one that can be locked belongs to a
// save that was killed (or to an earlier version, which did not lock), and is removed. It is
// removed only while it is still the file that was locked.
void removeLeftover(int folder, const char* name) {
    const int fd = ::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat opened {};
    struct stat named {};
    if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && opened.st_uid == ::geteuid() &&
        ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
        named.st_dev == opened.st_dev && named.st_ino == opened.st_ino)
        ::unlinkat(folder, name, 0);
    ::close(fd);
}

void removeLeftovers(const std::string& folderPath) {
    const int folder = ::open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return;
    DIR* listing = ::fdopendir(::dup(folder));
    if (listing != nullptr) {
        std::vector<std::string> names;
        while (const dirent* entry = ::readdir(listing))
            if (isStagingName(entry->d_name))
                names.emplace_back(entry->d_name);
        ::closedir(listing);
        for (const std::string& name : names)
            removeLeftover(folder, name.c_str());
    }
    ::close(folder);
}

std::string randomStagingName() {
    static constexpr std::string_view letters =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device device;
    std::uniform_int_distribution<std::size_t> pick(0, letters.size() - 1);
    std::string name(stagingPrefix);
    for (std::size_t i = 0; i < stagingSuffixLength; ++i)
        name += letters[pick(device)];
    return name;
}

// Flushes the folder, so that the renamed entry is on disk as well; a failure changes nothing
// the engineer could act on.
void syncFolder(const std::string& folderPath) {
    const int folder = ::open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return;
    ::fsync(folder);
    ::close(folder);
}

struct Target {
    std::string path;
    std::string folder;
    bool exists = false;
    mode_t mode = 0;
};

// Gives the open staging file its mode and contents, on disk. Empty text on success.
std::string fillStagingFile(int fd, const Target& target, std::string_view bytes) {
    if (::fchmod(fd, target.mode) != 0 || !writeAll(fd, bytes) || ::fsync(fd) != 0)
        return systemError();
    return {};
}

// The named way: ".korvan-save-XXXXXX" beside the target, locked from its creation until it
// has been renamed over the target.
std::string replaceThroughNamedFile(const Target& target, std::string_view bytes) {
    std::string staging = joinPath(target.folder, std::string(stagingPrefix) + "XXXXXX");
    const int fd = ::mkostemp(staging.data(), O_CLOEXEC);
    if (fd < 0)
        return systemError();
    ::flock(fd, LOCK_EX | LOCK_NB);
    std::string failure = fillStagingFile(fd, target, bytes);
    if (failure.empty() && ::rename(staging.c_str(), target.path.c_str()) != 0)
        failure = systemError();
    if (!failure.empty())
        ::unlink(staging.c_str());
    // The contents were flushed before the rename: closing cannot lose them any more.
    ::close(fd);
    return failure;
}

enum class Linked { Done, Failed, NoUnnamedFiles };

// Gives the complete unnamed file a name: the target itself when there is none yet, else a
// staging name renamed over the target. The file stays locked until it is closed, so that a
// save killed between the two steps leaves a staging file the next save removes.
Linked linkUnnamedFile(int fd, const Target& target, std::string& failure) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (!target.exists) {
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target.path.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return Linked::Done;
        if (errno == ENOENT)
            return Linked::NoUnnamedFiles; // no /proc to link through
        if (errno != EEXIST) {
            failure = systemError();
            return Linked::Failed;
        }
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string staging = joinPath(target.folder, randomStagingName());
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, staging.c_str(), AT_SYMLINK_FOLLOW) != 0) {
            if (errno == EEXIST)
                continue;
            if (errno == ENOENT)
                return Linked::NoUnnamedFiles;
            failure = systemError();
            return Linked::Failed;
        }
        if (::rename(staging.c_str(), target.path.c_str()) == 0)
            return Linked::Done;
        failure = systemError();
        ::unlink(staging.c_str());
        return Linked::Failed;
    }
    failure = std::strerror(EEXIST);
    return Linked::Failed;
}

// The unnamed way: O_TMPFILE in the target's folder. Answers nothing when the file system
// offers no unnamed files, so that the caller takes the named way.
std::optional<std::string> replaceThroughUnnamedFile(const Target& target, std::string_view bytes) {
    const int fd = ::open(target.folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, target.mode);
    if (fd < 0) {
        if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)
            return std::nullopt;
        return systemError();
    }
    ::flock(fd, LOCK_EX | LOCK_NB);
    std::string failure = fillStagingFile(fd, target, bytes);
    Linked linked = Linked::Failed;
    if (failure.empty())
        linked = linkUnnamedFile(fd, target, failure);
    ::close(fd);
    if (linked == Linked::NoUnnamedFiles)
        return std::nullopt;
    return failure;
}

} // namespace

std::string replaceFileAtomically(const std::string& path, std::string_view bytes, StagingFile staging) {
    Target target;
    std::string error;
    target.path = resolveLinks(path, error);
    if (!error.empty())
        return error;
    struct stat existing {};
    target.exists = ::stat(target.path.c_str(), &existing) == 0;
    if (target.exists && S_ISDIR(existing.st_mode))
        return "it is a folder";
    if (target.exists && ::access(target.path.c_str(), W_OK) != 0)
        return systemError();
    target.folder = folderOf(target.path);
    target.mode = target.exists ? (existing.st_mode & 07777) : newFileMode();

    removeLeftovers(target.folder);
    std::optional<std::string> failure;
    if (staging == StagingFile::Unnamed)
        failure = replaceThroughUnnamedFile(target, bytes);
    if (!failure)
        failure = replaceThroughNamedFile(target, bytes);
    if (failure->empty())
        syncFolder(target.folder);
    return *failure;
}

} // namespace korvan::os
