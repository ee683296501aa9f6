#pragma once
// The report body: every record of RecordLines as a block of heading, settings, pictograms,
// readings and statistics, paginated by counted body lines, on a PageWriter whose first page
// has been started.

#include <QString>

#include "PageWriter.h"
#include "RecordFile.h"
#include "ReportContent.h"

namespace leeb {

// Throws ConversionError (naming the line) for a record line whose fields do not convert;
// drawing already done stays on the writer. `content` adds the lab's details, limits and
// marks, and chooses the records; its default is the plain report.
void PrintReportBody(PageWriter& writer, const RecordLines& lines, char decimalSeparator,
                        const QString& printDate, const ReportContent& content = {});

// Converts every record line the report will print, so a bad line can be reported before any
// output is started. Throws the same ConversionError as PrintReportBody.
void CheckReportRecords(const RecordLines& lines, char decimalSeparator,
                        const ReportContent& content = {});

}  // namespace leeb
