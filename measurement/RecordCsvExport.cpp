// The CSV table of a record file, written while the file is read: two passes over the file
// (the header's reading columns must fit the widest chosen record) and one row in memory at a
// time, so a file of any size costs the memory of a line.
#include <algorithm>

#include "AtomicFileWrite.h"
#include "RecordCsv.h"

namespace leeb {

namespace {

// Whether each record line, met in file order, is one of the chosen ones (ascending).
class ChosenLines {
  public:
    explicit ChosenLines(const std::vector<std::size_t>& chosen) : chosen_(chosen) {}
    bool Takes(std::size_t lineIndex) {
        if (chosen_.empty()) {
            return true;
        }
        while (next_ < chosen_.size() && chosen_[next_] < lineIndex) {
            ++next_;
        }
        return next_ < chosen_.size() && chosen_[next_] == lineIndex;
    }

  private:
    const std::vector<std::size_t>& chosen_;
    std::size_t next_ = 0;
};

}  // namespace

void ExportRecordFileCsv(const std::string& recordFile, const std::string& path,
                         const RecordCsvOptions& options) {
    const char separator = options.DecimalSeparator;
    // First pass: the whole file checked before the output is begun, and the widest record.
    std::size_t readingColumns = RecordCsvRows::MinReadingColumns;
    std::size_t lastLine = 0;
    ChosenLines measured(options.Records);
    ReadRecordFileRecords(recordFile, separator,
                          [&](std::size_t r, std::string_view, const RecordTextFields& fields) {
                              if (measured.Takes(r)) {
                                  readingColumns = std::max(readingColumns, fields.Readings.size());
                              }
                              lastLine = r;
                          });
    if (!options.Records.empty() && options.Records.back() > lastLine) {
        throw ConversionError("record " + std::to_string(options.Records.back()) +
                              " is not in the record file");
    }

    AtomicFileWriter writer(path);
    const RecordCsvRows table(options, readingColumns);
    std::string row;
    table.AppendHeader(row);
    writer.Write(row);
    ChosenLines written(options.Records);
    ReadRecordFileRecords(recordFile, separator,
                          [&](std::size_t r, std::string_view, const RecordTextFields& fields) {
                              if (!written.Takes(r)) {
                                  return;
                              }
                              if (fields.Readings.size() > readingColumns) {
                                  // Its readings would not fit the header's columns.
                                  throw ConversionError("line " + std::to_string(r + 1) +
                                                        " changed while the file was read");
                              }
                              row.clear();
                              table.AppendRecord(row, r, fields);
                              if (!writer.Write(row)) {
                                  writer.Commit();  // throws the write's failure; stops reading
                              }
                          });
    writer.Commit();
}

}  // namespace leeb
