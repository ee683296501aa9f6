// The chart printout: print rectangle, landscape page, orientation restored.
#include <gtest/gtest.h>

#include <qcustomplot.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "ChartPrintout.h"
#include "PdfText.h"
#include "ReportErrors.h"

namespace leeb {
namespace {

TEST(ChartPrintRectangle, PercentMarginsRoundedHalfToEven) {
    struct Case {
        int width, height;
        ChartPrintRect expected;
    } cases[] = {
        {1000, 800, {50, 32, 960, 760}},
        {3300, 2550, {165, 102, 3168, 2422}},  // 2550 * 5 / 100 = 127.5 -> 128
        {10, 25, {0, 1, 10, 24}},              // 0.5 -> 0, 1.0, 0.4 -> 0, 1.25 -> 1
        {30, 50, {2, 2, 29, 48}},              // 1.5 -> 2, 2.0, 1.2 -> 1, 2.5 -> 2
        {0, 0, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ChartPrintRectangle(c.width, c.height), c.expected) << c.width << "x" << c.height;
    }
}

class ChartPrintout : public ::testing::Test {
  protected:
    void SetUp() override {
        auto* bars = new QCPBars(plot_.xAxis, plot_.yAxis);
        bars->setData({1, 2, 3}, {450, 460, 470});
        plot_.xAxis->setRange(0.5, 3.5);
        plot_.yAxis->setRange(400, 500);
        plot_.resize(400, 300);
        printer_.setOutputFormat(QPrinter::PdfFormat);
        printer_.setPageOrientation(QPageLayout::Portrait);
    }

    QTemporaryDir dir_;
    QCustomPlot plot_;
    QPrinter printer_{QPrinter::HighResolution};
};

TEST_F(ChartPrintout, LandscapePageAndOrientationRestored) {
    const QString pdf = dir_.filePath(QStringLiteral("chart.pdf"));
    printer_.setOutputFileName(pdf);
    PrintChart(&plot_, printer_);
    EXPECT_EQ(printer_.pageLayout().orientation(), QPageLayout::Portrait);
    EXPECT_EQ(printer_.docName(), QStringLiteral("Chart1"));

    const QString info = testing::PdfInfo(pdf);
    const auto match =
        QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+)")).match(info);
    ASSERT_TRUE(match.hasMatch()) << info.toStdString();
    EXPECT_GT(match.captured(1).toDouble(), match.captured(2).toDouble());
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))));

    if (qEnvironmentVariableIsSet("LEEBDESK_KEEP_CHART_PDF")) {
        QFile::copy(pdf, qEnvironmentVariable("LEEBDESK_KEEP_CHART_PDF"));
    }
}

TEST_F(ChartPrintout, FailureRestoresOrientation) {
    printer_.setOutputFileName(dir_.filePath(QStringLiteral("missing/dir/chart.pdf")));
    EXPECT_THROW(PrintChart(&plot_, printer_), ReportError);
    EXPECT_EQ(printer_.pageLayout().orientation(), QPageLayout::Portrait);
}

}  // namespace
}  // namespace leeb
