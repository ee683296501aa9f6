// The report body against the recording writer: texts, pagination and positions.
#include <gtest/gtest.h>

#include <algorithm>

#include "GbkText.h"
#include "PictogramBitmap.h"
#include "RecordedReport.h"
#include "RecordingPageWriter.h"
#include "ReportErrors.h"
#include "ReportGenerator.h"
#include "ReportLabels.h"
#include "ReportTestRecords.h"

namespace leeb {
namespace {

using namespace leeb::testing;
using Kind = RecordedOperation::Kind;

constexpr double Tol = 1e-9;

struct Report : RecordedReport {
    using RecordedReport::RecordedReport;
    // The body lines of record `r` between its heading and the next heading or page end.
    std::vector<QString> Block(int r) const {
        std::vector<QString> out;
        bool in = false;
        for (const auto& op : Ops()) {
            if (op.Type == Kind::NewPage) {
                in = false;
            } else if (op.Type == Kind::Text) {
                if (op.Text.startsWith(QStringLiteral("No. "))) {
                    in = op.Text == QStringLiteral("No. %1").arg(r);
                } else if (in && !op.Text.contains(QStringLiteral("第")) &&
                           !op.Text.startsWith(QStringLiteral("日期"))) {
                    out.push_back(op.Text);
                }
            }
        }
        return out;
    }
};

TEST(ReportGenerator, HeaderOnlyIsOnePageWithTitleAndLabels) {
    Report report(Lines({}));
    ASSERT_EQ(report.Ops().size(), 3u);
    EXPECT_EQ(report.Pages(), 1);

    const auto title = report.Text(QStringLiteral("硬度/强度测试报表"));
    EXPECT_NEAR(title.X1 + title.X2 / 2, 8.27 / 2, Tol);
    EXPECT_NEAR(title.Y1, 1.0, Tol);
    EXPECT_EQ(title.Font, (ReportFont{QStringLiteral("黑体"), 24, false, true, false}));

    const auto page = report.Ops()[1];
    EXPECT_EQ(page.Text, PageLabel(1));
    EXPECT_NEAR(page.X1, 0.6, Tol);
    EXPECT_NEAR(page.Y1, 10.75 - report.D10(), Tol);
    EXPECT_EQ(page.Font, (ReportFont{QStringLiteral("宋体"), 10}));

    const auto date = report.Ops()[2];
    EXPECT_EQ(date.Text, DateLabel(ReportPrintDate));
    EXPECT_NEAR(date.X1 + date.X2, 7.5, Tol);
    EXPECT_NEAR(date.Y1, 10.75 - report.D10(), Tol);
}

TEST(ReportGenerator, LabelTexts) {
    EXPECT_EQ(PageLabel(1), QStringLiteral("\u3000第  1  页"));
    EXPECT_EQ(PageLabel(12), QStringLiteral("\u3000第  12  页"));
    // The stand-in keeps the label's GBK length: A3 A0 B5 DA 20 20 "12" 20 20 D2 B3.
    EXPECT_EQ(GbkLength(PageLabel(12).toStdString()), 12u);
    EXPECT_EQ(DateLabel(QStringLiteral("2024/3/5")), QStringLiteral("日期:   2024/3/5   "));
}

TEST(ReportGenerator, FillCountsGbkBytesAndLongTextsPushTheLine) {
    struct Case {
        std::string text;
        std::string expected;
    } cases[] = {
        {"HL", "HL              "},
        {"钢和铸钢", "钢和铸钢        "},
        {"123456789012345", "123456789012345 "},
        {"1234567890123456", "1234567890123456"},
        {"超高强度钢超高强度", "超高强度钢超高强度"},  // 18 bytes: no fill, nothing cut
        {"", std::string(16, ' ')},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FillTo16(c.text), c.expected) << c.text;
    }
}

TEST(ReportGenerator, ReadingsEightToALine) {
    struct Case {
        int count;
        std::vector<int> perLine;
    } cases[] = {
        {1, {1}}, {5, {5}}, {8, {8}}, {12, {8, 4}}, {16, {8, 8}}, {32, {8, 8, 8, 8}}, {0, {0}},
    };
    for (const auto& c : cases) {
        Report report(RecordsOf({c.count}));
        const auto block = report.Block(1);
        // Two settings lines, the readings lines, the statistics line, the separator.
        ASSERT_EQ(block.size(), c.perLine.size() + 4) << c.count;
        for (std::size_t i = 0; i < c.perLine.size(); ++i) {
            const QString line = block[2 + i];
            EXPECT_EQ(line.size(), 8 * c.perLine[i]) << c.count << " line " << i;
        }
        EXPECT_TRUE(block[2 + c.perLine.size()].startsWith(QStringLiteral("最大值"))) << c.count;
        EXPECT_EQ(block.back(), QStringLiteral(" "));
    }
}

// A line of an older upload with more readings than a record holds (the writer makes at most
// 32): 400, 401, ... on HL.
std::string LongLine(int count) {
    std::string line = QStringLiteral("%1,2023/05/17,    0,").arg(count, 3).toStdString();
    for (int k = 0; k < count; ++k) {
        line += QStringLiteral("%1,").arg(400 + k, 5).toStdString();
    }
    return line;
}

// The lowest body baseline on any page: no block may reach further down than a page of
// regular records can.
double LowestBodyBaseline(const Report& report) {
    double lowest = 0.0;
    for (const auto& op : report.Of(Kind::Text)) {
        if (!op.Text.contains(QStringLiteral("第")) &&
            !op.Text.startsWith(QStringLiteral("日期"))) {
            lowest = std::max(lowest, op.Y1);
        }
    }
    return lowest;
}

TEST(ReportGenerator, LongerOlderLinesPrintEveryReadingWithinThePage) {
    {
        Report report(Lines({LongLine(99)}));
        const auto block = report.Block(1);
        ASSERT_EQ(block.size(), 13u + 4u);  // 12 full readings lines and one of 3
        EXPECT_EQ(block[2 + 12].size(), 8 * 3);
        EXPECT_TRUE(block[2].startsWith(QStringLiteral("400")));
        EXPECT_TRUE(block[2 + 12].contains(QStringLiteral("498")));
        EXPECT_TRUE(block[2 + 13].startsWith(QStringLiteral("最大值:  498")));
    }
    const double regularLowest = LowestBodyBaseline(Report(RecordsOf({32, 32, 32, 32})));
    struct Case {
        const char* name;
        std::vector<std::string> records;
        std::vector<int> headingPages;
    } cases[] = {
        // 16 counted lines and a block 9 lines longer than the longest regular one: new page.
        {"after two of 32",
         {Line(HardnessHL, Readings(32)), Line(HardnessHL, Readings(32)), LongLine(99)},
         {1, 1, 2}},
        // After 8 lines it ends no lower than a fourth block of 32 would.
        {"after one of 32", {Line(HardnessHL, Readings(32)), LongLine(99)}, {1, 1}},
        {"two long ones", {LongLine(99), LongLine(99)}, {1, 2}},
        // A first record is never moved; 40 readings (one line more than 32) after 24 lines
        // start a new page where a block of 32 would have stayed.
        {"long first", {LongLine(99)}, {1}},
        {"40 after three of 32",
         {Line(HardnessHL, Readings(32)), Line(HardnessHL, Readings(32)),
          Line(HardnessHL, Readings(31)), LongLine(40)},
         {1, 1, 1, 2}},
    };
    for (const auto& c : cases) {
        Report report(Lines(c.records));
        std::vector<int> pages;
        for (const auto& op : report.Of(Kind::Text)) {
            if (op.Text.startsWith(QStringLiteral("No. "))) {
                pages.push_back(op.Page);
            }
        }
        EXPECT_EQ(pages, c.headingPages) << c.name;
        EXPECT_LE(LowestBodyBaseline(report), regularLowest + Tol) << c.name;
    }
}

TEST(ReportGenerator, SettingsAndStatisticsLines) {
    struct Case {
        uint16_t settings;
        std::vector<uint16_t> raw;
        std::vector<QString> expected;
    } cases[] = {
        {HardnessHRC,
         {523, 452},
         {QStringLiteral("测试材料: 钢和铸钢        硬度制: HRC             测试日期:2023/05/17"),
          QStringLiteral("冲击装置: D               冲击方向                冲击次数: 2"),
          QStringLiteral("52.3    45.2    "),
          QStringLiteral("最大值:  52.3            最小值:  45.2            平均值: 48.8")}},
        {StrengthLowCarbon,
         {450},
         {QStringLiteral("测试材料: 低碳钢          强度:                   测试日期:2023/05/17"),
          QStringLiteral("冲击装置: DC              冲击方向                冲击次数: 1"),
          QStringLiteral("450     "),
          QStringLiteral("最大值:  450             最小值:  450             平均值: 450")}},
        {HardnessHL,
         {},
         {QStringLiteral("测试材料: 钢和铸钢        硬度制: HL              测试日期:2023/05/17"),
          QStringLiteral("冲击装置: D               冲击方向                冲击次数: 0"),
          QString(),
          QStringLiteral("最大值:  -               最小值:  -               平均值: -")}},
    };
    for (const auto& c : cases) {
        Report report(Lines({Line(c.settings, c.raw)}));
        const auto block = report.Block(1);
        ASSERT_EQ(block.size(), c.expected.size() + 1);
        for (std::size_t i = 0; i < c.expected.size(); ++i) {
            EXPECT_EQ(block[i], c.expected[i]);
        }
    }
}

TEST(ReportGenerator, NumberTextsAndMeans) {
    struct Case {
        uint16_t settings;
        std::vector<uint16_t> raw;
        QString firstReading, max, min, mean;
    } cases[] = {
        {HardnessHRC, {523}, "52.3", "52.3", "52.3", "52.3"},       // stored 052.3
        {HardnessHRC, {520}, "52", "52", "52", "52"},               // 052.0 prints without decimals
        {HardnessHRC, {522, 523}, "52.2", "52.3", "52.2", "52.2"},  // 52.25: half to even
        {HardnessHRC, {452, 453}, "45.2", "45.3", "45.2", "45.2"},
        {HardnessHL, {522, 523}, "522", "523", "522", "522"},  // 522.5 -> 522
        {HardnessHL, {523, 524}, "523", "524", "523", "524"},  // 523.5 -> 524
        {HardnessHL, {450, 460, 470}, "450", "470", "450", "460"},
        {HardnessHL, {777}, "777", "777", "777", "777"},
    };
    for (const auto& c : cases) {
        Report report(Lines({Line(c.settings, c.raw, ',')}), ',');
        const auto block = report.Block(1);
        QString expectedFirst = c.firstReading;
        expectedFirst.replace('.', ',');
        EXPECT_TRUE(block[2].startsWith(expectedFirst + ' ')) << block[2].toStdString();
        auto comma = [](QString text) { return text.replace('.', ','); };
        const QString stats = block[3];
        EXPECT_EQ(stats, QStringLiteral("最大值:  ") + comma(c.max).leftJustified(16) +
                             QStringLiteral("最小值:  ") + comma(c.min).leftJustified(16) +
                             QStringLiteral("平均值: ") + comma(c.mean));
    }
}

TEST(ReportGenerator, PaginationByCountedLines) {
    struct Case {
        const char* name;
        std::initializer_list<int> counts;
        std::vector<int> headingPages;
    } cases[] = {
        // 8 counted lines each: three leave 24, a fourth ends at 31, a fifth starts page 2.
        {"five of 32", {32, 32, 32, 32, 32}, {1, 1, 1, 1, 2}},
        // The last record never breaks, however full the page.
        {"four of 32", {32, 32, 32, 32}, {1, 1, 1, 1}},
        // 5 lines each: the fifth ends at 25 with its separator, the sixth starts page 2.
        {"six of 1", {1, 1, 1, 1, 1, 1}, {1, 1, 1, 1, 1, 2}},
        {"nine of 32", {32, 32, 32, 32, 32, 32, 32, 32, 32}, {1, 1, 1, 1, 2, 2, 2, 2, 3}},
    };
    for (const auto& c : cases) {
        Report report(RecordsOf(c.counts));
        std::vector<int> pages;
        for (const auto& op : report.Of(Kind::Text)) {
            if (op.Text.startsWith(QStringLiteral("No. "))) {
                pages.push_back(op.Page);
            }
        }
        EXPECT_EQ(pages, c.headingPages) << c.name;
        EXPECT_EQ(report.Pages(), c.headingPages.back()) << c.name;
    }
}

TEST(ReportGenerator, BlockEndingAtTwentyFourKeepsItsSeparatorAndTheNextRecordFollows) {
    // Records 1-3 end at 24 with their separators; record 4 follows on page 1 and ends at 28
    // without one; record 5 starts page 2.
    Report report(RecordsOf({32, 32, 32, 1, 1}));
    EXPECT_EQ(report.Text(QStringLiteral("No. 4")).Page, 1);
    EXPECT_EQ(report.Block(3).back(), QStringLiteral(" "));
    EXPECT_NE(report.Block(4).back(), QStringLiteral(" "));
    EXPECT_EQ(report.Text(QStringLiteral("No. 5")).Page, 2);
}

TEST(ReportGenerator, FirstPagePositions) {
    Report report(RecordsOf({32, 3}));
    const double heading = 1.9 + report.D10() - report.D12();
    const auto first = report.Text(QStringLiteral("No. 1"));
    EXPECT_NEAR(first.X1, 0.6, Tol);
    EXPECT_NEAR(first.Y1, heading, Tol);
    EXPECT_TRUE(first.Font.Bold);
    // Every further body line 0.25 lower, the second heading after 8 body lines.
    const auto settings = report.Text(QStringLiteral("测试材料"));
    EXPECT_NEAR(settings.X1, 0.6, Tol);
    EXPECT_NEAR(settings.Y1, heading + 0.25, Tol);
    EXPECT_FALSE(settings.Font.Bold);
    EXPECT_NEAR(report.Text(QStringLiteral("No. 2")).Y1, heading + 9 * 0.25, Tol);
    EXPECT_NEAR(report.Text(QStringLiteral("最大值"), 1).Y1, heading + 13 * 0.25, Tol);

    const auto rules = report.Of(Kind::Line);
    ASSERT_EQ(rules.size(), 2u);
    const double c = 1.5 + 1.0 / 6 + 0.25;
    for (std::size_t i = 0; i < rules.size(); ++i) {
        const double y = c + 9 * 0.25 * static_cast<double>(i);
        EXPECT_NEAR(rules[i].X1, 0.6, Tol);
        EXPECT_NEAR(rules[i].X2, 7.6, Tol);
        EXPECT_NEAR(rules[i].Y1, y, Tol);
        EXPECT_NEAR(rules[i].Y2, y, Tol);
    }
    const auto bitmaps = report.Of(Kind::Bitmap);
    ASSERT_EQ(bitmaps.size(), 2u);
    EXPECT_NEAR(bitmaps[0].X1, 3.6, Tol);
    EXPECT_NEAR(bitmaps[0].Y1, c + 0.25, Tol);
    EXPECT_NEAR(bitmaps[0].X2, 3.9, Tol);
    EXPECT_NEAR(bitmaps[0].Y2, c + 0.55, Tol);
}

TEST(ReportGenerator, ContinuationPagePositions) {
    Report report(RecordsOf({32, 32, 32, 32, 32, 32}));
    const auto mark = report.Text(QStringLiteral("(续)"));
    EXPECT_EQ(mark.Page, 2);
    EXPECT_NEAR(mark.X1 + mark.X2 / 2, 8.27 - 2.0, Tol);
    EXPECT_NEAR(mark.Y1, 1.0, Tol);
    EXPECT_EQ(mark.Font, (ReportFont{QStringLiteral("黑体"), 24}));
    const auto texts = report.Texts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), QStringLiteral("硬度/强度测试报表")), 1);

    EXPECT_EQ(report.Text(PageLabel(2)).Page, 2);
    EXPECT_NEAR(report.Text(PageLabel(2)).Y1, 10.75 - report.D10(), Tol);
    EXPECT_EQ(report.Text(QStringLiteral("日期"), 1).Page, 2);

    // The body starts 0.15 in higher than on page 1.
    const auto five = report.Text(QStringLiteral("No. 5"));
    EXPECT_NEAR(five.Y1, 1.75 + report.D10() - report.D12(), Tol);
    EXPECT_NEAR(report.Text(QStringLiteral("No. 1")).Y1 - five.Y1, 0.15, Tol);
    EXPECT_NEAR(report.Text(QStringLiteral("No. 6")).Y1, five.Y1 + 9 * 0.25, Tol);

    std::vector<RecordedOperation> rules;
    for (const auto& op : report.Of(Kind::Line)) {
        if (op.Page == 2) {
            rules.push_back(op);
        }
    }
    ASSERT_EQ(rules.size(), 2u);
    EXPECT_NEAR(rules[0].Y1, 1.77, Tol);
    EXPECT_NEAR(rules[1].Y1, 1.77 + 9 * 0.25, Tol);
}

