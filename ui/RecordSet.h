#pragma once
// The records the window works on: the lines of a record file (the header first), each
// record's number, reading count and date, the file they came from or went to, and whether
// records of an upload are still unsaved. The text file is one store of them; records that
// come from anywhere else are handed in whole through Replace. Whoever shows the records
// listens: every change is told after it is made.

#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "RecordCsv.h"
#include "RecordFile.h"

namespace leeb {

class RecordSet {
  public:
    struct Record {
        int Number = 0;     // the tester's record number, or the place in the file
        int LineIndex = 0;  // in Lines(); 1 for the first record
        int ReadingCount = 0;
        std::string Date;  // "2YYY/MM/DD" as the line holds it
        // The impact count the tester stores for a record kept damaged (0 or above 32); -1
        // for a sound record.
        int DamagedImpactCount = -1;
    };

    // A complete set of records, made before anything shown is replaced.
    struct Contents {
        RecordLines Lines;  // the header first
        std::vector<Record> Records;
    };

    enum class Change {
        Replaced,  // every record is new (also: none left)
        Appended,  // one record more, the last of Records()
        Saved,     // the file or the unsaved state changed, the records did not
    };
    using Listener = std::function<void(Change)>;

    explicit RecordSet(char decimalSeparator) : decimalSeparator_(decimalSeparator) {}

    // Reads a record file as it streams in, converting each line once; at the first fault it
    // throws RecordFileError (the line, the field, or an empty file or line) and nothing else
    // has been held but the lines before it.
    static Contents ReadFile(const std::string& path, char decimalSeparator);

    void AddListener(Listener listener) { listeners_.push_back(std::move(listener)); }

    // Records from a file or from elsewhere take the place of the ones held; `file` is the
    // record file they are in, empty when they are in none. They count as saved.
    void Replace(Contents contents, const QString& file);
    // The lines were set directly (Lines()): the records are read back from them. A line that
    // does not convert ends it with the records before it, and its ConversionError goes on.
    void ReadBackLines();
    // An upload begins: the records go (the upload writes the lines itself), no file.
    void BeginUpload();
    // An upload appended a record's line at lineIndex: its fields as the upload read them.
    void RecordUploaded(int number, int lineIndex, const RecordTextFields& fields,
                        int damagedImpactCount = -1);
    // The window closes.
    void Clear();

    // The record file written whole (atomically); the records are saved and in `path`. A
    // failure throws RecordFileError and changes nothing.
    void SaveAs(const QString& path);
    // A CSV table for spreadsheets: not a save, the unsaved state stays.
    void ExportCsv(const QString& path, const RecordCsvOptions& options) const;

    const RecordLines& Lines() const { return lines_; }
    RecordLines& Lines() { return lines_; }
    const std::vector<Record>& Records() const { return records_; }
    int Count() const { return static_cast<int>(records_.size()); }
    // The record number of each record line (index 0 for line 1); a line without a record
    // keeps its place.
    std::vector<long> NumbersByLine() const;
    bool Unsaved() const { return unsaved_; }
    const QString& File() const { return file_; }
    char DecimalSeparator() const { return decimalSeparator_; }

  private:
    void Tell(Change change);

    char decimalSeparator_;
    RecordLines lines_;
    std::vector<Record> records_;
    QString file_;
    bool unsaved_ = false;
    std::vector<Listener> listeners_;
};

}  // namespace leeb
