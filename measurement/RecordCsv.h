#pragma once
// Export of the records to a CSV table (UTF-8 with a byte-order mark so that spreadsheet
// programs recognise the Chinese texts; CR LF line ends; quoting as in RFC 4180).
//
// One header row, then one row per record line (line 0 of RecordLines, the file header, is
// skipped): record number, date, material, scale ("强度" for strength records), impact device,
// impact direction, impact count, readings 1..32 (empty beyond the count; more columns when a
// record holds more readings), maximum, minimum, mean, standard deviation and range, as the
// detail panel shows them. Headers and names in the words of RecordCsvTexts.
//
// Fields are separated by ',' unless the decimal separator is ',', then by ';'. A field that
// begins with "=", "+", "-" or "@" is written as text (a leading apostrophe, quoted) so that
// spreadsheets do not run it as a formula.

#include <cstddef>
#include <string>
#include <vector>

#include "QualitySettings.h"
#include "RecordCsvTexts.h"
#include "RecordFile.h"

namespace leeb {

// Throws ConversionError naming the line ("line 6 (record 5): ...") when a record line does
// not convert. The record number column holds the line index (a record file stores no
// numbers), or recordNumbers[r - 1] for line r where the caller knows the record's own
// number (an upload of the single record 517 has it on line 1).
std::string FormatRecordCsv(const RecordLines& lines, char decimalSeparator);
std::string FormatRecordCsv(const RecordLines& lines, const std::vector<long>& recordNumbers,
                            char decimalSeparator);

// Writes FormatRecordCsv to `path`, replacing the file atomically; a failure leaves an old
// file intact. Throws ConversionError or RecordFileError; on either nothing is written.
void WriteRecordCsv(const std::string& path, const RecordLines& lines, char decimalSeparator);
void WriteRecordCsv(const std::string& path, const RecordLines& lines,
                    const std::vector<long>& recordNumbers, char decimalSeparator);

// The quality settings add their columns after the plain ones (RecordCsvQuality.h); Records
// (line indices, ascending) chooses the rows, empty for all; Texts words the headers and the
// names in the cells. Default: the plain Chinese table.
struct RecordCsvOptions {
    QualitySettings Quality;
    std::vector<std::size_t> Records;
    RecordCsvTexts Texts;
};

std::string FormatRecordCsv(const RecordLines& lines, const std::vector<long>& recordNumbers,
                            char decimalSeparator, const RecordCsvOptions& options);
std::string FormatRecordCsv(const RecordLines& lines, char decimalSeparator,
                            const RecordCsvOptions& options);
void WriteRecordCsv(const std::string& path, const RecordLines& lines,
                    const std::vector<long>& recordNumbers, char decimalSeparator,
                    const RecordCsvOptions& options);

// Text of an ImpactDirection code: "垂直向下", "45°向下", "水平", "45°向上", "垂直向上", or
// "?" and the code.
std::string ImpactDirectionText(int impactDirection);

}  // namespace leeb
