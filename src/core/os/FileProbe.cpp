#include "os/FileProbe.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvan::os {

std::string probeWritable(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        if (!S_ISREG(info.st_mode))
            return "not a regular file";
        // Root may write to a read-only file; a file without any write permission is refused
        // all the same, as the engineer marked it so.
        if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
            return std::strerror(EACCES);
        const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd < 0)
            return std::strerror(errno);
        ::close(fd);
        return {};
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return std::strerror(errno);
    ::close(fd);
    ::unlink(path.c_str());
    return {};
}

std::string createFileBeside(const std::string& path) {
    std::string pattern = path + ".part-XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return {};
    // mkstemp makes the file private; the workbook is an ordinary document.
    ::fchmod(fd, 0644);
    ::close(fd);
    return pattern;
}

std::string moveFileOver(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) == 0)
        return {};
    const std::string reason = std::strerror(errno);
    ::unlink(from.c_str());
    return reason;
}

void removeFile(const std::string& path) {
    ::unlink(path.c_str());
}

} // namespace korvan::os
