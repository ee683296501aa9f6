// The record file: the lines of RecordLines, each followed by CR LF. Reading splits the
// content at CR, LF or CR LF; a NUL byte ends the content (RecordFileReader).

#include "RecordFile.h"

#include <algorithm>
#include <cstring>

#include "AtomicFileWrite.h"
#include "FieldConversion.h"
#include "RecordFileReader.h"

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
    RecordFileReader reader(path);
    RecordLines lines;
    std::string_view line;
    while (reader.Next(line)) {
        lines.emplace_back(line);
    }
    return lines;
}

namespace {

// The header line goes to `header`, as the file has it (its first character is not tested).
void ReadRecords(const std::string& path, char decimalSeparator, std::string& header,
                 const RecordLineHandler& onRecord) {
    RecordFileReader reader(path);
    std::string_view line;
    if (reader.Next(line)) {
        header = line;
    }
    if (reader.LineNumber() == 0 || RecordLineValue(header) != RecordLineValue(RecordFileHeader)) {
        throw RecordFileError("'" + path + "' is not a record file: its first line is not \"" +
                                  std::string(RecordFileHeader) + "\"",
                              FileProblem::NotARecordFile, path, 0, 1, std::nullopt,
                              reader.LineNumber() == 0);
    }
    while (reader.Next(line)) {
        RecordTextFields fields;
        try {
            fields = ParseRecordLine(line, decimalSeparator);
        } catch (const ConversionError& error) {
            const std::size_t number = reader.LineNumber();
            throw RecordFileError("Line " + std::to_string(number) + " of '" + path + "' (record " +
                                      std::to_string(number - 1) +
                                      ") does not convert: " + error.what(),
                                  FileProblem::LineDoesNotConvert, path, 0, number, error.Fault(),
                                  TrimField(line).empty());
        }
        onRecord(reader.LineNumber() - 1, line, fields);
    }
}

}  // namespace

void ReadRecordFileRecords(const std::string& path, char decimalSeparator,
                           const RecordLineHandler& onRecord) {
    std::string header;
    ReadRecords(path, decimalSeparator, header, onRecord);
}

RecordLines ReadCheckedRecordFile(const std::string& path, char decimalSeparator) {
    RecordLines lines(1);
    ReadRecords(path, decimalSeparator, lines.front(),
                [&lines](std::size_t, std::string_view line, const RecordTextFields&) {
                    lines.emplace_back(line);
                });
    return lines;
}

}  // namespace leeb
