#include "ChartPrintout.h"

#include <QCoreApplication>
#include <QPainter>
#include <qcustomplot.h>

#include "NumberText.h"
#include "ReportErrors.h"

namespace leeb {
namespace {

constexpr int MarginLeftPercent = 5;
constexpr int MarginTopPercent = 4;
constexpr int MarginRightPercent = 4;
constexpr int MarginBottomPercent = 5;

int Percent(int length, int percent) {
    return static_cast<int>(RoundHalfEvenQuotient(static_cast<int64_t>(length) * percent, 100));
}

// Puts the printer's orientation back however the printout ends.
class OrientationRestorer {
  public:
    explicit OrientationRestorer(QPrinter& printer)
        : printer_(printer), orientation_(printer.pageLayout().orientation()) {}
    ~OrientationRestorer() { printer_.setPageOrientation(orientation_); }
    OrientationRestorer(const OrientationRestorer&) = delete;
    OrientationRestorer& operator=(const OrientationRestorer&) = delete;

  private:
    QPrinter& printer_;
    QPageLayout::Orientation orientation_;
};

}  // namespace

ChartPrintRect ChartPrintRectangle(int printableWidth, int printableHeight) {
    return ChartPrintRect{Percent(printableWidth, MarginLeftPercent),
                          Percent(printableHeight, MarginTopPercent),
                          printableWidth - Percent(printableWidth, MarginRightPercent),
                          printableHeight - Percent(printableHeight, MarginBottomPercent)};
}

void PrintChart(QCustomPlot* chart, QPrinter& printer) {
    if (chart == nullptr || chart->width() <= 0 || chart->height() <= 0) {
        throw ReportError(
            QCoreApplication::translate("ChartPrintout", "图表没有可打印的区域。").toStdString());
    }
    OrientationRestorer restorer(printer);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(QStringLiteral("Chart1"));

    const QRect printable = printer.pageRect(QPrinter::DevicePixel).toRect();
    const ChartPrintRect rect = ChartPrintRectangle(printable.width(), printable.height());
    // A full-page printer paints from the sheet's corner, otherwise from the printable area's.
    const QPoint origin = printer.fullPage() ? printable.topLeft() : QPoint();

    QCPPainter painter;
    if (!painter.begin(&printer)) {
        throw ReportError(
            QCoreApplication::translate("ChartPrintout", "无法启动打印机。").toStdString());
    }
    try {
        const QRect target(origin.x() + rect.Left, origin.y() + rect.Top, rect.Right - rect.Left,
                           rect.Bottom - rect.Top);
        painter.setClipRect(target);
        painter.translate(target.topLeft());
        painter.scale(static_cast<double>(target.width()) / chart->width(),
                      static_cast<double>(target.height()) / chart->height());
        // Vector output, and pens of width 0 drawn one chart pixel wide rather than one
        // printer dot, so the page shows the lines as the screen does.
        painter.setMode(QCPPainter::pmVectorized);
        painter.setMode(QCPPainter::pmNonCosmetic);
        chart->toPainter(&painter, chart->width(), chart->height());
    } catch (...) {
        printer.abort();
        painter.end();
        throw;
    }
    if (!painter.end()) {
        throw ReportError(
            QCoreApplication::translate("ChartPrintout", "图表未能打印完。").toStdString());
    }
}

}  // namespace leeb
