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
#include <optional>
#include <string>
#include <vector>

#include "QualitySettings.h"
#include "RecordCsvTexts.h"
#include "RecordFile.h"

namespace leeb {

// How the table is made. Default: the plain Chinese table of every record, numbered by line.
struct RecordCsvOptions {
    char DecimalSeparator = '.';
    // The record number column: line r shows RecordNumbers[r - 1] where the caller knows the
    // record's own number (an upload of the single record 517 has it on line 1), else r (a
    // record file stores no numbers).
    std::vector<long> RecordNumbers;
    // Adds its columns after the plain ones (RecordCsvQuality.h).
    QualitySettings Quality;
    // Line indices, ascending, of the rows; empty for all.
    std::vector<std::size_t> Records;
    // Words the headers and the names in the cells.
    RecordCsvTexts Texts;
};

// Throws ConversionError naming the line ("line 6 (record 5): ...") when a record line does
// not convert, or for a chosen record that is not in `lines`.
std::string FormatRecordCsv(const RecordLines& lines, const RecordCsvOptions& options = {});

// Writes FormatRecordCsv to `path`, replacing the file atomically; a failure leaves an old
// file intact. Throws ConversionError or RecordFileError; on either nothing is written.
void WriteRecordCsv(const std::string& path, const RecordLines& lines,
                    const RecordCsvOptions& options = {});

// The table of the record file `recordFile`, written to `path` while the file is read: the
// memory of a line whatever the file's size. The file is checked whole before the output is
// begun. Throws RecordFileError for the record file (naming it; as ReadRecordFileRecords) or
// for the output (naming `path`), ConversionError for a chosen record past the file's end; on
// any failure nothing is written and an old file at `path` is kept.
void ExportRecordFileCsv(const std::string& recordFile, const std::string& path,
                         const RecordCsvOptions& options);

// The table row by row, for writers that stream: the header, then each record as it comes.
class RecordCsvRows {
  public:
    // Reading columns: at least 32; more where a chosen record holds more readings.
    static constexpr std::size_t MinReadingColumns = 32;

    RecordCsvRows(const RecordCsvOptions& options, std::size_t readingColumns);
    // The byte-order mark and the header row.
    void AppendHeader(std::string& out) const;
    void AppendRecord(std::string& out, std::size_t lineIndex,
                      const RecordTextFields& fields) const;

  private:
    const RecordCsvOptions& options_;
    std::size_t readingColumns_;
    char fieldSeparator_;
};

// A reading (or a maximum, minimum or mean) as the table writes it: on a one-decimal scale
// always with its decimal, "60.0", so that a column reads alike in a spreadsheet; "-" for none.
std::string CsvValueText(std::optional<double> value, bool oneDecimal, char decimalSeparator);

// Text of an ImpactDirection code: "垂直向下", "45°向下", "水平", "45°向上", "垂直向上", or
// "?" and the code.
std::string ImpactDirectionText(int impactDirection);

}  // namespace leeb
