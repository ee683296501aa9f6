#include "TrendPage.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <memory>
#include <optional>

#include "AtomicFileDevice.h"
#include "AtomicFileWrite.h"
#include "ErrorText.h"
#include "ReportErrors.h"
#include "RecordFileErrors.h"
#include "ReportLabels.h"
#include "TrendChartContent.h"
#include "TrendHistogram.h"
#include "TrendText.h"

namespace leeb {

namespace {

// The page is laid out on a canvas of A4 landscape at 96 pixels per inch and scaled onto the
// device, so the charts keep the proportions they have on screen.
constexpr double CanvasWidth = 1123.0;
constexpr double CanvasHeight = 794.0;
constexpr int PdfResolution = 1200;
constexpr int Margin = 40;
constexpr int ChartsWidth = 700;
constexpr int Gap = 12;


QFont PageFont(int pixels, bool bold = false) {
    QFont font;
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

void DrawPlot(QCPPainter& painter, QCustomPlot& plot, const QRect& area) {
    plot.resize(area.size());
    painter.save();
    painter.translate(area.topLeft());
    painter.setClipRect(QRect(QPoint(), area.size()));
    // Vector output, and hairlines one chart pixel wide rather than one printer dot.
    painter.setMode(QCPPainter::pmVectorized);
    painter.setMode(QCPPainter::pmNonCosmetic);
    plot.toPainter(&painter, area.width(), area.height());
    painter.restore();
}

// Returns the y below the text.
int DrawTextBlock(QPainter& painter, const QRect& area, const QString& text, const QFont& font,
                  const QColor& colour = Qt::black) {
    painter.setFont(font);
    painter.setPen(colour);
    QRect used;
    painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text, &used);
    return used.bottom() + 1;
}

int DrawFigures(QPainter& painter, const QRect& area, const TrendPageContent& content) {
    const auto rows =
        TrendFigureRows(content.Figures, TrendNumberFormat::For(content.Series.Kind));
    constexpr int RowHeight = 19;
    painter.setFont(PageFont(13));
    int y = area.top();
    for (const auto& [label, value] : rows) {
        const QRect row(area.left(), y, area.width(), RowHeight);
        painter.setPen(QColor(200, 200, 200));
        painter.drawLine(row.bottomLeft(), row.bottomRight());
        painter.setPen(Qt::black);
        painter.drawText(row.adjusted(4, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, label);
        painter.drawText(row.adjusted(0, 0, -4, 0), Qt::AlignRight | Qt::AlignVCenter, value);
        y += RowHeight;
    }
    return y;
}

}  // namespace

void DrawTrendPage(QCPPainter& painter, const QRect& target, const TrendPageContent& content) {
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / CanvasWidth, target.height() / CanvasHeight);

    const QString date =
        content.PrintDate.isEmpty() ? PrintDateText(QDate::currentDate()) : content.PrintDate;
    const int right = static_cast<int>(CanvasWidth) - Margin;
    painter.setFont(PageFont(20, true));
    painter.setPen(Qt::black);
    const QRect titleRow(Margin, Margin - 10, right - Margin, 28);
    painter.drawText(titleRow, Qt::AlignLeft | Qt::AlignVCenter,
                     QCoreApplication::translate("TrendPage", "趋势与过程能力") + QStringLiteral("  ") +
                         TrendKindText(content.Series.Kind));
    painter.setFont(PageFont(13));
    painter.drawText(titleRow, Qt::AlignRight | Qt::AlignVCenter,
                     QCoreApplication::translate("TrendPage", "打印日期: %1").arg(date));
    const QString filters =
        content.Filters.isEmpty() ? QCoreApplication::translate("TrendPage", "全部记录") : content.Filters.join(QStringLiteral("; "));
    int y = DrawTextBlock(painter, QRect(Margin, titleRow.bottom() + 4, right - Margin, 40),
                          QCoreApplication::translate("TrendPage", "筛选条件: %1").arg(filters), PageFont(12));
    y += 6;

