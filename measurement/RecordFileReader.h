#pragma once
// The lines of a record file, read as they come: a CR, an LF or CR LF ends a line, a last line
// without a line end is still a line, and a NUL byte ends the content (nothing after it is
// read). Only one line is held at a time, so a huge file costs no more memory than its
// longest line.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace leeb {

// Longer than any record line can be (21 + 6 x 99 characters, plus room for text before an
// "="): a longer line means the file is not a record file, and reading stops there instead
// of holding the rest of a large file as one line.
inline constexpr std::size_t MaxRecordFileLineLength = 64 * 1024;

class RecordFileReader {
  public:
    // Opens the file; throws RecordFileError (CannotOpen, IsAFolder).
    explicit RecordFileReader(const std::string& path);
    ~RecordFileReader();
    RecordFileReader(const RecordFileReader&) = delete;
    RecordFileReader& operator=(const RecordFileReader&) = delete;

    // The next line without its line end, valid until the next call; false after the last.
    // Throws RecordFileError (CannotRead, LineTooLong).
    bool Next(std::string_view& line);

    // The line last returned, counted from 1 as a text editor does.
    std::size_t LineNumber() const { return lineNumber_; }
    const std::string& Path() const { return path_; }

  private:
    // The open file, kept by the operating system's implementation.
    class SystemFile;

    // Reads the next block; false at the end of the content (end of file or a NUL).
    bool Fill();
    // Reads up to `size` bytes into `data`, at least one unless at the end of the file (0).
    // Per operating system; throws RecordFileError (CannotRead).
    std::size_t ReadSome(char* data, std::size_t size);

    std::string path_;
    std::unique_ptr<SystemFile> file_;
    std::vector<char> block_;
    std::size_t begin_ = 0;  // unread part of block_: [begin_, end_)
    std::size_t end_ = 0;
    bool contentEnded_ = false;
    bool skipLineFeed_ = false;  // the last line ended at a CR: an LF right after belongs to it
    std::string line_;
    std::size_t lineNumber_ = 0;
};

}  // namespace leeb
