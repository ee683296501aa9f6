// The bar chart in the window: its content read back from the plot, marks that never meet at
// any record size, and its printout.

#include <QPrinter>
#include <QTemporaryDir>
#include <cmath>
#include <functional>

#include "BarChart.h"
#include "ChartPrintout.h"
#include "PdfText.h"
#include "WindowFixture.h"

namespace leeb {
namespace {

QString Grouped(const QString& thousands, const QString& rest) {
    return thousands + QLocale::system().groupSeparator() + rest;
}
QString Decimal(const QString& whole, const QString& fraction) {
    return whole + QLocale::system().decimalPoint() + fraction;
}

// Readings a record can hold: hardness, one-decimal scales, four-digit strength values,
// neighbours that are equal and neighbours far apart.
struct Readings {
    const char* Name;
    std::function<double(int)> Reading;  // of reading i, from 0
};
const Readings Kinds[] = {
    {"hardness 508-521", [](int i) { return 508.0 + (i * 7) % 14; }},
    {"one decimal", [](int i) { return 40.0 + ((i * 37) % 200) / 10.0; }},
    {"four-digit strength", [](int i) { return i % 2 == 0 ? 1050.0 + i : 1985.0 - i; }},
    {"equal", [](int) { return 450.0; }},
    {"far apart", [](int i) { return i % 2 == 0 ? 120.0 : 960.0; }},
};

class BarChartWindowTest : public WindowTest {
  protected:
    void SetUp() override {
        form->show();
        Pump();
    }
    BarChart* Chart() const { return form->Chart(); }

