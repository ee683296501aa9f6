#pragma once
// The report written to a PDF file, without any window: the file destination of the report
// run and the batch report of the command-line tool.

#include <QPageSize>
#include <QString>
#include <functional>

#include "RecordFile.h"
#include "ReportContent.h"

namespace leeb {

// Writes all records of `lines` (line 0, the header, is skipped) as the report on A4 sheets.
// The file is replaced only when the whole report was written: on a failure an existing file
// stays as it was and no partial file is left. Throws ConversionError (a record line that
// does not convert, named by its line number) or ReportError (the file cannot be written).
void WriteReportPdf(const RecordLines& lines, const QString& pdfPath, char decimalSeparator);

struct PdfReportOptions {
    QPageSize PageSize{QPageSize::A4};
    int FirstPage = 0;  // 0: from the first page
    int LastPage = 0;   // 0: to the last page
    QString PrintDate;  // empty: today in the default locale's short date format
    // Called after each drawing operation; returning false cancels (ReportCancelled).
    std::function<bool(int page)> Progress;
    ReportContent Content;  // default: the plain report
};

void WriteReportPdf(const RecordLines& lines, const QString& pdfPath, char decimalSeparator,
                    const PdfReportOptions& options);

}  // namespace leeb
