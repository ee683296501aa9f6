#include "RecordFileCheck.h"

#include "ErrorText.h"
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
            // Worded here, in the interface language, from the field that failed.
            return RecordFileProblem{Cause::BadLine, lineNumber,
                                     ErrorText::Of(error).toStdString()};
        }
    }
    return std::nullopt;
}

CheckedRecordFile ReadRecordFileForOpen(const std::string& path, char decimalSeparator) {
    CheckedRecordFile result;
    try {
        result.Lines = ReadRecordFile(path);
    } catch (const RecordFileError& error) {
        const std::string reason = error.SystemError() != 0
                                       ? ErrorText::SystemReason(error.SystemError()).toStdString()
                                       : std::string(error.what());
        result.Problem = RecordFileProblem{RecordFileProblem::Cause::Unreadable, 0, reason};
        return result;
    }
    result.Problem = CheckRecordLines(result.Lines, decimalSeparator);
    if (result.Problem)
        result.Lines = RecordLines();
    return result;
}

}  // namespace leeb
