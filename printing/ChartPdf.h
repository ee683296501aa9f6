#pragma once
// The chart printout written to a PDF file instead of a printer: the same landscape page, for
// a desktop with no printer installed.

#include <QPageSize>
#include <QString>

class QCustomPlot;

namespace leeb {

// The page PrintChart gives a printer of this paper size, written to `pdfPath` whole or not
// at all: a failure leaves an existing file as it was. Throws ReportError.
void SaveChartPdf(QCustomPlot* chart, const QString& pdfPath, const QPageSize& paper);

}  // namespace leeb
