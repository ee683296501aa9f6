// The two print commands of the window.

#include <QCoreApplication>
#include <QDir>
#include <QPrinter>

#include "BarChart.h"
#include "ChartPrintout.h"
#include "ReportErrors.h"
#include "ReportSystem.h"
#include "MainWindow.h"

namespace leeb {

void MainWindow::UseChartPrinter(std::unique_ptr<QPrinter> printer) {
    printer_ = std::move(printer);
}

void MainWindow::PrintChartClicked() {
    // The current printer keeps its settings from one chart printout to the next.
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    // Without a printer installed Qt's printer has no name and takes the page without a word;
    // the user must learn that nothing will come out.
    const bool toFile = !printer_->outputFileName().isEmpty();
    if (!toFile && printer_->printerName().isEmpty()) {
        throw leeb::ReportError(tr("没有可用的打印机: 请先在系统中添加一台打印机。").toStdString());
    }
    PrintChart(chart_, *printer_);
    ShowFeedback(toFile ? tr("已保存 %1").arg(QDir::toNativeSeparators(printer_->outputFileName()))
                        : tr("图表已送往打印机 %1").arg(printer_->printerName()));
}

void MainWindow::PrintReportClicked() {
    if (!PrepareReportContent())
        return;
    if (const std::optional<QString> pdf =
            reports_->Run(this, recordLines_, decimalSeparator_))
        ShowFeedback(
            QCoreApplication::translate("MainWindow", "已保存 %1").arg(QDir::toNativeSeparators(*pdf)));
}

}  // namespace leeb
