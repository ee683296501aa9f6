// A report with the lab's details is identified on every sheet and shows every detail whole:
// long values wrap within the page, remarks break between words, each page names the report
// number and "第 n 页 / 共 m 页", and later pages carry a centred continuation mark.
#include <gtest/gtest.h>

#include <QDate>
#include <QLocale>
#include <QStringList>
#include <algorithm>

#include "GbkText.h"
#include "RecordedReport.h"
#include "ReportLabels.h"
#include "ReportQualityLines.h"
#include "ReportTestRecords.h"
#include "ReportWrap.h"

namespace leeb {
namespace {

using namespace leeb::testing;
using Kind = RecordedOperation::Kind;

constexpr double Tol = 1e-9;
const std::string LongCompany =
    "East China Materials Testing and Inspection Centre Co., Ltd. - Quality Laboratory No. 2";

std::string Joined(const std::vector<std::string>& pieces) {
    std::string all;
    for (const std::string& piece : pieces) {
        all += (all.empty() ? "" : " ") + piece;
    }
    return all;
}

TEST(ReportWrap, BreaksBetweenWordsAndOnlyInsideAWordTooLongForALine) {
    struct Case {
        const char* Name;
        std::string Text;
        int Width;
        std::vector<std::string> Pieces;
    } cases[] = {
        {"words", "Measured at an ambient temperature of 23 degrees", 24,
         {"Measured at an ambient", "temperature of 23", "degrees"}},
        {"fits", "ambient temperature", 19, {"ambient temperature"}},
        {"Chinese between characters", "表面经打磨处理后测试", 8, {"表面经打", "磨处理后", "测试"}},
        // A closing mark never starts a line: its character goes down with it.
        {"no comma first", "表面打磨，测试", 8, {"表面打", "磨，测试"}},
        {"word wider than a line", std::string(25, 'x'), 10,
         {std::string(10, 'x'), std::string(10, 'x'), std::string(5, 'x')}},
        {"line breaks kept", "first\nsecond", 40, {"first", "second"}},
        {"empty", "", 10, {""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::vector<std::string> pieces = WrapGbk(c.Text, c.Width);
        EXPECT_EQ(pieces, c.Pieces);
        for (const std::string& piece : pieces) {
            EXPECT_LE(static_cast<int>(GbkLength(piece)), c.Width) << piece;
        }
    }
}

TEST(ReportDetailsLines, ALongValueWrapsOnLinesOfItsOwnAndHidesNoNeighbour) {
    ReportDetails details;
    details.Company = LongCompany;
    details.ReportNumber = "R-2026-0017";
    details.Remarks = "Measured at an ambient temperature of 23 degrees after the surface was "
                      "ground and polished, five impacts per point as the standard requires";
    const std::vector<std::string> lines = DetailsBlockLines(details, {});
    for (const std::string& line : lines) {
        EXPECT_LE(GbkLength(line), 80u) << line;
    }
    // Every word of every value is there, in order, none split.
    std::string all = Joined(lines);
    all.erase(std::unique(all.begin(), all.end(),
                          [](char a, char b) { return a == ' ' && b == ' '; }),
              all.end());
    EXPECT_NE(all.find("Centre Co., Ltd. - Quality Laboratory No. 2"), std::string::npos) << all;
    EXPECT_NE(all.find("报告编号: R-2026-0017"), std::string::npos) << all;
    EXPECT_NE(all.find("ambient temperature of 23"), std::string::npos) << all;
    EXPECT_NE(all.find("as the standard requires"), std::string::npos) << all;
    // Continuation lines stand under the value, not under the label.
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0].rfind("单位名称: East", 0), 0u) << lines[0];
    EXPECT_EQ(lines[1].find_first_not_of(' '), GbkLength("单位名称: "));

    // However long a value, nothing is cut.
    details = {};
    details.Remarks = std::string(300, 'r');
    details.Standard = std::string(40, 'x') + "测试标准测试标准测试标准测试标准测试标准测试标准";
    std::size_t shown = 0;
    for (const std::string& line : DetailsBlockLines(details, {})) {
        shown += static_cast<std::size_t>(std::count(line.begin(), line.end(), 'r'));
    }
    EXPECT_EQ(shown, 300u);
    EXPECT_NE(Joined(DetailsBlockLines(details, {})).find("测试标准测试标准测试标准"),
              std::string::npos);
}

ReportContent Identified(const std::string& remarks = {}) {
    ReportContent content;
    content.Details.Company = LongCompany;
    content.Details.ReportNumber = "R-2026-0017";
    content.Details.Remarks = remarks;
    return content;
}

TEST(ReportIdentity, EveryPageNamesTheReportNumberAndItsPageOfAll) {
    const RecordedReport report(RecordsOf({32, 32, 32, 32, 32, 32, 32, 32, 32}), '.', Identified());
    const int pages = report.Pages();
    ASSERT_GE(pages, 3);
    std::vector<int> numbered(static_cast<std::size_t>(pages) + 1, 0);
    std::vector<int> labelled(static_cast<std::size_t>(pages) + 1, 0);
    for (const RecordedOperation& op : report.Of(Kind::Text)) {
        if (op.Text == QStringLiteral("报告编号: R-2026-0017") && op.Font.Size == 10) {
            ++numbered[static_cast<std::size_t>(op.Page)];
            // Top right, above the title's baseline, within the band.
            EXPECT_NEAR(op.X1 + op.X2, 7.5, Tol);
            EXPECT_LT(op.Y1, 0.75);
        }
        if (op.Text == PageLabelOf(op.Page, pages)) {
            ++labelled[static_cast<std::size_t>(op.Page)];
        }
    }
    for (int page = 1; page <= pages; ++page) {
        EXPECT_EQ(numbered[static_cast<std::size_t>(page)], 1) << "page " << page;
        EXPECT_EQ(labelled[static_cast<std::size_t>(page)], 1) << "page " << page;
    }
    // Later pages: the mark centred where page 1 has its title, in the title's face.
    for (int page = 2; page <= pages; ++page) {
        const RecordedOperation mark = report.Text(QStringLiteral("(续)"), page - 2);
        EXPECT_EQ(mark.Page, page);
        EXPECT_NEAR(mark.X1 + mark.X2 / 2, 8.27 / 2, Tol);
        EXPECT_EQ(mark.Font.Face, QStringLiteral("黑体"));
        EXPECT_EQ(mark.Font.Size, 24);
    }
    // Without a report number there is no header, and the plain report is untouched.
    const RecordedReport plain(RecordsOf({32, 32, 32, 32, 32}));
    for (const RecordedOperation& op : plain.Of(Kind::Text)) {
        EXPECT_FALSE(op.Text.startsWith(QStringLiteral("报告编号"))) << op.Text.toStdString();
    }
    EXPECT_NEAR(plain.Text(QStringLiteral("(续)")).X1 + plain.Text(QStringLiteral("(续)")).X2 / 2,
                8.27 - 2.0, Tol);
}

TEST(ReportIdentity, AReportNumberWiderThanTheBandIsSetSmallerNotCut) {
    ReportContent content;
    content.Details.ReportNumber = std::string(120, '7');
    const RecordedReport report(RecordsOf({3}), '.', content);
    const RecordedOperation header = report.Text(QStringLiteral("报告编号"));
    EXPECT_LT(header.Font.Size, 10);
    EXPECT_GE(header.X1, 0.6 - Tol);
    EXPECT_NEAR(header.X1 + header.X2, 7.5, Tol);
    // The page's own steps keep the 10 pt footers' pitch: the body starts where it always does.
    const auto firstBodyLine = [](const RecordedReport& r) {
        for (const RecordedOperation& op : r.Of(Kind::Text)) {
            if (op.Font.Size == 12)
                return op.Y1;
        }
        return 0.0;
    };
    EXPECT_NEAR(firstBodyLine(report), firstBodyLine(RecordedReport(RecordsOf({3}))), Tol);
}

TEST(ReportIdentity, DetailsLongerThanAPageGoOnOverTheNextWithinTheBody) {
    const RecordedReport report(RecordsOf({32, 32}), '.',
                                Identified(std::string(3000, 'r') + " end-of-remarks"));
    std::size_t shown = 0;
    for (const RecordedOperation& op : report.Of(Kind::Text)) {
        if (op.Font.Size == 12) {
            EXPECT_LE(op.Y1, 10.5) << "page " << op.Page << " " << op.Text.toStdString();
            shown += static_cast<std::size_t>(op.Text.count(QLatin1Char('r')));
        }
    }
    EXPECT_GE(shown, 3000u);
    EXPECT_GT(report.Text(QStringLiteral("No. 1")).Page, 1);
}

TEST(ReportIdentity, TheEnglishPrintDateIsTheOneEveryReaderReadsAlike) {
    const QLocale before;
    const struct {
        const char* Locale;
        const char* Expected;
    } cases[] = {
        {"zh_CN", "2026/12/10"},
        {"en_US", "2026-12-10"},
        {"en_GB", "2026-12-10"},
    };
    for (const auto& c : cases) {
        QLocale::setDefault(QLocale(QString::fromLatin1(c.Locale)));
        EXPECT_EQ(PrintDateText(QDate(2026, 12, 10)), QString::fromLatin1(c.Expected)) << c.Locale;
    }
    QLocale::setDefault(before);
}

}  // namespace
}  // namespace leeb
