#include "ReportPdf.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <optional>

#include "AtomicFileDevice.h"
#include "AtomicFileWrite.h"
#include "ErrorText.h"
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

// The system's reason in the interface language, without the file name the writer's message
// repeats.
std::string CannotWrite(const QString& path, const RecordFileError& error) {
    if (error.Problem() == FileProblem::NotARegularFile && error.SystemError() == 0) {
        return CannotWrite(path, QCoreApplication::translate("ReportPdf", "它不是普通文件"));
    }
    return CannotWrite(path, ErrorText::SystemReason(error.SystemError()));
}

}  // namespace

void WriteReportPdf(const RecordLines& lines, const QString& pdfPath, char decimalSeparator) {
    WriteReportPdf(lines, pdfPath, decimalSeparator, PdfReportOptions{});
}

void WriteReportPdf(const RecordLines& lines, const QString& pdfPath, char decimalSeparator,
                    const PdfReportOptions& options) {
    CheckReportRecords(lines, decimalSeparator, options.Content);
    const QString printDate =
        options.PrintDate.isEmpty() ? PrintDateText(QDate::currentDate()) : options.PrintDate;

    // Qt's own save file does not notice a write that failed part-way (a full disk) and would
    // replace a good report with a truncated one; every write here is checked, and the file
    // is synced before it replaces the old one.
    const std::string path = QFile::encodeName(pdfPath).toStdString();
    std::optional<AtomicFileWriter> file;
    try {
        file.emplace(path);
    } catch (const RecordFileError& error) {
        throw ReportError(CannotWrite(pdfPath, error));
    }
    {
        AtomicFileDevice device(*file);
        QPdfWriter pdf(&device);
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
        PrintReportBody(writer, lines, decimalSeparator, printDate, options.Content);
        if (!painter.end()) {
            throw ReportError(
                CannotWrite(pdfPath, QCoreApplication::translate("ReportPdf", "PDF 无法完成")));
        }
    }
    try {
        file->Commit();
    } catch (const RecordFileError& error) {
        throw ReportError(CannotWrite(pdfPath, error));
    }
}

}  // namespace leeb