    void Show(int count, const std::function<double(int)>& reading) {
        std::vector<QPointF> points;
        for (int i = 0; i < count; ++i)
            points.emplace_back(i + 1, reading(i));
        Chart()->SetPoints(points);
        Chart()->UpdateMarks();
    }
    std::vector<double> BarValues() const {
        std::vector<double> values;
        double key = 0.0;
        for (const QCPBarsData& bar : *Chart()->ReadingBars()->data()) {
            EXPECT_GT(bar.key, key) << "bars out of order";
            key = bar.key;
            values.push_back(bar.value);
        }
        return values;
    }
};

TEST_F(BarChartWindowTest, ShowsOneBarAndOneMarkPerPointInXOrder) {
    // Points arrive out of order; the chart sorts them by X.
    Chart()->Clear();
    Chart()->AddPoint(3, 1000);
    Chart()->AddPoint(1, 45.3);
    Chart()->AddPoint(2, 460);
    Chart()->UpdateMarks();

    EXPECT_EQ(BarValues(), (std::vector<double>{45.3, 460, 1000}));
    EXPECT_EQ(Chart()->XLabels(), (std::vector<QString>{"1", "2", "3"}));
    EXPECT_EQ(Chart()->MarkTexts(),
              (std::vector<QString>{Decimal("45", "3"), "460", Grouped("1", "000")}));
    EXPECT_EQ(Chart()->ReadingBars()->brush().color(), QColor(0, 128, 255));
    EXPECT_EQ(Chart()->Title()->text(), QStringLiteral("硬度 / 强度测试情况"));
    EXPECT_FALSE(Chart()->legend->visible());
    EXPECT_EQ(Chart()->axisRect()->backgroundBrush().style(), Qt::NoBrush);

    Chart()->Clear();
    Chart()->UpdateMarks();
    EXPECT_TRUE(BarValues().empty());
    EXPECT_TRUE(Chart()->MarkTexts().empty());
    EXPECT_TRUE(Chart()->XLabels().empty());
}

TEST_F(BarChartWindowTest, TheValueAxisShowsTheSpread) {
    Show(32, Kinds[0].Reading);
    const QCPRange range = Chart()->yAxis->range();
    EXPECT_LT(range.lower, 508.0);
    EXPECT_GT(range.lower, 400.0);
    // The tallest and the shortest bar differ by a good part of the plot's height.
    const double shortest = Chart()->yAxis->coordToPixel(508);
    const double tallest = Chart()->yAxis->coordToPixel(521);
    EXPECT_GT(shortest - tallest, Chart()->axisRect()->height() / 4.0);
}

TEST_F(BarChartWindowTest, MarksNeverMeetAnotherMarkOrArrow) {
    for (const Readings& kind : Kinds) {
        for (int count : {1, 5, 16, 32}) {
            SCOPED_TRACE(std::string(kind.Name) + ", " + std::to_string(count) + " readings");
            Show(count, kind.Reading);
            const QRect plot = Chart()->axisRect()->rect();
            ASSERT_EQ(Chart()->MarkTexts().size(), static_cast<std::size_t>(count));

            for (int i = 0; i < count; ++i) {
                const QLineF arrow = Chart()->ArrowLine(i);
                const QRectF mark = Chart()->MarkRect(i);
                // The arrow runs 20 pixels straight up from the bar top to its mark.
                EXPECT_NEAR(arrow.x1(), Chart()->xAxis->coordToPixel(i + 1), 0.5);
                EXPECT_NEAR(arrow.y1(), Chart()->yAxis->coordToPixel(kind.Reading(i)), 0.5);
                EXPECT_DOUBLE_EQ(arrow.length(), BarChart::ArrowLength);
                EXPECT_DOUBLE_EQ(arrow.x1(), arrow.x2());
                EXPECT_LT(arrow.y2(), arrow.y1());
                EXPECT_NEAR(mark.bottom(), arrow.y2(), 1.0) << "mark " << i;
                EXPECT_TRUE(mark.left() <= arrow.x2() && arrow.x2() <= mark.right());
                // Fully inside the plot: not cut off, not under the title.
                EXPECT_TRUE(QRectF(plot).contains(mark)) << "mark " << i;

                for (int j = 0; j < count; ++j) {
                    if (j == i)
                        continue;
                    EXPECT_FALSE(mark.intersects(Chart()->MarkRect(j)))
                        << "marks " << i << " and " << j;
                    const QLineF other = Chart()->ArrowLine(j);
                    const bool crosses = mark.left() <= other.x1() && other.x1() <= mark.right() &&
                                         mark.top() <= other.y1() && other.y2() <= mark.bottom();
                    EXPECT_FALSE(crosses) << "mark " << i << " and arrow " << j;
                }
            }
        }
    }
}

TEST_F(BarChartWindowTest, EveryReadingNumberIsLabelledSideBySide) {
    Show(32, Kinds[2].Reading);
    const std::vector<QString> labels = Chart()->XLabels();
    ASSERT_EQ(labels.size(), 32u);
    for (int i = 0; i < 32; ++i)
        EXPECT_EQ(labels[static_cast<std::size_t>(i)], QString::number(i + 1));
    EXPECT_EQ(Chart()->xAxis->tickLabelRotation(), 0.0);
    const QFontMetrics metrics(Chart()->xAxis->tickLabelFont());
    for (int i = 1; i < 32; ++i) {
        const double gap = Chart()->xAxis->coordToPixel(i + 1) - Chart()->xAxis->coordToPixel(i);
        const double halves = (metrics.horizontalAdvance(labels[static_cast<std::size_t>(i - 1)]) +
                               metrics.horizontalAdvance(labels[static_cast<std::size_t>(i)])) /
                              2.0;
        EXPECT_GT(gap, halves) << "labels " << i << " and " << i + 1;
    }
}

TEST_F(BarChartWindowTest, ThePrintoutDrawsTheMarksAsText) {
    Show(5, Kinds[2].Reading);
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = dir.filePath(QStringLiteral("chart.pdf"));
    printer.setOutputFileName(pdf);
    PrintChart(Chart(), printer);

    // A picture of the screen would hold no words; the printer gets the marks as text, left
    // to right in reading order, and the chart stays as it was on screen.
    std::vector<double> lefts;
    for (const QString& text : Chart()->MarkTexts()) {
        double left = -1;
        for (const testing::PdfWord& word : testing::PdfWords(pdf)) {
            if (word.Text == text)
                left = word.XMin;
        }
        EXPECT_GE(left, 0) << text.toStdString() << " is not text on the page";
        lefts.push_back(left);
    }
    EXPECT_TRUE(std::is_sorted(lefts.begin(), lefts.end()));
    EXPECT_EQ(Chart()->viewport(), Chart()->rect());
}

}  // namespace
}  // namespace leeb
