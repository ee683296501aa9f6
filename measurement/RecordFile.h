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

// A field that does not convert (not a number, cut short, empty).
class ConversionError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A value that does not fit its columns when a line is written.
class RecordFormatError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A record file that cannot be read or written; the message names the file and the reason.
class RecordFileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
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
