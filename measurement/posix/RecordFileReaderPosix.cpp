// Opening and reading a record file with POSIX calls.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "RecordFileErrors.h"
#include "RecordFileReader.h"

namespace leeb {

class RecordFileReader::SystemFile {
  public:
    explicit SystemFile(int fd) : fd(fd) {}
    ~SystemFile() { ::close(fd); }
    SystemFile(const SystemFile&) = delete;
    SystemFile& operator=(const SystemFile&) = delete;

    const int fd;
};

namespace {

[[noreturn]] void Fail(const std::string& path, FileProblem problem, int error) {
    throw RecordFileError("Cannot read file '" + path + "': " + std::strerror(error), problem, path,
                          error);
}

}  // namespace

RecordFileReader::RecordFileReader(const std::string& path) : path_(path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        Fail(path, FileProblem::CannotOpen, errno);
    }
    file_ = std::make_unique<SystemFile>(fd);
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        Fail(path, FileProblem::IsAFolder, EISDIR);
    }
}

RecordFileReader::~RecordFileReader() = default;

std::size_t RecordFileReader::ReadSome(char* data, std::size_t size) {
    for (;;) {
        const ssize_t got = ::read(file_->fd, data, size);
        if (got >= 0) {
            return static_cast<std::size_t>(got);
        }
        if (errno != EINTR) {
            Fail(path_, FileProblem::CannotRead, errno);
        }
    }
}

}  // namespace leeb
