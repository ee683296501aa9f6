#include "AtomicFileWrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <vector>

#include "RecordFile.h"

namespace leeb {

namespace {

[[noreturn]] void Fail(const std::string& path, int error) {
    throw RecordFileError(RecordFileError::Operation::Write, path, error);
}

std::string Folder(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Opens a new file "<folder>/.<name>.<random>.tmp". O_EXCL guarantees it is ours; the mode
// 0666 lets the user's umask decide the permissions, as for any file the user creates.
int CreateTemporary(const std::string& path, std::string& tempPath) {
    const std::string folder = Folder(path);
    const std::string name =
        path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1);
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = folder + "/." + name + "." + std::to_string(random() % 1000000) + ".tmp";
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

bool WriteAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

void ReplaceFileContent(const std::string& givenPath, std::string_view content) {
    const std::string path = FollowLinks(givenPath);
    if (path.empty()) {
        Fail(givenPath, errno);
    }
    // Renaming would replace a file the user may not write to; refuse as writing in place
    // would have.
    if (::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0) {
        Fail(givenPath, errno);
    }
    std::string tempPath;
    const int fd = CreateTemporary(path, tempPath);
    if (fd < 0) {
        Fail(givenPath, errno);
    }
    auto discard = [&](int error) {
        ::close(fd);
        ::unlink(tempPath.c_str());
        Fail(givenPath, error);
    };
    // A replaced file keeps the permissions it had.
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        ::fchmod(fd, old.st_mode & 07777);
    }
    if (!WriteAll(fd, content) || ::fsync(fd) != 0) {
        discard(errno);
    }
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(tempPath.c_str());
        Fail(givenPath, error);
    }
    if (::rename(tempPath.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(tempPath.c_str());
        Fail(givenPath, error);
    }
    // Make the rename itself durable; a failure here no longer endangers either version.
    const int folder = ::open(Folder(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}

}  // namespace leeb