    TrendCharts charts = TrendCharts::Create(nullptr);
    const std::unique_ptr<QWidget> owner[] = {std::unique_ptr<QWidget>(charts.Individuals),
                                              std::unique_ptr<QWidget>(charts.MovingRanges),
                                              std::unique_ptr<QWidget>(charts.Histogram)};
    charts.Show(content.Series, content.Figures, content.Limits);
    const int bottom = static_cast<int>(CanvasHeight) - Margin;
    const int chartsHeight = bottom - y;
    const int individualsHeight = chartsHeight * 3 / 5;
    DrawPlot(painter, *charts.Individuals, QRect(Margin, y, ChartsWidth, individualsHeight));
    DrawPlot(painter, *charts.MovingRanges,
             QRect(Margin, y + individualsHeight + Gap, ChartsWidth,
                   chartsHeight - individualsHeight - Gap));

    const int sideLeft = Margin + ChartsWidth + Gap * 2;
    const int sideWidth = right - sideLeft;
    DrawPlot(painter, *charts.Histogram, QRect(sideLeft, y, sideWidth, 250));
    int sideY = DrawFigures(painter, QRect(sideLeft, y + 262, sideWidth, 160), content) + 8;
    if (content.Figures.RoughEstimate()) {
        sideY = DrawTextBlock(painter, QRect(sideLeft, sideY, sideWidth, 40), RoughEstimateNote(),
                              PageFont(12, true)) + 6;
    }
    if (!content.Series.WithoutValue.empty()) {
        sideY = DrawTextBlock(painter, QRect(sideLeft, sideY, sideWidth, 40),
                              WithoutValueNote(content.Series.WithoutValue.size()),
                              PageFont(12)) + 6;
    }
    const QString signalText = TrendSignalText(content.Series, content.Figures, 6);
    DrawTextBlock(painter, QRect(sideLeft, sideY, sideWidth, bottom - sideY),
                  signalText.isEmpty() ? QCoreApplication::translate("TrendPage", "无失控信号。") : signalText, PageFont(12),
                  signalText.isEmpty() ? QColor(Qt::black) : QColor(176, 0, 0));
    painter.restore();
}

namespace {

std::string CannotWrite(const QString& path, const QString& reason) {
    return QCoreApplication::translate("TrendPage", "无法把趋势图写入 \"%1\": %2。").arg(path, reason).toStdString();
}

std::string CannotWrite(const QString& path, const RecordFileError& error) {
    if (error.Problem() == FileProblem::NotARegularFile && error.SystemError() == 0) {
        return CannotWrite(path, QCoreApplication::translate("TrendPage", "它不是普通文件"));
    }
    return CannotWrite(path, ErrorText::SystemReason(error.SystemError()));
}

// A page of empty charts would pass for a trend: it is refused before any output exists.
void RefuseUncharted(const TrendPageContent& content) {
    if (!content.Figures.Charted()) {
        throw ReportError(TooFewPointsMessage(content.Figures.N).toStdString());
    }
}

}  // namespace

void WriteTrendPdf(const TrendPageContent& content, const QString& pdfPath) {
    RefuseUncharted(content);
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
        pdf.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF()));
        pdf.setTitle(QCoreApplication::translate("TrendPage", "趋势与过程能力"));
        pdf.setCreator(QStringLiteral("leebdesk"));
        QCPPainter painter;
        if (!painter.begin(&pdf)) {
            throw ReportError(CannotWrite(pdfPath, QCoreApplication::translate("TrendPage", "PDF 无法开始")));
        }
        DrawTrendPage(painter, QRect(0, 0, pdf.width(), pdf.height()), content);
        if (!painter.end()) {
            throw ReportError(CannotWrite(pdfPath, QCoreApplication::translate("TrendPage", "PDF 无法完成")));
        }
    }
    try {
        file->Commit();
    } catch (const RecordFileError& error) {
        throw ReportError(CannotWrite(pdfPath, error));
    }
}

void PrintTrendPage(const TrendPageContent& content, QPrinter& printer) {
    RefuseUncharted(content);
    const QPageLayout::Orientation orientation = printer.pageLayout().orientation();
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(QCoreApplication::translate("TrendPage", "趋势与过程能力"));
    QCPPainter painter;
    if (!painter.begin(&printer)) {
        printer.setPageOrientation(orientation);
        throw ReportError(QCoreApplication::translate("TrendPage", "无法启动打印机。").toStdString());
    }
    const QRect page = printer.pageRect(QPrinter::DevicePixel).toRect();
    DrawTrendPage(painter, QRect(QPoint(), page.size()), content);
    const bool ended = painter.end();
    printer.setPageOrientation(orientation);
    if (!ended) {
        throw ReportError(QCoreApplication::translate("TrendPage", "趋势图未能打印完。").toStdString());
    }
}

}  // namespace leeb
