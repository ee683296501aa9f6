// The extended report against the recording writer: the details block of page 1, marks,
// spread, limits and verdicts per record, chosen records, signatures and the page count.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

#include "RecordedReport.h"
#include "RecordingPageWriter.h"
#include "ReportGenerator.h"
#include "ReportLabels.h"
#include "ReportQualityLines.h"
#include "ReportTestRecords.h"

QT_BEGIN_NAMESPACE
// Readable failures: the text, not its UTF-16 units.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace leeb {
namespace {

using namespace leeb::testing;
using Kind = RecordedOperation::Kind;

constexpr double Tol = 1e-9;

struct Report : RecordedReport {
    Report(const RecordLines& lines, const ReportContent& content)
        : RecordedReport(lines, '.', content) {}
    // Body texts in order, footers left out.
    std::vector<QString> Body() const {
        std::vector<QString> out;
        for (const auto& op : Of(Kind::Text)) {
            if (!op.Text.contains(QStringLiteral("第")) && !op.Text.startsWith("日期") &&
                op.Font.Size == 12) {
                out.push_back(op.Text);
            }
        }
        return out;
    }
};

ReportContent WithLimits(std::optional<double> lower, std::optional<double> upper) {
    ReportContent content;
    content.Quality.ForAll = ToleranceLimits{lower, upper};
    return content;
}

std::vector<QString> Block(const std::vector<QString>& body, const QString& heading) {
    const auto start = std::find(body.begin(), body.end(), heading);
    EXPECT_NE(start, body.end()) << heading.toStdString();
    std::vector<QString> out;
    for (auto it = start == body.end() ? start : start + 1;
         it != body.end() && !it->startsWith("No. "); ++it) {
        out.push_back(*it);
    }
    return out;
}

TEST(ReportExtended, DetailsBlockStandsWhereTheFirstHeadingWouldAndPushesItDown) {
    ReportContent content;
    content.Details.Company = "华东检测中心";
    content.Details.ReportNumber = "R-2024-017";
    content.Details.Part = "齿轮轴";
    content.Details.Operator = "王工";
    content.Details.Standard = "GB/T 17394.1";
    const RecordLines lines = Lines({Line(HardnessHL, {450, 460})});
    Report plain(lines, {});
    Report report(lines, content);

    const std::vector<QString> body = report.Body();
    ASSERT_GE(body.size(), 5u);
    EXPECT_EQ(body[0],
              QStringLiteral("单位名称: 华东检测中心                    报告编号: R-2024-017"));
    EXPECT_EQ(body[1], QStringLiteral("工件/试样: 齿轮轴"));
    EXPECT_EQ(body[2], QStringLiteral("检验人员: 王工"));
    EXPECT_EQ(body[3], QStringLiteral("检测标准: GB/T 17394.1"));
    EXPECT_EQ(body[4], QStringLiteral(" "));
    EXPECT_EQ(body[5], QStringLiteral("No. 1"));

    // The block's first line takes the plain first heading's place; the heading and its rule
    // move down by the block's five rows, keeping their distance.
    const auto plainHeading = plain.Text(QStringLiteral("No. 1"));
    EXPECT_NEAR(report.Text(QStringLiteral("单位名称")).Y1, plainHeading.Y1, Tol);
    const auto heading = report.Text(QStringLiteral("No. 1"));
    EXPECT_NEAR(heading.Y1, plainHeading.Y1 + 5 * 0.25, Tol);
    ASSERT_EQ(report.Of(Kind::Line).size(), 1u);
    EXPECT_NEAR(report.Of(Kind::Line)[0].Y1 - heading.Y1,
                plain.Of(Kind::Line)[0].Y1 - plainHeading.Y1, Tol);
    // Details alone add the spread line but judge nothing.
    const auto block = Block(body, QStringLiteral("No. 1"));
    ASSERT_EQ(block.size(), 6u);
    EXPECT_EQ(block[4], QStringLiteral("标准差:  7.1             极差:    10"));
    EXPECT_EQ(block[5], QStringLiteral(" "));
}

TEST(ReportExtended, DetailsLinesLeaveEmptyFieldsOut) {
    ReportDetails details;
    EXPECT_TRUE(DetailsBlockLines(details, {}).empty());
    details.Lot = "H2291";
    details.Remarks = std::string(50, 'x') + "表面经打磨处理后测试硬度值偏低";
    const auto lines = DetailsBlockLines(details, {});
    ASSERT_EQ(lines.size(), 3u);
    // Lot without a part: the value keeps its right-hand column.
    EXPECT_EQ(lines[0], std::string(42, ' ') + "批号/炉号: H2291");
    EXPECT_EQ(lines[1], "备注: " + std::string(50, 'x') + "表面经打磨处理后测试硬度");
    EXPECT_EQ(lines[2], "      值偏低");

}

TEST(ReportExtended, VerdictAndMarksPerRecord) {
    const RecordLines lines = Lines({Line(HardnessHL, {450, 888, 470}),
                                     Line(HardnessHL, {380, 410}), Line(HardnessHRC, {523, 452})});
    struct Case {
        const char* name;
        ReportContent content;
        std::vector<std::vector<QString>> blocks;  // readings, statistics, spread, limits
    };
    ReportContent excluding = WithLimits(400, 600);
    excluding.Quality.ExcludeInvalid = true;
    ReportContent perScale;
    perScale.Quality.PerScale["HRC"] = ToleranceLimits{50.0, std::nullopt};
    const Case cases[] = {
        {"LimitsOnly",
         WithLimits(400, 600),
         {{QStringLiteral("450     888*    470     "),
           QStringLiteral("最大值:  888             最小值:  450             平均值: 603"),
           QStringLiteral("标准差:  247.3           极差:    438"),
           QStringLiteral("下限:    400             上限:    600             判定:   不合格")},
          {QStringLiteral("380↓   410     "),
           QStringLiteral("最大值:  410             最小值:  380             平均值: 395"),
           QStringLiteral("标准差:  21.2            极差:    30"),
           QStringLiteral("下限:    400             上限:    600             判定:   不合格")},
          {QStringLiteral("52.3↓  45.2↓  "),
           QStringLiteral("最大值:  52.3            最小值:  45.2            平均值: 48.8"),
           QStringLiteral("标准差:  5.02            极差:    7.1"),
           QStringLiteral("下限:    400             上限:    600             判定:   不合格")}}},
        {"ExcludingInvalid",
         excluding,
         {{QStringLiteral("450     888*    470     "),
           QStringLiteral("最大值:  470             最小值:  450             平均值: 460"),
           QStringLiteral("标准差:  14.1            极差:    20              有效数: 2/3"),
           QStringLiteral("下限:    400             上限:    600             判定:   合格")},
          {QStringLiteral("380↓   410     "),
           QStringLiteral("最大值:  410             最小值:  380             平均值: 395"),
           QStringLiteral("标准差:  21.2            极差:    30              有效数: 2/2"),
           QStringLiteral("下限:    400             上限:    600             判定:   不合格")},
          {QStringLiteral("52.3↓  45.2↓  "),
           QStringLiteral("最大值:  52.3            最小值:  45.2            平均值: 48.8"),
           QStringLiteral("标准差:  5.02            极差:    7.1             有效数: 2/2"),
           QStringLiteral("下限:    400             上限:    600             判定:   不合格")}}},
        // Limits of one scale judge only that scale's records.
        {"PerScale",
         perScale,
         {{QStringLiteral("450     888*    470     "),
           QStringLiteral("最大值:  888             最小值:  450             平均值: 603"),
           QStringLiteral("标准差:  247.3           极差:    438")},
          {QStringLiteral("380     410     "),
           QStringLiteral("最大值:  410             最小值:  380             平均值: 395"),
           QStringLiteral("标准差:  21.2            极差:    30")},
          {QStringLiteral("52.3    45.2↓  "),
           QStringLiteral("最大值:  52.3            最小值:  45.2            平均值: 48.8"),
           QStringLiteral("标准差:  5.02            极差:    7.1"),
           QStringLiteral("下限:    50              上限:    -               判定:   不合格")}}},
    };
    for (const Case& c : cases) {
        Report report(lines, c.content);
        const auto body = report.Body();
        for (std::size_t r = 0; r < c.blocks.size(); ++r) {
            const auto block = Block(body, QStringLiteral("No. %1").arg(r + 1));
            const auto& expected = c.blocks[r];
            ASSERT_GE(block.size(), 2 + expected.size()) << c.name << " record " << r + 1;
            for (std::size_t i = 0; i < expected.size(); ++i) {
                EXPECT_EQ(block[2 + i], expected[i]) << c.name << " record " << r + 1;
            }
            EXPECT_EQ(block[2 + expected.size()], QStringLiteral(" ")) << c.name;
        }
    }
}

TEST(ReportExtended, ReadingCells) {
    struct Case {
        std::string text;
        ReadingMark mark;
        std::string cell;
    } cases[] = {
        {"450", ReadingMark::Valid, "450     "},
        {"888", ReadingMark::FailedImpact, "888*    "},
        {"45.2", ReadingMark::BelowLower, "45.2↓  "},  // the arrow takes two cells
        {"12345", ReadingMark::AboveUpper, "12345↑ "},
        {"12345", ReadingMark::FailedImpact, "12345*  "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadingCell(c.text, c.mark), c.cell) << c.text;
    }
}

TEST(ReportExtended, ChosenRecordsKeepTheirNumbers) {
    ReportContent content;
    content.Records = {2, 4};
    Report report(RecordsOf({3, 3, 3, 3, 3}), content);
    std::vector<QString> headings;
    for (const QString& text : report.Body()) {
        if (text.startsWith("No. ")) {
            headings.push_back(text);
        }
    }
    EXPECT_EQ(headings, (std::vector<QString>{"No. 2", "No. 4"}));
    // A choice alone is not an extended report: no spread lines.
    for (const QString& text : report.Body()) {
        EXPECT_FALSE(text.startsWith(QStringLiteral("标准差"))) << text.toStdString();
    }
}

TEST(ReportExtended, RecordOutsideTheFileIsRefusedBeforeOutput) {
    ReportContent content;
    content.Records = {1, 3};
    EXPECT_THROW(CheckReportRecords(RecordsOf({3, 3}), '.', content), ConversionError);
    content.Records = {2};
    EXPECT_NO_THROW(CheckReportRecords(RecordsOf({3, 3}), '.', content));
}

TEST(ReportExtended, LongBlocksNeverRunPastTheBodyAndPagesCountThemselves) {
    ReportContent content = WithLimits(400, 500);
    content.Details.Company = "华东检测中心";
    content.Details.Signatures = true;
    for (const int records : {1, 3, 4, 7, 12}) {
        std::vector<int> counts(static_cast<std::size_t>(records), 32);
        RecordLines lines = Lines({});
        for (int i = 0; i < records; ++i) {
            lines.push_back(Line(HardnessHL, Readings(32)));
        }
        Report report(lines, content);
        const int pages = report.Pages();
        int page = 1;
        int headings = 0;
        for (const auto& op : report.writer.Operations()) {
            if (op.Type == Kind::NewPage) {
                ++page;
            } else if (op.Type == Kind::Text && op.Font.Size == 12) {
                EXPECT_LE(op.Y1, 10.5)
                    << records << " records, page " << page << " " << op.Text.toStdString();
                headings += op.Text.startsWith("No. ") ? 1 : 0;
            } else if (op.Type == Kind::Text && op.Font.Size == 10 &&
                       op.Text.contains(QStringLiteral("第"))) {
                EXPECT_EQ(op.Text, PageLabelOf(page, pages));
            }
        }
        EXPECT_EQ(headings, records);
        EXPECT_TRUE(report.Body().back().startsWith(QStringLiteral("检验: ")));
    }
    EXPECT_EQ(PageLabelOf(2, 3), QStringLiteral("\u3000第  2  页 / 共  3  页"));
    EXPECT_EQ(PageLabelOf(2, 0), PageLabel(2));
}

}  // namespace
}  // namespace leeb
