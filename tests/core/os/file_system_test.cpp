#include "os/FileSystem.h"
#include "support/TempDir.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace korvan {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool isStagingName(const std::string& name) {
    return name.starts_with(".korvan-save-");
}

// True once the child holds the file the save writes its bytes into: an open file in the
// folder that has no name yet (O_TMPFILE shows as "#<inode> (deleted)"), or a staging file
// beside the target.
bool stagingFileExists(pid_t child, const std::string& folder) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/proc/" + std::to_string(child) + "/fd", error)) {
        std::error_code unreadable;
        const std::string target = fs::read_symlink(entry.path(), unreadable).string();
        if (!unreadable && target.starts_with(folder + "/") &&
            (target.ends_with(" (deleted)") || isStagingName(fs::path(target).filename().string())))
            return true;
    }
    return false;
}

enum class Killed { MidWrite, TooLate };

// Forks a child that saves `bytes` over the target and kills it once the file it writes
// into exists, polled for at most ten seconds. The bytes are made before the fork, so that
// the child only saves.
Killed killSaveMidWrite(const std::string& folder, const std::string& target, const std::string& bytes,
                        os::StagingFile staging) {
    const pid_t child = ::fork();
    if (child == 0) {
        const std::string error = os::replaceFileAtomically(target, bytes, staging);
        ::_exit(error.empty() ? 0 : 1);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    bool seen = false;
    while (!seen && std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (::waitpid(child, &status, WNOHANG) == child)
            return Killed::TooLate; // the save finished before it was seen
        seen = stagingFileExists(child, folder);
        if (!seen)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(seen) << "the save's file never appeared";
    return WIFSIGNALED(status) ? Killed::MidWrite : Killed::TooLate;
}

// Kills a save while it writes; a save that finished first is tried again with more bytes.
void killASave(const std::string& folder, const std::string& target, os::StagingFile staging) {
    std::size_t size = std::size_t{64} << 20;
    for (int attempt = 0; attempt < 4; ++attempt, size *= 2) {
        const std::string bytes(size, 'x');
        if (killSaveMidWrite(folder, target, bytes, staging) == Killed::MidWrite)
            return;
        test::writeFile(target, "previous project");
    }
    FAIL() << "every save finished before it could be killed";
}

TEST(ReplaceFileAtomically, ASaveKilledMidWriteLeavesNothingBehind) {
    test::TempDir dir;
    if (const int probe = ::open(dir.path().c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600); probe >= 0)
        ::close(probe);
    else
        GTEST_SKIP() << "the temporary folder's file system has no unnamed files";
    const std::string target = dir.file("p.xml");
    test::writeFile(target, "previous project");
    killASave(dir.path(), target, os::StagingFile::Unnamed);
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"p.xml"});
    EXPECT_EQ(test::readFile(target), "previous project");
}

// Where a named staging file had to be used, what a killed save left is removed by the next
// save into the folder; a staging file whose save still runs (it is locked) is left alone.
TEST(ReplaceFileAtomically, TheNextSaveRemovesWhatAKilledNamedSaveLeft) {
    test::TempDir dir;
    const std::string target = dir.file("p.xml");
    test::writeFile(target, "previous project");
    killASave(dir.path(), target, os::StagingFile::Named);
    ASSERT_EQ(namesIn(dir.path()).size(), 2u) << "the killed save's staging file is there";
    EXPECT_EQ(test::readFile(target), "previous project");

    test::writeFile(dir.file(".korvan-save-ab12CD"), "left by an earlier version");
    const std::string running = dir.file(".korvan-save-Run123");
    test::writeFile(running, "a save still running");
    // A lock of another open file conflicts with the save's own, as a running save's does.
    const int held = ::open(running.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    EXPECT_EQ(os::replaceFileAtomically(target, "new project", os::StagingFile::Named), "");
    ::close(held);
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{".korvan-save-Run123", "p.xml"}));
    EXPECT_EQ(test::readFile(target), "new project");

    EXPECT_EQ(os::replaceFileAtomically(target, "newer project"), "");
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"p.xml"});
}

// Saving through a symbolic link writes the file the link leads to, through a chain of links
// and relative ones alike, and keeps every link.
TEST(ReplaceFileAtomically, SavingThroughALinkReplacesTheFileItLeadsTo) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> links; // link name, its target as written
        const char* saved;                                      // the link saved through
        const char* file;                                       // the file that gets the bytes
    };
    const std::vector<Case> cases{
        {"absolute", {{"link.xml", "@/real/p.xml"}}, "link.xml", "real/p.xml"},
        {"relative", {{"link.xml", "real/p.xml"}}, "link.xml", "real/p.xml"},
        {"chain", {{"first.xml", "second.xml"}, {"second.xml", "real/p.xml"}}, "first.xml", "real/p.xml"},
        {"relative from its own folder", {{"real/link.xml", "p.xml"}}, "real/link.xml", "real/p.xml"},
        {"to a file not there yet", {{"link.xml", "real/new.xml"}}, "link.xml", "real/new.xml"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        fs::create_directory(dir.file("real"));
        test::writeFile(dir.file("real/p.xml"), "old");
        fs::permissions(dir.file("real/p.xml"), fs::perms(0640));
        for (const auto& [link, written] : c.links)
            fs::create_symlink(written.starts_with('@') ? dir.path() + written.substr(1) : written,
                               dir.file(link));
        for (const auto staging : {os::StagingFile::Unnamed, os::StagingFile::Named}) {
            ASSERT_EQ(os::replaceFileAtomically(dir.file(c.saved), "new", staging), "");
            EXPECT_EQ(test::readFile(dir.file(c.file)), "new");
            for (const auto& [link, written] : c.links)
                EXPECT_TRUE(fs::is_symlink(dir.file(link))) << link;
        }
        if (std::string(c.file) == "real/p.xml") {
            EXPECT_EQ(fs::status(dir.file(c.file)).permissions(), fs::perms(0640));
        }
        for (const std::string& folder : {dir.path(), dir.file("real")})
            for (const std::string& name : namesIn(folder))
                EXPECT_FALSE(isStagingName(name)) << name;
    }
}

TEST(ReplaceFileAtomically, ALoopOfLinksIsReported) {
    test::TempDir dir;
    fs::create_symlink("b.xml", dir.file("a.xml"));
    fs::create_symlink("a.xml", dir.file("b.xml"));
    EXPECT_NE(os::replaceFileAtomically(dir.file("a.xml"), "new"), "");
    EXPECT_TRUE(fs::is_symlink(dir.file("a.xml")));
    EXPECT_TRUE(fs::is_symlink(dir.file("b.xml")));
}

// A new file and a file replaced get the bytes in both ways of staging, and nothing else
// stays in the folder.
TEST(ReplaceFileAtomically, WritesNewAndExistingFilesAlike) {
    for (const auto staging : {os::StagingFile::Unnamed, os::StagingFile::Named}) {
        test::TempDir dir;
        const std::string target = dir.file("p.xml");
        ASSERT_EQ(os::replaceFileAtomically(target, "first", staging), "");
        EXPECT_EQ(test::readFile(target), "first");
        ASSERT_EQ(os::replaceFileAtomically(target, "second", staging), "");
        EXPECT_EQ(test::readFile(target), "second");
        EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"p.xml"});
    }
}

} // namespace
} // namespace korvan
