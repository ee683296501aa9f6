// The record file: the lines of RecordLines, each followed by CR LF. Reading splits the whole
// content at CR, LF or CR LF; a NUL byte ends the content.

#include "RecordFile.h"

#include <algorithm>
#include <cstring>

#include "AtomicFileWrite.h"
#include "FileContent.h"

namespace leeb {

RecordLines SplitRecordContent(std::string_view content) {
    const std::size_t nul = content.find('\0');
    if (nul != std::string_view::npos) {
        content = content.substr(0, nul);
    }
    // The next CR and the next LF are each looked up with memchr and kept until passed: two
    // fast scans instead of a byte-by-byte test of both characters.
    if (content.empty()) {
        return {};
    }
    const char* const begin = content.data();
    const char* const end = begin + content.size();
    auto next = [end](const char* from, char c) {
        const void* found = std::memchr(from, c, static_cast<std::size_t>(end - from));
        return found != nullptr ? static_cast<const char*>(found) : end;
    };
    RecordLines lines;
    const char* start = begin;
    const char* cr = next(start, '\r');
    const char* lf = next(start, '\n');
    while (start < end) {
        if (cr < start) {
            cr = next(start, '\r');
        }
        if (lf < start) {
            lf = next(start, '\n');
        }
        const char* lineEnd = std::min(cr, lf);
        lines.emplace_back(start, lineEnd);
        if (lineEnd == end) {
            break;  // a last line without a line end
        }
        start = lineEnd + 1;
        if (*lineEnd == '\r' && start < end && *start == '\n') {
            ++start;
        }
    }
    return lines;
}

void WriteRecordFile(const std::string& path, const RecordLines& lines) {
    std::size_t size = 0;
    for (const std::string& line : lines) {
        size += line.size() + 2;
    }
    std::string content;
    content.reserve(size);
    for (const std::string& line : lines) {
        content += line;
        content += "\r\n";
    }
    ReplaceFileContent(path, content);
}

RecordLines ReadRecordFile(const std::string& path) {
    return SplitRecordContent(ReadFileUpToNul(path));
}

}  // namespace leeb
