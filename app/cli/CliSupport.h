#pragma once
// What the commands share: the failure they report and the record file read with its header
// and every line checked.

#include <cstddef>
#include <stdexcept>
#include <string>

#include "RecordFile.h"

namespace leeb::cli {

inline constexpr int ExitSuccess = 0;
inline constexpr int ExitFailure = 1;
inline constexpr int ExitUsage = 2;

// A command that could not be done; the message (in the language of CliLanguage.h) goes to stderr
// and the program exits with status 1.
class CliFailure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Reads a record file and checks its header line. Throws CliFailure for a missing file, a
// folder, a file that cannot be read or one whose first line is not the record file header.
RecordLines LoadRecordFile(const std::string& path);

// The message for line `lineIndex` of RecordLines (0 is the header) that does not convert;
// it names the line as a text editor counts it (from 1) and the record.
std::string ConversionMessage(std::size_t lineIndex, const ConversionError& reason);

// Parses every record line; throws CliFailure with ConversionMessage for the first that does
// not convert, so that nothing is written for a file that cannot be read whole.
void CheckRecordLines(const RecordLines& lines, char decimalSeparator);

// Throws CliFailure when `output` names the same file as `input`: writing the output would
// destroy the records it is made from.
void RefuseSameFile(const std::string& input, const std::string& output);

}  // namespace leeb::cli
