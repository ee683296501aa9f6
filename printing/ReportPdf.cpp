#include "ReportPdf.h"

#include <QCoreApplication>
#include <QDate>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include "PainterPageWriter.h"
#include "ReportErrors.h"
#include "ReportGenerator.h"
#include "ReportLabels.h"

namespace leeb {
namespace {

// Fine enough that every position lands within 1/1200 in of where the report puts it.
constexpr int PdfResolution = 1200;

std::string CannotWrite(const QString& path, const QString& reason) {
    return QCoreApplication::translate("ReportPdf", "无法把报表写入 \"%1\": %2。")
        .arg(path, reason)
        .toStdString();
}

}  // namespace

void WriteReportPdf(const RecordLines& lines, const QString& pdfPath, char decimalSeparator) {
    WriteReportPdf(lines, pdfPath, decimalSeparator, PdfReportOptions{});
}

void WriteReportPdf(const RecordLines& lines, const QString& pdfPath, char decimalSeparator,
                    const PdfReportOptions& options) {
    CheckReportRecords(lines, decimalSeparator);
    const QString printDate =
        options.PrintDate.isEmpty() ? PrintDateText(QDate::currentDate()) : options.PrintDate;

    QSaveFile file(pdfPath);
    if (!file.open(QIODevice::WriteOnly)) {
        throw ReportError(CannotWrite(pdfPath, file.errorString()));
    }
    {
        QPdfWriter pdf(&file);
        pdf.setResolution(PdfResolution);
        pdf.setPageLayout(QPageLayout(options.PageSize, QPageLayout::Portrait, QMarginsF()));
        pdf.setTitle(QCoreApplication::translate("ReportGenerator", "硬度/强度测试报表"));
        pdf.setCreator(QStringLiteral("leebdesk"));
        QPainter painter;
        if (!painter.begin(&pdf)) {
            throw ReportError(
                CannotWrite(pdfPath, QCoreApplication::translate("ReportPdf", "PDF 无法开始")));
        }
        PainterPageWriter writer(pdf, painter, options.FirstPage, options.LastPage);
        writer.SetProgressHandler(options.Progress);
        ReportSystem1Print(writer, lines, decimalSeparator, printDate);
        if (!painter.end()) {
            throw ReportError(
                CannotWrite(pdfPath, QCoreApplication::translate("ReportPdf", "PDF 无法完成")));
        }
    }
    if (!file.commit()) {
        throw ReportError(CannotWrite(pdfPath, file.errorString()));
    }
}

}  // namespace leeb
