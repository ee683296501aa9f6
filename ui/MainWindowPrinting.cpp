// The two print commands of the window: the report (its details asked only when wanted) and the
// chart.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <exception>

#include "BarChart.h"
#include "ChartPdf.h"
#include "DialogHost.h"
#include "ChartPrintout.h"
#include "LabSettings.h"
#include "MainWindow.h"
#include "OutputFileName.h"
#include "ReportErrors.h"
#include "ReportSystem.h"

namespace leeb {

void MainWindow::UseChartPrinter(std::unique_ptr<QPrinter> printer) {
    printer_ = std::move(printer);
}

void MainWindow::PrintChartClicked() {
    // The current printer keeps its settings from one chart printout to the next.
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    // Without a printer installed Qt's printer has no name and takes the page without a word;
    // the user must learn that nothing will come out, and may keep the page as a PDF instead.
    const bool toFile = !printer_->outputFileName().isEmpty();
    if (!toFile && printer_->printerName().isEmpty()) {
        SaveChartInstead();
        return;
    }
    PrintChart(chart_, *printer_);
    ShowFeedback(toFile ? tr("已保存 %1").arg(QDir::toNativeSeparators(printer_->outputFileName()))
                        : tr("图表已送往打印机 %1").arg(printer_->printerName()));
}

void MainWindow::SaveChartInstead() {
    const int answer = dialogs_.AskQuestion(
        tr("没有可用的打印机: 请先在系统中添加一台打印机。\n也可以把图表另存为 PDF 文件。"),
        tr("打印图表"), {tr("另存为 PDF..."), tr("取消")});
    if (answer != 0)
        return;
    const std::optional<SaveFileChoice> chosen =
        dialogs_.GetSaveFileName(tr("PDF 文件 (*.pdf)"));
    if (!chosen || chosen->Path.isEmpty())
        return;
    const QString path = QFile::decodeName(QByteArray::fromStdString(
        WithDefaultExtension(QFile::encodeName(chosen->Path).toStdString(), ".pdf")));
    if (QFileInfo::exists(path) &&
        dialogs_.MessageBox(tr("文件名已存在!\n你要替换现在文件吗?"), tr("文件名重复"),
                            MB_YESNO | MB_ICONQUESTION) == IDNO) {
        return;
    }
    SaveChartPdf(chart_, path, printer_->pageLayout().pageSize());
    ShowFeedback(tr("已保存 %1").arg(QDir::toNativeSeparators(path)));
}

void MainWindow::PrintReportClicked() {
    PrintReport(false);
}

void MainWindow::PrintReportWithDetails() {
    PrintReport(true);
}

void MainWindow::PrintReport(bool askDetails) {
    // A lab that filled in its details gets them proposed every time; anyone else goes straight
    // to the output options, where "报表信息..." still offers them.
    if (askDetails || labSettings_->Details().Any()) {
        if (!PrepareReportContent())
            return;
    } else {
        ReportContent content;
        content.Quality = labSettings_->Quality();
        content.Records = SelectedRecordLines();
        reports_->SetContent(std::move(content));
    }
    reports_->SetDetailsEditor([this] {
        // Runs inside the output options' event loop: a failure is shown, never thrown
        // through Qt; Cancel keeps the content the run had.
        try {
            PrepareReportContent();
        } catch (const std::exception& error) {
            ReportError(error);
        }
    });
    if (const std::optional<QString> pdf =
            reports_->Run(this, Lines(), decimalSeparator_))
        ShowFeedback(
            QCoreApplication::translate("MainWindow", "已保存 %1").arg(QDir::toNativeSeparators(*pdf)));
}

}  // namespace leeb
