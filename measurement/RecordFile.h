#pragma once
// The record text file and its fixed-column lines.
//
// A record line (columns from 1; N readings; 21 + 6N characters):
//   1-3    impact count, "%3d"
//   4      ","
//   5-14   date "2YYY/MM/DD"
//   15     ","
//   16-20  settings word, "%5d"
//   21     ","
//   22+6k..26+6k  reading k+1: "%5d", or "000.0" (value / 10) on a one-decimal scale
//   27+6k  ","
// The file: "@Import Data@", then one line per record, every line ended by CR LF.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "MeasurementRecord.h"

namespace leeb {

using RecordLines = std::vector<std::string>;

inline constexpr std::string_view RecordFileHeader = "@Import Data@";

// A field that does not convert (not a number, cut short, empty). Besides the English
// message it keeps its parts, so that the window can word it in the interface language: the
// field's text, what the field should have held and, once a reader names it, the index of the
// line in RecordLines.
class ConversionError : public std::runtime_error {
  public:
    enum class Expected { Unknown, Integer, Real, ImpactCount, SettingsWord };

    using std::runtime_error::runtime_error;  // a message without parts
    // "'<field>' is not a valid <expected>", control bytes in the field spelled out.
    ConversionError(std::string_view field, Expected expected);

    // The same failure with the line it was found on and a message for that line.
    ConversionError AtLine(int lineIndex, const std::string& message) const;

    const std::string& Field() const { return field_; }  // as quoted in the message
    Expected What() const { return expected_; }
    int LineIndex() const { return lineIndex_; }  // -1: not known

  private:
    std::string field_;
    Expected expected_ = Expected::Unknown;
    int lineIndex_ = -1;
};

// A value that does not fit its columns when a line is written.
class RecordFormatError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A record file that cannot be read or written; the message names the file and the reason,
// which are kept apart too for a message in the interface language.
class RecordFileError : public std::runtime_error {
  public:
    enum class Operation { Read, Write };

    using std::runtime_error::runtime_error;
    // "Cannot read|write file '<path>': <system's reason>".
    RecordFileError(Operation operation, std::string path, int errorNumber);

    Operation Failed() const { return operation_; }
    const std::string& Path() const { return path_; }
    int ErrorNumber() const { return errorNumber_; }  // errno; 0: not known

  private:
    Operation operation_ = Operation::Read;
    std::string path_;
    int errorNumber_ = 0;
};

struct RecordTextFields {
    int ImpactCount = 0;
    std::string DateText;  // 10 characters as stored, not trimmed
    int SettingsWord = 0;
    std::vector<double> Readings;  // display units: 045.3 reads back as 45.3
};

// The line of a record whose raw readings already carry the upload's substitutions.
// Throws RecordFormatError when a value does not fit its columns.
std::string FormatRecordLine(const MeasurementRecord& record, char decimalSeparator);

// Reads a line back; throws ConversionError for a field that does not convert.
RecordTextFields ParseRecordLine(std::string_view line, char decimalSeparator);

// The part of a line that the fields are read from: the text after the first "=", or the
// line without its first character.
std::string_view RecordLineValue(std::string_view line);

// True when line 0 exists and its value is exactly "Import Data@".
bool HeaderTest(const RecordLines& lines);

// Replaces the file atomically (temporary file in the same folder, flushed, renamed): a failed
// write leaves the old file intact. Throws RecordFileError.
void WriteRecordFile(const std::string& path, const RecordLines& lines);

// Splits the whole file into lines: CR, LF or CR LF end a line, a NUL ends the content.
// Throws RecordFileError.
RecordLines ReadRecordFile(const std::string& path);

// Splits file content the same way (exposed for tests and other readers).
RecordLines SplitRecordContent(std::string_view content);

}  // namespace leeb
