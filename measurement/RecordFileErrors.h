#pragma once
// Failures of the record line reader and of reading and writing files. Each carries codes
// that a user interface words in its own language; what() is an English text for logs and
// for callers that have nothing better.

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>

namespace leeb {

// The field of a record line that did not convert; Line for a fault of the line as a whole.
enum class LineField { ImpactCount, SettingsWord, Reading, Line };

// Why a field did not convert.
enum class FieldProblem {
    NotANumber,  // empty, cut short, letters, another decimal separator, ...
    OutOfRange,  // a number, but not one the field can hold (negative count, > 16 bits)
    NotText,     // LineField::Line: a byte that is no printable ASCII (Column, Byte)
};

struct FieldFault {
    LineField Field = LineField::ImpactCount;
    FieldProblem Problem = FieldProblem::NotANumber;
    int ReadingNumber = 0;  // 1-based, for LineField::Reading
    std::string Text;       // the field as it stands in the line, trimmed
    std::size_t Column = 0;  // NotText: where the byte stands, counted from 1 as the file has it
    unsigned char Byte = 0;  // NotText
};

// A field that does not convert (not a number, cut short, empty).
class ConversionError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
    ConversionError(const std::string& message, FieldFault fault)
        : std::runtime_error(message), fault_(std::move(fault)) {}

    // Set by the record line reader; empty for other conversions.
    const std::optional<FieldFault>& Fault() const { return fault_; }

  private:
    std::optional<FieldFault> fault_;
};

// A value that does not fit its columns when a line is written.
class RecordFormatError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

enum class FileProblem {
    Unspecified,  // made from a message alone
    CannotOpen,   // SystemError says why (ENOENT: does not exist, EACCES: no permission)
    IsAFolder,
    CannotRead,          // SystemError
    NotARecordFile,      // the first line is not the record file header (also an empty file)
    LineTooLong,         // LineNumber: longer than any record line can be
    LineDoesNotConvert,  // LineNumber and Field
    CannotWrite,         // SystemError
    NotARegularFile,     // the target exists and is a FIFO, device, socket or folder
};

// A file that cannot be read, written or used as a record file. The message names the file.
class RecordFileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
    RecordFileError(const std::string& message, FileProblem problem, std::string path,
                    int systemError = 0, std::size_t lineNumber = 0,
                    std::optional<FieldFault> field = std::nullopt, bool blank = false)
        : std::runtime_error(message),
          problem_(problem),
          path_(std::move(path)),
          systemError_(systemError),
          lineNumber_(lineNumber),
          field_(std::move(field)),
          blank_(blank) {}

    FileProblem Problem() const { return problem_; }
    const std::string& Path() const { return path_; }
    int SystemError() const { return systemError_; }  // errno, or 0
    // The line as a text editor counts it: 1 is the header line, 2 the first record.
    std::size_t LineNumber() const { return lineNumber_; }
    const std::optional<FieldFault>& Field() const { return field_; }
    // Nothing there at all: a NotARecordFile without a single line, or a LineDoesNotConvert
    // whose line is empty or only blanks. A user who finds an empty file or a stray empty line
    // needs to be told that rather than which field failed.
    bool Blank() const { return blank_; }

  private:
    FileProblem problem_ = FileProblem::Unspecified;
    std::string path_;
    int systemError_ = 0;
    std::size_t lineNumber_ = 0;
    std::optional<FieldFault> field_;
    bool blank_ = false;
};

}  // namespace leeb
