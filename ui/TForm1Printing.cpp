// The two print commands of the window.

#include <QCoreApplication>
#include <QDir>
#include <QPrinter>

#include "BarChart.h"
#include "ChartPrintout.h"
#include "ReportSystem.h"
#include "TForm1.h"

namespace leeb {

void TForm1::BitBtn3Click() {
    // The current printer keeps its settings from one chart printout to the next.
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    PrintChart(chart1_, *printer_);
}

void TForm1::BitBtn4Click() {
    if (!PrepareReportContent())
        return;
    if (const std::optional<QString> pdf =
            reportSystem1_->Run(this, recordLines_, decimalSeparator_))
        ShowFeedback(
            QCoreApplication::translate("TForm1", "已保存 %1").arg(QDir::toNativeSeparators(*pdf)));
}

}  // namespace leeb