TEST(ReportGenerator, Pictograms) {
    PictogramBitmap expected;
    const QImage white = QImage(expected.Load(-1));
    struct Case {
        uint16_t settings;
        int image;  // -1: the bitmap stays white
    } cases[] = {
        {Settings(0, 0, 0, 0, 0), 5},  {Settings(1, 0, 0, 0, 0), 0}, {Settings(2, 0, 0, 0, 0), 1},
        {Settings(3, 0, 0, 0, 0), 2},  {Settings(4, 0, 0, 0, 0), 3}, {Settings(5, 0, 0, 0, 0), -1},
        {Settings(7, 0, 0, 0, 0), -1},
    };
    for (const auto& c : cases) {
        // A record with a pictogram first: a direction without one must not show it again.
        Report report(Lines({Line(Settings(4, 1, 0, 0, 0), {400}), Line(c.settings, {400})}));
        const auto bitmaps = report.Of(Kind::Bitmap);
        ASSERT_EQ(bitmaps.size(), 3u);
        EXPECT_EQ(bitmaps[2].Bitmap, QImage(expected.Load(c.image))) << c.settings;
        EXPECT_NE(QImage(expected.Load(c.image)) == white, c.image >= 0);
    }
}

TEST(ReportGenerator, StrengthSymbolAboveTheDirection) {
    Report report(Lines({Line(StrengthLowCarbon, {400})}));
    PictogramBitmap expected;
    const auto bitmaps = report.Of(Kind::Bitmap);
    ASSERT_EQ(bitmaps.size(), 2u);
    const double c = 1.5 + 1.0 / 6 + 0.25;
    EXPECT_EQ(bitmaps[0].Bitmap, QImage(expected.Load(StrengthPictogram)));
    EXPECT_NEAR(bitmaps[0].X1, 3.4, Tol);
    EXPECT_NEAR(bitmaps[0].Y1, c + 0.05, Tol);
    EXPECT_NEAR(bitmaps[0].X2, 3.6, Tol);
    EXPECT_NEAR(bitmaps[0].Y2, c + 0.25, Tol);
    EXPECT_EQ(bitmaps[1].Bitmap, QImage(expected.Load(0)));  // direction 1: 45 degrees down
}

