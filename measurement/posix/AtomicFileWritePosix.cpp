// Replacing a file with POSIX calls: open(O_EXCL), write, fsync, rename, fsync of the folder.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <vector>

#include "AtomicFileWrite.h"
#include "FileSystemCalls.h"
#include "RecordFileErrors.h"
#include "StaleTemporaryFiles.h"

namespace leeb {

class AtomicFileWriter::SystemFile {
  public:
    explicit SystemFile(int fd) : fd(fd) {}
    const int fd;
    // Written out in blocks: a table written row by row costs a system call per block, not
    // per row.
    std::string buffer;
};

namespace {

std::string Folder(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string FileName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

constexpr std::size_t WriteBlock = 64 * 1024;

std::size_t NameLimit(const std::string& folder) {
    const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    return limit > 0 ? static_cast<std::size_t>(limit) : 255;
}

// Opens a new temporary file beside `path`. O_EXCL guarantees it is ours; the mode 0666 lets
// the user's umask decide the permissions, as for any file the user creates. The name carries
// our process id and the file our lock, by which a later write tells whether we are gone.
int CreateTemporary(const std::string& path, std::string& tempPath, FileSystemCalls& calls) {
    const std::string folder = Folder(path);
    const std::size_t nameMax = NameLimit(folder);
    std::random_device seed;
    std::mt19937 random(seed());
    const auto self = static_cast<unsigned long>(::getpid());
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = folder + "/" +
                   TemporaryFileName(FileName(path), TemporaryUniquePart(self, random()), nameMax);
        const int fd = calls.Open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            if (fd >= 0) {
                // Released by the kernel whatever ends the process; a file system without
                // locks leaves the process id alone to tell.
                struct flock lock {};
                lock.l_type = F_WRLCK;
                lock.l_whence = SEEK_SET;
                ::fcntl(fd, F_SETLK, &lock);
            }
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

// The file a path finally names: a symbolic link is followed (also when it dangles), so that
// the rename replaces the file the user meant and not the link, which would otherwise become
// a separate copy while the linked file kept the old content.
std::string FollowLinks(std::string path) {
    constexpr int MaxLinks = 40;  // as the kernel allows in one lookup; beyond that, a loop
    for (int depth = 0; depth < MaxLinks; ++depth) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return path;
        }
        std::vector<char> target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) +
                                 1);
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0 || static_cast<std::size_t>(length) >= target.size()) {
            return path;  // changed meanwhile; writing then fails or replaces it, as for a file
        }
        const std::string link(target.data(), static_cast<std::size_t>(length));
        path = !link.empty() && link.front() == '/' ? link : Folder(path) + "/" + link;
    }
    errno = ELOOP;
    return {};
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(const std::string& givenPath)
    : AtomicFileWriter(givenPath, SystemFileCalls()) {}

AtomicFileWriter::AtomicFileWriter(const std::string& givenPath, FileSystemCalls& calls)
    : givenPath_(givenPath), calls_(&calls) {
    path_ = FollowLinks(givenPath);
    if (path_.empty()) {
        Fail(errno);
    }
    struct stat target {};
    const bool exists = ::stat(path_.c_str(), &target) == 0;
    if (exists && !S_ISREG(target.st_mode)) {
        const std::string what =
            S_ISDIR(target.st_mode) ? "it is a folder" : "it is not a regular file";
        throw RecordFileError("Cannot write file '" + givenPath_ + "': " + what,
                              FileProblem::NotARegularFile, givenPath_,
                              S_ISDIR(target.st_mode) ? EISDIR : 0);
    }
    // Renaming would replace a file the user may not write to; refuse as writing in place
    // would have.
    if (exists && ::access(path_.c_str(), W_OK) != 0) {
        Fail(errno);
    }
    RemoveStaleTemporaries(path_, NameLimit(Folder(path_)));
    const int fd = CreateTemporary(path_, tempPath_, *calls_);
    if (fd < 0) {
        Fail(errno);
    }
    file_ = std::make_unique<SystemFile>(fd);
    // A replaced file keeps the permissions it had. Where the file system cannot set them (a
    // FAT stick gives every file the same) the new file may go on, unless it would let anyone
    // do more with the content than the old one did.
    if (exists && calls_->Fchmod(fd, target.st_mode & 07777) != 0) {
        const int error = errno;
        struct stat made {};
        if (::fstat(fd, &made) != 0 || (made.st_mode & ~target.st_mode & 07777) != 0) {
            Fail(error);
        }
    }
}

AtomicFileWriter::~AtomicFileWriter() {
    Discard();
}

void AtomicFileWriter::Discard() {
    if (file_) {
        calls_->Close(file_->fd);
        file_.reset();
        calls_->Unlink(tempPath_.c_str());
    }
}

void AtomicFileWriter::Fail(int error) {
    Discard();
    throw RecordFileError("Cannot write file '" + givenPath_ + "': " + std::strerror(error),
                          FileProblem::CannotWrite, givenPath_, error);
}

namespace {

// Every byte of `data`, or the error. A write that takes nothing and reports no error would
// otherwise be asked again for ever.
int WriteAll(FileSystemCalls& calls, int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t written = calls.Write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (written == 0) {
            return EIO;
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

}  // namespace

bool AtomicFileWriter::Write(std::string_view data) {
    if (writeError_ != 0 || !file_) {
        return false;
    }
    std::string& buffer = file_->buffer;
    if (buffer.size() + data.size() < WriteBlock) {
        buffer.append(data);
        return true;
    }
    writeError_ = WriteAll(*calls_, file_->fd, buffer);
    buffer.clear();
    if (writeError_ == 0) {
        writeError_ = WriteAll(*calls_, file_->fd, data);
    }
    return writeError_ == 0;
}

void AtomicFileWriter::Commit() {
    if (!file_) {
        Fail(EBADF);
    }
    if (writeError_ == 0) {
        writeError_ = WriteAll(*calls_, file_->fd, file_->buffer);
        file_->buffer.clear();
    }
    if (writeError_ != 0) {
        Fail(writeError_);
    }
    if (calls_->Fsync(file_->fd) != 0) {
        Fail(errno);
    }
    const int fd = file_->fd;
    file_.reset();
    if (calls_->Close(fd) != 0) {
        const int error = errno;
        calls_->Unlink(tempPath_.c_str());
        Fail(error);
    }
    if (calls_->Rename(tempPath_.c_str(), path_.c_str()) != 0) {
        const int error = errno;
        calls_->Unlink(tempPath_.c_str());
        Fail(error);
    }
    // Make the rename itself durable; a failure here no longer endangers either version.
    const int folder = calls_->Open(Folder(path_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (folder >= 0) {
        calls_->Fsync(folder);
        calls_->Close(folder);
    }
}

bool IsNonRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
}

}  // namespace leeb
