// The trend view read back from its plots: points, red signals, control and limit lines, the
// histogram, the figures table and its notes; a click on a point names its record; records
// that make no trend show why.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLocale>
#include <QTest>
#include <optional>
#include <vector>

#include "TrendView.h"

namespace leeb {
namespace {

constexpr uint16_t HrcSteelD = 0x3000;
constexpr uint16_t HrcSteelDl = 0x3020;

// Ten one-reading records, ids 101.. in date order: nine at 41, then 40. Mean 40.9, the nine
// make a run above the centre line, the last lies below LCL = 40.9 - 2.66 / 9.
std::vector<TrendRecord> RunThenDrop() {
    std::vector<TrendRecord> records;
    for (int i = 0; i < 10; ++i) {
        records.push_back({101 + i, i + 1, i < 5 ? "2025/03/14" : "2025/03/15", HrcSteelD,
                           {i < 9 ? 41.0 : 40.0}});
    }
    return records;
}

class TrendViewTest : public testing::Test {
  protected:
    void SetUp() override {
        QLocale::setDefault(QLocale::c());
        view.resize(1100, 700);
        view.show();
        QCoreApplication::processEvents();
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    void Draw() {
        for (QCustomPlot* plot : std::initializer_list<QCustomPlot*>{
                 view.Charts().Individuals, view.Charts().MovingRanges, view.Charts().Histogram})
            plot->replot(QCustomPlot::rpImmediateRefresh);
    }
    QString Figure(int row) const { return view.FiguresTable()->item(row, 0)->text(); }

    TrendView view;
};

TEST_F(TrendViewTest, ChartsShowPointsLinesAndSignals) {
    QualitySettings quality;
    quality.PerScale["HRC"] = {39.0, 43.0};
    quality.PerScale["HL"] = {400.0, 500.0};  // another scale's limits play no part
    view.ShowRecords(RunThenDrop(), quality);
    Draw();

    const ControlChart* individuals = view.Charts().Individuals;
    EXPECT_EQ(individuals->PlottedValues(),
              (std::vector<double>{41, 41, 41, 41, 41, 41, 41, 41, 41, 40}));
    EXPECT_EQ(individuals->SignalPoints(), (std::vector<std::size_t>{8, 9}));
    const auto lines = individuals->LinesShown();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].first, "UCL 41.20");
    EXPECT_DOUBLE_EQ(lines[0].second, 40.9 + 2.66 / 9);
    EXPECT_EQ(lines[1].first, "x̄ 40.90");
    EXPECT_EQ(lines[2].first, "LCL 40.60");

    const ControlChart* ranges = view.Charts().MovingRanges;
    EXPECT_EQ(ranges->PlottedValues(), (std::vector<double>{0, 0, 0, 0, 0, 0, 0, 0, 1}));
    ASSERT_EQ(ranges->LinesShown().size(), 2u);
    EXPECT_EQ(ranges->LinesShown()[0].first, "UCL 0.36");
    EXPECT_EQ(ranges->LinesShown()[1].first, "MR̄ 0.11");

    // 10 points: 1 + ceil(log2 10) = 5 bins over 40..41; the limits as lines at their values.
    const HistogramChart* histogram = view.Charts().Histogram;
    EXPECT_EQ(histogram->BarCounts(), (std::vector<double>{1, 0, 0, 0, 9}));
    EXPECT_EQ(histogram->LimitLineXs(), (std::vector<double>{39.0, 43.0}));
    EXPECT_DOUBLE_EQ(histogram->BarEdges().front(), 40.0);
    EXPECT_DOUBLE_EQ(histogram->BarEdges().back(), 41.0);

