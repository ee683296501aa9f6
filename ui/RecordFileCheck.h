#pragma once
// The open command reads a record file whole and converts every line before the window changes
// anything: an open replaces all of the records, tree, chart and panel, or none of them.

#include <optional>
#include <string>

#include "RecordFile.h"

namespace leeb {

// Why a file was refused, for the window to word in its own language.
struct RecordFileProblem {
    enum class Cause {
        Unreadable,  // the file could not be read; Detail is the reader's reason
        Empty,       // no line at all
        BadHeader,   // line 1 is not the record file's header
        EmptyLine,   // a record line with nothing on it
        BadLine,     // a record line that does not convert; Detail names the field
    };
    Cause Kind = Cause::Unreadable;
    int LineNumber = 0;  // line of the file, from 1; 0 when the file could not be read
    std::string Detail;  // UTF-8, in the interface language
};

struct CheckedRecordFile {
    RecordLines Lines;                         // every line of the file when there is no problem
    std::optional<RecordFileProblem> Problem;  // the first problem found; Lines is then empty
};

// Reads the file and checks its header and every record line with ParseRecordLine.
CheckedRecordFile ReadRecordFileForOpen(const std::string& path, char decimalSeparator);

// The same checks on lines already read.
std::optional<RecordFileProblem> CheckRecordLines(const RecordLines& lines, char decimalSeparator);

}  // namespace leeb
