// Splitting the file into lines as its blocks come in; opening and reading the file are per
// operating system.
#include "RecordFileReader.h"

#include "RecordFileErrors.h"

namespace leeb {

namespace {

constexpr std::size_t BlockSize = 64 * 1024;

bool EndsLineOrContent(char c) {
    return c == '\r' || c == '\n' || c == '\0';
}

}  // namespace

bool RecordFileReader::Fill() {
    if (contentEnded_) {
        return false;
    }
    if (block_.empty()) {
        block_.resize(BlockSize);
    }
    begin_ = 0;
    end_ = ReadSome(block_.data(), block_.size());
    if (end_ == 0) {
        contentEnded_ = true;
        return false;
    }
    return true;
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