    // sigma within (1/9)/1.128, sigma overall sqrt(0.9/9); Cp = 4 / (6 sigma), Cpk from the
    // nearer limit, 43 - 40.9 = 2.1 is not nearer than 40.9 - 39 = 1.9.
    EXPECT_EQ(Figure(0), "10");
    EXPECT_EQ(Figure(1), "40.90");
    EXPECT_EQ(Figure(2), "0.099");
    EXPECT_EQ(Figure(3), "0.316");
    EXPECT_EQ(Figure(4), "6.77");  // 4 * 1.128 * 9 / 6
    EXPECT_EQ(Figure(5), "6.43");  // 1.9 * 1.128 * 9 / 3
    EXPECT_EQ(Figure(6), "2.11");  // 4 / (6 sqrt 0.1)
    EXPECT_EQ(Figure(7), "2.00");  // 1.9 / (3 sqrt 0.1)
    EXPECT_EQ(view.FiguresTable()->verticalHeaderItem(2)->text(), "组内 σ");
    EXPECT_TRUE(view.Message().isEmpty());
    EXPECT_TRUE(view.Notes().contains("钢和铸钢 HRC D")) << view.Notes().toStdString();
    EXPECT_TRUE(view.Notes().contains("粗略估计"));
    EXPECT_TRUE(view.Signals().contains("规则 1, 超出控制限: 记录 10 (2025/03/15)"))
        << view.Signals().toStdString();
    EXPECT_TRUE(view.Signals().contains("规则 2, 连续 9 点在中心线同侧: 记录 9 (2025/03/15)"));
}

TEST_F(TrendViewTest, ClickOnAPointNamesItsRecord) {
    std::optional<int64_t> clicked;
    view.SetPointClickHandler([&clicked](int64_t id) { clicked = id; });
    view.ShowRecords(RunThenDrop(), {});
    Draw();

    // A plain point, a red one (both charts' points answer), and the empty space between.
    QTest::mouseClick(view.Charts().Individuals, Qt::LeftButton, {},
                      view.Charts().Individuals->PointPixel(3).toPoint());
    EXPECT_EQ(clicked, 104);
    QTest::mouseClick(view.Charts().Individuals, Qt::LeftButton, {},
                      view.Charts().Individuals->PointPixel(9).toPoint());
    EXPECT_EQ(clicked, 110);
    QTest::mouseClick(view.Charts().MovingRanges, Qt::LeftButton, {},
                      view.Charts().MovingRanges->PointPixel(8).toPoint());
    EXPECT_EQ(clicked, 110);
    clicked.reset();
    const QPointF between = view.Charts().Individuals->PointPixel(9);
    QTest::mouseClick(view.Charts().Individuals, Qt::LeftButton, {},
                      QPoint(static_cast<int>(between.x()), 5));
    EXPECT_FALSE(clicked.has_value());
}

TEST_F(TrendViewTest, RecordsThatMakeNoTrendSayWhy) {
    view.ShowRecords(RunThenDrop(), {});
    std::vector<TrendRecord> mixed = RunThenDrop();
    mixed[4].SettingsWord = HrcSteelDl;
    view.ShowRecords(mixed, {});
    EXPECT_EQ(view.Message(),
              "所选记录的硬度制、材料或冲击装置不同, 不能画在一张趋势图上; 其中有: 钢和铸钢 HRC "
              "D; 钢和铸钢 HRC DL。");
    EXPECT_TRUE(view.Charts().Individuals->PlottedValues().empty());
    EXPECT_TRUE(view.Charts().Histogram->BarCounts().empty());
    EXPECT_EQ(view.FiguresTable()->item(0, 0), nullptr);

    // One record with a point and one whose only reading is a failed impact, left out.
    QualitySettings exclude;
    exclude.ExcludeInvalid = true;
    view.ShowRecords({{1, 1, "2025/03/14", HrcSteelD, {45.0}},
                      {2, 2, "2025/03/14", HrcSteelD, {88.8}}},
                     exclude);
    EXPECT_EQ(view.Message(), "趋势图至少需要 2 个点, 所选记录只有 1 个。");
    EXPECT_TRUE(view.Charts().Individuals->PlottedValues().empty());
}

}  // namespace
}  // namespace leeb
