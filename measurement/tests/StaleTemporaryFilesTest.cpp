// Temporary files left by writers killed during a write are removed by the next write to the
// same target, and nothing else is: not another target's, not a live writer's, not ours.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

#include "AtomicFileWrite.h"
#include "TempFolder.h"

namespace leeb {
namespace {

namespace fs = std::filesystem;

// The id of a process that has ended (reaped, so the id is free).
pid_t GonePid() {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    return child;
}

// A process that holds a lock on `path` until it is killed, as a writer on another machine
// sharing the folder would; returns once the lock is taken.
pid_t LockHolder(const std::string& path) {
    int ready[2];
    if (::pipe(ready) != 0) {
        return -1;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        const int fd = ::open(path.c_str(), O_RDWR);
        struct flock lock {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        ::fcntl(fd, F_SETLK, &lock);
        const char done = 1;
        [[maybe_unused]] const auto written = ::write(ready[1], &done, 1);
        for (;;) {
            ::pause();
        }
    }
    char done = 0;
    [[maybe_unused]] const auto read = ::read(ready[0], &done, 1);
    ::close(ready[0]);
    ::close(ready[1]);
    return child;
}

std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

TEST(StaleTemporaryFiles, TheNextWriteRemovesThoseOfGoneWritersOnly) {
    TempFolder folder;
    const std::string target = folder.File("records.txt");
    TempFolder::Write(target, "old");
    const std::string gone = std::to_string(GonePid());
    const std::string alive = std::to_string(::getppid());
    const std::string self = std::to_string(::getpid());
    const std::set<std::string> kept = {
        "records.txt",
        ".records.txt." + alive + "-000002.tmp",  // a writer still at work
        ".records.txt." + self + "-000003.tmp",   // a writer of this process
        ".other.txt." + gone + "-000004.tmp",     // another target's
        ".records.txt.bak." + gone + "-000005.tmp",
        ".records.txt.123456.tmp",  // made before writers put their id in: whose, unknown
        "records.txt." + gone + "-000006.tmp",
        ".records.txt." + gone + "-000007.tmp",  // gone by its id, but its file still locked
    };
    for (const std::string& name : kept) {
        if (name != "records.txt") {
            TempFolder::Write(folder.File(name), "half");
        }
    }
    const pid_t holder = LockHolder(folder.File(".records.txt." + gone + "-000007.tmp"));
    ASSERT_GT(holder, 0);
    TempFolder::Write(folder.File(".records.txt." + gone + "-000001.tmp"), "half");

    ReplaceFileContent(target, "new");

    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    EXPECT_EQ(Names(folder.Path()), kept);
    EXPECT_EQ(TempFolder::Read(target), "new");
}

}  // namespace
}  // namespace leeb
