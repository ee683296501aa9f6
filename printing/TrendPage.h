#pragma once
// The trend on one A4 landscape page: title, kind and date, the filters that chose the records,
// the individuals chart over the moving-range chart, the histogram, the figures and the
// signals, in the interface language. The same page goes to a printer and to a PDF file.

#include <QPrinter>
#include <QString>
#include <QStringList>
#include <qcustomplot.h>

#include "RecordEvaluation.h"
#include "TrendPoints.h"
#include "TrendStatistics.h"

namespace leeb {

struct TrendPageContent {
    TrendSeries Series;
    TrendFigures Figures;
    ToleranceLimits Limits;
    QStringList Filters;  // one text per filter used, as the caller words it
    QString PrintDate;    // empty: today in the default locale's short date format
};

// Draws the page into `target` (device pixels of `painter`'s device). The trend must be
// charted (two points or more).
void DrawTrendPage(QCPPainter& painter, const QRect& target, const TrendPageContent& content);

// Writes the page as a one-page PDF, replacing `pdfPath` only when the whole page was written.
// Throws ReportError with the cause in the interface language, also for a trend of fewer than
// two points.
void WriteTrendPdf(const TrendPageContent& content, const QString& pdfPath);

// Prints the page on one landscape sheet; the printer's orientation is restored afterwards.
// Throws ReportError when the printer cannot be used.
void PrintTrendPage(const TrendPageContent& content, QPrinter& printer);

}  // namespace leeb
