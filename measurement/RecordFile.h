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

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "MeasurementRecord.h"
#include "RecordFileErrors.h"

namespace leeb {

using RecordLines = std::vector<std::string>;

inline constexpr std::string_view RecordFileHeader = "@Import Data@";

struct RecordTextFields {
    int ImpactCount = 0;
    std::string DateText;  // 10 characters as stored, not trimmed
    int SettingsWord = 0;
    std::vector<double> Readings;  // display units: 045.3 reads back as 45.3; ImpactCount of them
};

// The impact count field has two columns: a line can hold up to 99 readings. The writer never
// writes more than the 32 a record holds, but lines of older uploads may carry more.
inline constexpr int MaxLineReadings = 99;

// The line of a record whose raw readings already carry the upload's substitutions.
// Throws RecordFormatError when a value does not fit its columns.
std::string FormatRecordLine(const MeasurementRecord& record, char decimalSeparator);

// Reads a line back; throws ConversionError (with its FieldFault) for a field that does not
// convert, or for a byte anywhere in the line that is no printable ASCII or tab (its column). Readings on a one-decimal scale convert with '.' or ',' whatever decimalSeparator
// says: the fixed columns put the decimal in place, so a file travels between machines with
// different number settings. Other readings take decimalSeparator only.
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
// Nothing is checked beyond the line length (RecordFileReader). Throws RecordFileError.
RecordLines ReadRecordFile(const std::string& path);

// Splits file content the same way (exposed for tests and other readers).
RecordLines SplitRecordContent(std::string_view content);

// A record file read as open, show, report and export need it, line by line as it is read:
// the header test, then every record line parsed. Stops at the first line that fails, so a
// bad file costs no more than the lines before the fault. `onRecord` gets each record line with
// its index in RecordLines (1 for the first record) and its fields, before the next line is
// read. Throws RecordFileError: CannotOpen, IsAFolder, CannotRead, NotARecordFile,
// LineTooLong, or LineDoesNotConvert with the line number and the field.
using RecordLineHandler =
    std::function<void(std::size_t lineIndex, std::string_view line, const RecordTextFields&)>;
void ReadRecordFileRecords(const std::string& path, char decimalSeparator,
                           const RecordLineHandler& onRecord);

// The same, keeping every line: RecordLines with the header first, each record line known to
// convert. The file is read whole or not at all.
RecordLines ReadCheckedRecordFile(const std::string& path, char decimalSeparator);

}  // namespace leeb