TEST(ReportGenerator, LineThatDoesNotConvertIsNamed) {
    std::string shortLine = Line(HardnessHL, Readings(5));
    shortLine.resize(shortLine.size() - 12);  // two readings missing
    const RecordLines lines = Lines({Line(HardnessHL, Readings(3)), shortLine});
    for (auto run : {+[](const RecordLines& l) { CheckReportRecords(l, '.'); },
                     +[](const RecordLines& l) {
                         RecordingPageWriter writer;
                         PrintReportBody(writer, l, '.', ReportPrintDate);
                     }}) {
        try {
            run(lines);
            ADD_FAILURE() << "no error";
        } catch (const ConversionError& error) {
            EXPECT_EQ(std::string(error.what()).rfind("Line 3: ", 0), 0u) << error.what();
        }
    }
}

TEST(ReportGenerator, CancelStopsEveryFurtherDrawing) {
    RecordingPageWriter writer;
    int calls = 0;
    writer.SetProgressHandler([&calls](int) { return ++calls < 5; });
    EXPECT_THROW(PrintReportBody(writer, RecordsOf({32, 32}), '.', ReportPrintDate),
                 ReportCancelled);
    EXPECT_EQ(writer.Operations().size(), 5u);
    EXPECT_THROW(writer.PrintLine(QStringLiteral("x")), ReportCancelled);
    EXPECT_THROW(writer.NewPage(), ReportCancelled);
    EXPECT_EQ(writer.Operations().size(), 5u);
}

}  // namespace
}  // namespace leeb
