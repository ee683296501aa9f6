#include "ChartPdf.h"

#include <QCoreApplication>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>

#include "AtomicFileWrite.h"
#include "ChartPrintout.h"
#include "RecordFileErrors.h"
#include "ReportErrors.h"

namespace leeb {

void SaveChartPdf(QCustomPlot* chart, const QString& pdfPath, const QPageSize& paper) {
    const auto cannotWrite = [&pdfPath](const QString& reason) {
        return ReportError(QCoreApplication::translate("ChartPdf", "无法把图表写入 \"%1\": %2")
                               .arg(pdfPath, reason)
                               .toStdString());
    };
    // Qt's PDF printer writes straight into its file and cannot tell a full disk; the page is
    // made aside, then replaces the target in one step.
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        throw cannotWrite(scratch.errorString());
    }
    const QString page = scratch.filePath(QStringLiteral("chart.pdf"));
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(page);
        printer.setPageSize(paper);
        PrintChart(chart, printer);
    }
    QFile made(page);
    if (!made.open(QIODevice::ReadOnly)) {
        throw cannotWrite(made.errorString());
    }
    const QByteArray content = made.readAll();
    try {
        ReplaceFileContent(QFile::encodeName(pdfPath).toStdString(), content.toStdString());
    } catch (const RecordFileError& error) {
        throw cannotWrite(QString::fromStdString(error.what()));
    }
}

}  // namespace leeb
