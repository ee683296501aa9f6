#include "RecordFileCheck.h"

#include "FieldConversion.h"

namespace leeb {

std::optional<RecordFileProblem> CheckRecordLines(const RecordLines& lines, char decimalSeparator) {
    using Cause = RecordFileProblem::Cause;
    if (lines.empty())
        return RecordFileProblem{Cause::Empty, 1, {}};
    if (!HeaderTest(lines))
        return RecordFileProblem{Cause::BadHeader, 1, {}};
    for (std::size_t r = 1; r < lines.size(); ++r) {
        const int lineNumber = static_cast<int>(r + 1);
        if (TrimField(lines[r]).empty())
            return RecordFileProblem{Cause::EmptyLine, lineNumber, {}};
        try {
            ParseRecordLine(lines[r], decimalSeparator);
        } catch (const ConversionError& error) {
            return RecordFileProblem{Cause::BadLine, lineNumber, error.what()};
        }
    }
    return std::nullopt;
}

CheckedRecordFile ReadRecordFileForOpen(const std::string& path, char decimalSeparator) {
    CheckedRecordFile result;
    try {
        result.Lines = ReadRecordFile(path);
    } catch (const RecordFileError& error) {
        result.Problem = RecordFileProblem{RecordFileProblem::Cause::Unreadable, 0, error.what()};
        return result;
    }
    result.Problem = CheckRecordLines(result.Lines, decimalSeparator);
    if (result.Problem)
        result.Lines = RecordLines();
    return result;
}

}  // namespace leeb
