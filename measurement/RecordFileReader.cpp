#include "RecordFileReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "RecordFileErrors.h"

namespace leeb {

namespace {

constexpr std::size_t BlockSize = 64 * 1024;

[[noreturn]] void Fail(const std::string& path, FileProblem problem, int error) {
    throw RecordFileError("Cannot read file '" + path + "': " + std::strerror(error), problem, path,
                          error);
}

bool EndsLineOrContent(char c) {
    return c == '\r' || c == '\n' || c == '\0';
}

}  // namespace

RecordFileReader::RecordFileReader(const std::string& path) : path_(path), block_(BlockSize) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
        Fail(path, FileProblem::CannotOpen, errno);
    }
    struct stat info {};
    if (::fstat(fd_, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd_);
        Fail(path, FileProblem::IsAFolder, EISDIR);
    }
}

RecordFileReader::~RecordFileReader() {
    ::close(fd_);
}

bool RecordFileReader::Fill() {
    if (contentEnded_) {
        return false;
    }
    for (;;) {
        const ssize_t got = ::read(fd_, block_.data(), block_.size());
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            Fail(path_, FileProblem::CannotRead, errno);
        }
        begin_ = 0;
        end_ = static_cast<std::size_t>(got);
        if (got == 0) {
            contentEnded_ = true;
            return false;
        }
        return true;
    }
}

bool RecordFileReader::Next(std::string_view& line) {
    line_.clear();
    for (;;) {
        if (begin_ == end_ && !Fill()) {
            // A last line without a line end; nothing at all after the last line end is no line.
            if (line_.empty()) {
                return false;
            }
            break;
        }
        if (skipLineFeed_) {
            skipLineFeed_ = false;
            if (block_[begin_] == '\n') {
                ++begin_;
                continue;
            }
        }
        std::size_t stop = begin_;
        while (stop < end_ && !EndsLineOrContent(block_[stop])) {
            ++stop;
        }
        if (line_.size() + (stop - begin_) > MaxRecordFileLineLength) {
            throw RecordFileError("Line " + std::to_string(lineNumber_ + 1) + " of '" + path_ +
                                      "' is longer than any record line; this is not a "
                                      "record file",
                                  FileProblem::LineTooLong, path_, 0, lineNumber_ + 1);
        }
        line_.append(block_.data() + begin_, stop - begin_);
        if (stop == end_) {
            begin_ = end_;
            continue;  // the line goes on in the next block
        }
        const char ending = block_[stop];
        begin_ = stop + 1;
        if (ending == '\0') {
            contentEnded_ = true;
            begin_ = end_;
            if (line_.empty()) {
                return false;
            }
            break;
        }
        skipLineFeed_ = ending == '\r';
        break;
    }
    ++lineNumber_;
    line = line_;
    return true;
}

}  // namespace leeb
