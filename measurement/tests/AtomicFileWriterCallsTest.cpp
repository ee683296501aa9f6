// The writer's system calls watched through their seam: the order that makes a replaced file
// durable (write, sync, rename, sync of the folder), and calls that fail or misbehave.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "AtomicFileWrite.h"
#include "FileSystemCalls.h"
#include "RecordFileErrors.h"
#include "TempFolder.h"

namespace leeb {
namespace {

namespace fs = std::filesystem;

// Records each call by what it touches, and does it; `Fail*` make one call misbehave.
class WatchedCalls : public FileSystemCalls {
  public:
    std::vector<std::string> Calls;
    int FchmodError = 0;  // errno for a failing fchmod
    int WritesReturningZero = 0;
    int Interruptions = 0;  // writes that fail with EINTR first

    int Open(const char* path, int flags, mode_t mode) override {
        const int fd = FileSystemCalls::Open(path, flags, mode);
        if ((flags & O_DIRECTORY) != 0) {
            folder_ = fd;
            Calls.push_back("open folder");
        }
        return fd;
    }
    ssize_t Write(int fd, const void* data, std::size_t size) override {
        if (Interruptions > 0) {
            --Interruptions;
            errno = EINTR;
            return -1;
        }
        if (WritesReturningZero > 0) {
            if (++zeroes_ > 1000) {
                ADD_FAILURE() << "a write that takes nothing is asked again and again";
                errno = EIO;
                return -1;
            }
            return 0;
        }
        if (Calls.empty() || Calls.back() != "write") {
            Calls.push_back("write");
        }
        return FileSystemCalls::Write(fd, data, size);
    }
    int Fchmod(int fd, mode_t mode) override {
        if (FchmodError != 0) {
            errno = FchmodError;
            return -1;
        }
        return FileSystemCalls::Fchmod(fd, mode);
    }
    int Fsync(int fd) override {
        Calls.push_back(fd == folder_ ? "sync folder" : "sync file");
        return FileSystemCalls::Fsync(fd);
    }
    int Close(int fd) override {
        Calls.push_back(fd == folder_ ? "close folder" : "close file");
        return FileSystemCalls::Close(fd);
    }
    int Rename(const char* from, const char* to) override {
        Calls.push_back("rename");
        return FileSystemCalls::Rename(from, to);
    }
    int Unlink(const char* path) override {
        Calls.push_back("unlink");
        return FileSystemCalls::Unlink(path);
    }

  private:
    int folder_ = -1;
    int zeroes_ = 0;
};

std::size_t EntriesIn(const fs::path& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(AtomicFileWriterCalls, TheContentIsSyncedBeforeTheRenameAndTheFolderAfter) {
    TempFolder folder;
    const std::string path = folder.File("records.txt");
    TempFolder::Write(path, "old");
    WatchedCalls calls;
    {
        AtomicFileWriter writer(path, calls);
        writer.Write("new ");
        writer.Write("content");
        writer.Commit();
    }
    EXPECT_EQ(calls.Calls,
              (std::vector<std::string>{"write", "sync file", "close file", "rename", "open folder",
                                        "sync folder", "close folder"}));
    EXPECT_EQ(TempFolder::Read(path), "new content");
}

TEST(AtomicFileWriterCalls, MisbehavingCallsFailTheWriteAndKeepTheOldFile) {
    const struct {
        const char* name;
        mode_t oldMode;
        int fchmodError;
        int writesReturningZero;
        int interruptions;
        int error;  // 0: the write succeeds
    } cases[] = {
        // A write that takes nothing and says nothing ends the write instead of looping.
        {"WriteTakesNothing", 0644, 0, 1, 0, EIO},
        // Interrupted writes are tried again.
        {"WriteInterrupted", 0644, 0, 0, 3, 0},
        // The new file would let others read what the old one kept private.
        {"PermissionsNotKept", 0600, EPERM, 0, 0, EPERM},
        // A file system that cannot set permissions, where the new file is no more open than
        // the old: the write goes on.
        {"PermissionsNotSettableButNoWider", 0666, EPERM, 0, 0, 0},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        const std::string path = folder.File("records.txt");
        TempFolder::Write(path, "old");
        ASSERT_EQ(::chmod(path.c_str(), c.oldMode), 0);
        const mode_t umask = ::umask(022);
        WatchedCalls calls;
        calls.FchmodError = c.fchmodError;
        calls.WritesReturningZero = c.writesReturningZero;
        calls.Interruptions = c.interruptions;
        int error = 0;
        try {
            AtomicFileWriter writer(path, calls);
            writer.Write("new");
            writer.Commit();
        } catch (const RecordFileError& e) {
            error = e.SystemError();
            EXPECT_EQ(e.Problem(), FileProblem::CannotWrite) << c.name;
        }
        ::umask(umask);
        EXPECT_EQ(error, c.error) << c.name;
        EXPECT_EQ(TempFolder::Read(path), c.error == 0 ? "new" : "old") << c.name;
        EXPECT_EQ(EntriesIn(folder.Path()), 1u) << c.name << ": no temporary file left";
    }
}

}  // namespace
}  // namespace leeb
