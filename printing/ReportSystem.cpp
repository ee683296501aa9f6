#include "ReportSystem.h"

#include <QCoreApplication>
#include <QDate>
#include <QGraphicsView>
#include <QGuiApplication>
#include <QPaintEngine>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <exception>

#include "PainterPageWriter.h"
#include "ReportErrors.h"
#include "ReportGenerator.h"
#include "ReportLabels.h"
#include "ReportPdf.h"
#include "ReportStatusWindow.h"

namespace leeb {
namespace {

// The report's sheets: portrait, the origin at the paper's corner (margins 0).
void PrepareReportPrinter(QPrinter& printer) {
    printer.setFullPage(true);
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setDocName(QCoreApplication::translate("ReportGenerator", "硬度/强度测试报表"));
}

// Generates the whole report on `printer` under a status window. Throws ReportCancelled after
// aborting the job when the user cancels.
void RenderReport(QWidget* parent, QPrinter& printer, const RecordLines& lines,
                  char decimalSeparator, const QString& printDate, const ReportContent& content) {
    ReportStatusWindow status(parent);
    status.show();
    QPainter painter;
    if (!painter.begin(&printer)) {
        throw ReportError(
            QCoreApplication::translate("ReportSystem", "无法启动打印机。").toStdString());
    }
    try {
        PainterPageWriter writer(printer, painter, printer.fromPage(), printer.toPage());
        writer.SetProgressHandler([&status](int page) { return status.Progress(page); });
        PrintReportBody(writer, lines, decimalSeparator, printDate, content);
    } catch (...) {
        // A preview records pictures and has no job to abort (aborting it breaks the printer).
        const QPaintEngine* engine = printer.paintEngine();
        if (engine == nullptr || engine->type() != QPaintEngine::Picture) {
            printer.abort();
        }
        painter.end();
        throw;
    }
    if (!painter.end()) {
        throw ReportError(
            QCoreApplication::translate("ReportSystem", "报表未能打印完。").toStdString());
    }
}

}  // namespace

ReportSystem::ReportSystem()
    : optionsProvider_([this](QWidget* parent) -> std::optional<OutputOptions> {
          OutputOptionsDialog dialog(parent);
          if (detailsEditor_) {
              dialog.OfferDetails([this] { EditDetails(); });
          }
          if (dialog.exec() != QDialog::Accepted) {
              return std::nullopt;
          }
          return dialog.Options();
      }),
      previewShower_([](QPrintPreviewDialog& preview) { preview.exec(); }) {}

std::optional<QString> ReportSystem::Run(QWidget* parent, const RecordLines& lines,
                                         char decimalSeparator) {
    const std::optional<OutputOptions> options = optionsProvider_(parent);
    if (!options) {
        return std::nullopt;
    }
    // A bad line is reported before a page reaches any printer, preview or file.
    CheckReportRecords(lines, decimalSeparator, content_);
    const QString printDate = PrintDateText(QDate::currentDate());
    try {
        switch (options->Destination) {
            case ReportDestination::Printer:
                ToPrinter(parent, *options, lines, decimalSeparator, printDate);
                break;
            case ReportDestination::Preview:
                ToPreview(parent, lines, decimalSeparator, printDate);
                break;
            case ReportDestination::File:
                ToFile(parent, *options, lines, decimalSeparator, printDate);
                return options->FilePath;
        }
    } catch (const ReportCancelled&) {
        // The user asked for it: nothing more to say.
    }
    return std::nullopt;
}

void ReportSystem::ToPrinter(QWidget* parent, const OutputOptions& options,
                             const RecordLines& lines, char decimalSeparator,
                             const QString& printDate) {
    QPrinter printer(QPrinter::HighResolution);
    if (!options.PrinterName.isEmpty()) {
        printer.setPrinterName(options.PrinterName);
    }
    if (options.PageLayout) {
        printer.setPageSize(options.PageLayout->pageSize());
    }
    PrepareReportPrinter(printer);
    printer.setCopyCount(options.Copies);
    printer.setCollateCopies(options.Collate);
    printer.setDuplex(options.Duplex);
    if (options.FirstPage > 0) {
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(options.FirstPage, options.LastPage);
    }
    RenderReport(parent, printer, lines, decimalSeparator, printDate, content_);
}

void ReportSystem::ToPreview(QWidget* parent, const RecordLines& lines, char decimalSeparator,
                             const QString& printDate) {
    QPrinter printer(QPrinter::HighResolution);
    PrepareReportPrinter(printer);
    QPrintPreviewDialog preview(&printer, parent);
    preview.setWindowTitle(QStringLiteral("Report Preview"));
    // Left to its contents, the dialog comes up on Windows as a strip barely taller than its
    // tool bar, scrolled into the middle of a page. Two thirds of the screen is what X11 gives it
    // by itself; sized before the pages are laid out, the view starts at the top of page 1.
    if (const QScreen* screen =
            parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen())
        preview.resize(screen->availableGeometry().size() * 2 / 3);

    // The preview re-runs the generator for its pages and again when printing from it; a
    // failure inside the signal is carried out of the preview and raised here.
    std::exception_ptr failure;
    bool cancelled = false;
    QObject::connect(
        &preview, &QPrintPreviewDialog::paintRequested, &preview, [&](QPrinter* target) {
            if (failure) {
                return;
            }
            try {
                RenderReport(&preview, *target, lines, decimalSeparator, printDate, content_);
            } catch (const ReportCancelled&) {
                cancelled = true;
            } catch (...) {
                failure = std::current_exception();
            }
        });
    auto* pages = preview.findChild<QPrintPreviewWidget*>();
    if (pages == nullptr) {
        throw ReportError(
            QCoreApplication::translate("ReportSystem", "报表预览不可用。").toStdString());
    }
    pages->updatePreview();
    if (failure) {
        std::rethrow_exception(failure);
    }
    if (cancelled) {
        return;
    }
    pages->setZoomMode(QPrintPreviewWidget::CustomZoom);
    pages->setZoomFactor(1.0);
    // Zooming keeps the view's centre, which can leave it in the middle of page 1 once the
    // dialog is up; a reader starts at the top of the first page.
    if (auto* view = pages->findChild<QGraphicsView*>()) {
        QTimer::singleShot(0, view, [view] {
            view->verticalScrollBar()->setValue(view->verticalScrollBar()->minimum());
        });
    }
    previewShower_(preview);
    if (failure) {
        std::rethrow_exception(failure);
    }
}

void ReportSystem::ToFile(QWidget* parent, const OutputOptions& options, const RecordLines& lines,
                          char decimalSeparator, const QString& printDate) {
    ReportStatusWindow status(parent);
    status.show();
    PdfReportOptions pdf;
    if (options.PageLayout) {
        pdf.PageSize = options.PageLayout->pageSize();
    }
    pdf.FirstPage = options.FirstPage;
    pdf.LastPage = options.LastPage;
    pdf.PrintDate = printDate;
    pdf.Content = content_;
    pdf.Progress = [&status](int page) { return status.Progress(page); };
    WriteReportPdf(lines, options.FilePath, decimalSeparator, pdf);
}

}  // namespace leeb
