// Replacing a file with POSIX calls: open(O_EXCL), write, fsync, rename, fsync of the folder.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <vector>

#include "AtomicFileWrite.h"
#include "RecordFileErrors.h"

namespace leeb {

class AtomicFileWriter::SystemFile {
  public:
    explicit SystemFile(int fd) : fd(fd) {}
    const int fd;
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

// Opens a new temporary file beside `path`. O_EXCL guarantees it is ours; the mode 0666 lets
// the user's umask decide the permissions, as for any file the user creates.
int CreateTemporary(const std::string& path, std::string& tempPath) {
    const std::string folder = Folder(path);
    const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    const std::size_t nameMax = limit > 0 ? static_cast<std::size_t>(limit) : 255;
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = folder + "/" +
                   TemporaryFileName(FileName(path), std::to_string(random() % 1000000), nameMax);
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
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

AtomicFileWriter::AtomicFileWriter(const std::string& givenPath) : givenPath_(givenPath) {
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
    const int fd = CreateTemporary(path_, tempPath_);
    if (fd < 0) {
        Fail(errno);
    }
    file_ = std::make_unique<SystemFile>(fd);
    // A replaced file keeps the permissions it had.
    if (exists) {
        ::fchmod(fd, target.st_mode & 07777);
    }
}

AtomicFileWriter::~AtomicFileWriter() {
    Discard();
}

void AtomicFileWriter::Discard() {
    if (file_) {
        ::close(file_->fd);
        file_.reset();
        ::unlink(tempPath_.c_str());
    }
}

void AtomicFileWriter::Fail(int error) {
    Discard();
    throw RecordFileError("Cannot write file '" + givenPath_ + "': " + std::strerror(error),
                          FileProblem::CannotWrite, givenPath_, error);
}

bool AtomicFileWriter::Write(std::string_view data) {
    while (writeError_ == 0 && file_ && !data.empty()) {
        const ssize_t written = ::write(file_->fd, data.data(), data.size());
        if (written < 0) {
            if (errno != EINTR) {
                writeError_ = errno;
            }
            continue;
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    return writeError_ == 0 && file_;
}

void AtomicFileWriter::Commit() {
    if (!file_) {
        Fail(EBADF);
    }
    if (writeError_ != 0) {
        Fail(writeError_);
    }
    if (::fsync(file_->fd) != 0) {
        Fail(errno);
    }
    const int fd = file_->fd;
    file_.reset();
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(tempPath_.c_str());
        Fail(error);
    }
    if (::rename(tempPath_.c_str(), path_.c_str()) != 0) {
        const int error = errno;
        ::unlink(tempPath_.c_str());
        Fail(error);
    }
    // Make the rename itself durable; a failure here no longer endangers either version.
    const int folder = ::open(Folder(path_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}

bool IsNonRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
}

}  // namespace leeb
