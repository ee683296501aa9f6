// The lab's options end to end: report details, limits, invalid readings and chosen records on
// report (read back with pdftotext), export and show --json; and the command lines refused.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include "CliProcess.h"

namespace leeb::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

const QByteArray Records =
    "@Import Data@\r\n"
    "  3,2008/05/17,    0,  450,  888,  470,\r\n"
    "  2,2011/12/31,12356,045.3,045.6,\r\n"
    "  2,2011/12/31,    0,  380,  400,\r\n";

TEST(CliLabReportTest, DetailsLimitsAndVerdictsReachThePdf) {
    CliFolder folder;
    folder.Write(QStringLiteral("r.txt"), Records);
    const CliResult result = RunCli({"report",
                                     "r.txt",
                                     "-o",
                                     "report.pdf",
                                     "--company",
                                     "华东检测中心",
                                     "--report-no=R-17",
                                     "--part",
                                     "齿轮轴",
                                     "--lot",
                                     "H2291",
                                     "--operator",
                                     "王工",
                                     "--instrument",
                                     "LD #12",
                                     "--standard",
                                     "GB/T 17394.1",
                                     "--remarks",
                                     "表面打磨",
                                     "--signatures",
                                     "--lower",
                                     "400",
                                     "--upper=460",
                                     "--exclude-invalid",
                                     "--records",
                                     "1,3"},
                                    folder.Root());
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    const std::string text = PdfText(folder.Path(QStringLiteral("report.pdf")));
    for (const char* expected :
         {"单位名称: 华东检测中心", "报告编号: R-17", "工件/试样: 齿轮轴", "批号/炉号: H2291",
          "检验人员: 王工", "仪器型号/编号: LD #12", "检测标准: GB/T 17394.1", "备注: 表面打磨",
          "统计不含无效读数", "有效数: 2/3", "合格", "不合格", "检验: ", "审核: ", "共"}) {
        EXPECT_THAT(text, HasSubstr(expected));
    }
    // Record 1 without its failed impact: mean 460, within the limits.
    EXPECT_THAT(text, HasSubstr("平均值: 460"));
    EXPECT_THAT(text, HasSubstr("No. 3"));
    EXPECT_THAT(text, Not(HasSubstr("No. 2")));
}

// The report says how its verdicts were reached; record 1's 470 lies above 460.
TEST(CliLabReportTest, EachReadingJudgedIsNamedInTheReport) {
    CliFolder folder;
    folder.Write(QStringLiteral("r.txt"), Records);
    const CliResult result = RunCli({"report", "r.txt", "-o", "report.pdf", "--limits",
                                     "HL:400-460", "--exclude-invalid", "--each-reading"},
                                    folder.Root());
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    const std::string text = PdfText(folder.Path(QStringLiteral("report.pdf")));
    EXPECT_THAT(text, HasSubstr("逐点判定"));
    EXPECT_THAT(text, HasSubstr("平均值: 460"));
    // Both HL records fail; the HRC record has no limits, so no verdict.
    const auto count = [&text](const std::string& word) {
        std::size_t n = 0;
        for (std::size_t at = text.find(word); at != std::string::npos;
             at = text.find(word, at + 1)) {
            ++n;
        }
        return n;
    };
    EXPECT_EQ(count("不合格"), 2u);
    EXPECT_EQ(count("合格"), 2u);
}

TEST(CliLabExportTest, LimitColumnsOnlyWhenAsked) {
    CliFolder folder;
    folder.Write(QStringLiteral("r.txt"), Records);
    ASSERT_EQ(RunCli({"export", "r.txt", "-o", "plain.csv"}, folder.Root()).ExitCode, 0);
    const CliResult result = RunCli(
        {"export", "r.txt", "-o", "lab.csv", "--limits", "HRC:45-,HL:45-", "--records", "2-3"},
        folder.Root());
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    const QList<QByteArray> plain =
        CliFolder::Read(folder.Path(QStringLiteral("plain.csv"))).split('\n');
    const QList<QByteArray> lab =
        CliFolder::Read(folder.Path(QStringLiteral("lab.csv"))).split('\n');
    ASSERT_EQ(lab.size(), 4);  // header, records 2 and 3, the rest after the last CR LF
    EXPECT_EQ(lab[0].chopped(1), plain[0].chopped(1) + ",无效读数,下限,上限,判定");
    EXPECT_EQ(lab[1].chopped(1), plain[2].chopped(1) + ",0,45,,合格");
    EXPECT_EQ(lab[2].chopped(1), plain[3].chopped(1) + ",0,45,,合格");
}

TEST(CliLabShowTest, JsonGainsVerdictAndSpreadWithLimits) {
    CliFolder folder;
    folder.Write(QStringLiteral("r.txt"), Records);
    const CliResult plain = RunCli({"show", "r.txt", "--json"}, folder.Root());
    ASSERT_EQ(plain.ExitCode, 0) << plain.Err;
    const QJsonObject first =
        QJsonDocument::fromJson(QByteArray::fromStdString(plain.Out)).array()[0].toObject();
    EXPECT_FALSE(first.contains("verdict"));
    EXPECT_FALSE(first.contains("std_dev"));

    const CliResult result =
        RunCli({"show", "r.txt", "--json", "--upper", "500", "--records", "1"}, folder.Root());
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    const QJsonArray records =
        QJsonDocument::fromJson(QByteArray::fromStdString(result.Out)).array();
    ASSERT_EQ(records.size(), 1);
    const QJsonObject record = records[0].toObject();
    EXPECT_EQ(record["verdict"].toString(), "fail");  // 888 is still in the mean: 603
    EXPECT_EQ(record["verdict_text"].toString(), "不合格");
    EXPECT_EQ(record["std_dev"].toDouble(), 247.3);
    EXPECT_EQ(record["range"].toDouble(), 438);
    EXPECT_EQ(record["upper"].toDouble(), 500);
    EXPECT_TRUE(record["lower"].isNull());
    EXPECT_EQ(record["used_mean"].toDouble(), 1808.0 / 3);  // unrounded
    EXPECT_EQ(record["marks"].toArray()[1].toString(), "failed");
}

// Record 1 (HL 450 888 470) with its failed impact left out has the mean 460, within 455-500,
// but its 450 lies below: judged each, it fails. Record 2 is HRC, which has no limits here: no
// verdict. Record 3 (HL 380 400) fails either way; record 4 has nothing but failed impacts.
TEST(CliLabExportTest, EachReadingJudgedPerScale) {
    CliFolder folder;
    folder.Write(QStringLiteral("r.txt"), Records + "  2,2011/12/31,    0,  888,  888,\r\n");
    const auto verdicts = [&](QStringList extra) {
        QStringList arguments{"export",           "r.txt", "-o", "t.csv", "--limits", "HL:455-500",
                              "--exclude-invalid"};
        arguments += extra;
        const CliResult result = RunCli(arguments, folder.Root());
        EXPECT_EQ(result.ExitCode, 0) << result.Err;
        QStringList cells;
        const QList<QByteArray> rows = CliFolder::Read(folder.Path("t.csv")).split('\n');
        for (qsizetype r = 1; r + 1 < rows.size(); ++r) {
            cells << QString::fromUtf8(rows[r].trimmed().split(',').back());
        }
        return cells;
    };
    EXPECT_EQ(verdicts({}), (QStringList{"合格", "", "不合格", "无有效读数"}));
    EXPECT_EQ(verdicts({"--each-reading"}), (QStringList{"不合格", "", "不合格", "无有效读数"}));
}

TEST(CliLabShowTest, NoValidReadingIsNeverAPass) {
    CliFolder folder;
    folder.Write(QStringLiteral("r.txt"), "@Import Data@\r\n  2,2011/12/31,    0,  888,  888,\r\n");
    const CliResult result =
        RunCli({"show", "r.txt", "--json", "--lower", "800", "--upper", "900"}, folder.Root());
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    const QJsonObject record =
        QJsonDocument::fromJson(QByteArray::fromStdString(result.Out)).array()[0].toObject();
    EXPECT_EQ(record["verdict"].toString(), "no-valid-reading");
    EXPECT_EQ(record["verdict_text"].toString(), "无有效读数");
    const CliResult text = RunCli({"show", "r.txt", "--lower", "800"}, folder.Root());
    EXPECT_THAT(text.Out, HasSubstr("  判定: 无有效读数\n"));
}

// The built-in sample's record 2 (HRC, its lost reading kept as 88.8): the 88.8 lifts the
// mean above 46, so judged each it fails too; left out, the mean and every reading lie within.
TEST(CliLabShowTest, TheSamplesRecordTwoJudgedEachFailsWithItsMean) {
    CliFolder folder;
    ASSERT_EQ(RunCli({"upload", "--simulate", "-o", "sample.txt"}, folder.Root()).ExitCode, 0);
    struct Case {
        QStringList Options;
        const char* Verdict;
        const char* Text;
    };
    for (const Case& c : {
             Case{{}, "fail", "不合格"},
             Case{{"--each-reading"}, "fail", "不合格"},
             Case{{"--each-reading", "--exclude-invalid"}, "pass", "合格"},
         }) {
        const QStringList arguments =
            QStringList{"show", "sample.txt", "--limits", "HRC:44-46"} + c.Options;
        const CliResult json = RunCli(arguments + QStringList{"--json"}, folder.Root());
        ASSERT_EQ(json.ExitCode, 0) << json.Err;
        const QJsonArray records =
            QJsonDocument::fromJson(QByteArray::fromStdString(json.Out)).array();
        ASSERT_GE(records.size(), 2);
        const QJsonObject record = records[1].toObject();
        EXPECT_EQ(record["readings"].toArray().last().toDouble(), 88.8);
        EXPECT_EQ(record["verdict"].toString(), c.Verdict) << c.Options.join(' ').toStdString();
        const CliResult text = RunCli(arguments, folder.Root());
        ASSERT_EQ(text.ExitCode, 0) << text.Err;
        const std::size_t second = text.Out.find("存储记录2\n");
        const std::size_t third = text.Out.find("存储记录3\n");
        ASSERT_LT(second, third);
        EXPECT_THAT(text.Out.substr(second, third - second),
                    HasSubstr(std::string("  判定: ") + c.Text + "\n"))
            << c.Options.join(' ').toStdString();
    }
}

struct RefusedCase {
    const char* Name;
    QStringList Arguments;
    int ExitCode;
    const char* Message;
};

class CliLabRefusedTest : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(CliLabRefusedTest, SaysWhatIsWrongAndWritesNothing) {
    const RefusedCase& c = GetParam();
    CliFolder folder;
    folder.Write(QStringLiteral("r.txt"), Records);
    const CliResult result = RunCli(c.Arguments, folder.Root());
    EXPECT_EQ(result.ExitCode, c.ExitCode);
    EXPECT_THAT(result.Err, HasSubstr(c.Message));
    EXPECT_FALSE(CliFolder::Exists(folder.Path(QStringLiteral("out"))));
}

const RefusedCase RefusedCases[] = {
    {"DetailsOnExport", {"export", "r.txt", "-o", "out", "--company", "X"}, 2, "不接受报表信息"},
    {"DetailsOnShow", {"show", "r.txt", "--signatures"}, 2, "不接受报表信息"},
    {"LimitsOnUpload", {"upload", "--simulate", "-o", "out", "--lower", "1"}, 2, "不接受限值"},
    {"LimitNotANumber", {"report", "r.txt", "-o", "out", "--lower", "4x"}, 2, "不是数值"},
    {"LimitNotFinite", {"report", "r.txt", "-o", "out", "--upper=inf"}, 2, "不是数值"},
    // A thousands comma is refused, not read as 1 and 1.2.
    {"LimitWithThousandsComma",
     {"export", "r.txt", "-o", "out", "--lower", "1,000", "--upper", "1,200"},
     2,
     "--lower: 限值 \"1,000\" 有歧义：写作 1000 或 1.5。(The limit \"1,000\" is ambiguous: "
     "write 1000 or 1.5.)"},
    {"ScaleLimitWithThousandsComma",
     {"export", "r.txt", "-o", "out", "--limits", "HV:1,000-1,200"},
     2,
     "写作 1000 或 1.5"},
    // The file holds HL and HRC records: one pair of limits would judge both.
    {"LowerUpperOnSeveralScales",
     {"export", "r.txt", "-o", "out", "--lower", "400", "--upper", "460"},
     2,
     "these records are HL, HRC: give each scale its limits with --limits"},
    {"LowerUpperOnSeveralScalesShown", {"show", "r.txt", "--lower", "400"}, 2, "--limits"},
    {"LowerUpperOnSeveralChosenScales",
     {"report", "r.txt", "-o", "out", "--upper", "460", "--records", "1-2"},
     2,
     "--limits"},
    {"LimitsAndLower",
     {"export", "r.txt", "-o", "out", "--limits", "HL:1-2", "--lower", "1"},
     2,
     "不能同时使用"},
    {"UnknownScale",
     {"export", "r.txt", "-o", "out", "--limits", "XY:1-2"},
     2,
     "未知的硬度制 \"XY\""},
    {"RejectOutsideIsGone",
     {"export", "r.txt", "-o", "out", "--lower", "400", "--reject-outside"},
     2,
     "use --each-reading"},
    {"LowerAboveUpper",
     {"export", "r.txt", "-o", "out", "--upper", "4", "--lower", "5"},
     2,
     "下限大于上限"},
    {"RepeatedDetail",
     {"report", "r.txt", "-o", "out", "--lot", "a", "--lot", "b"},
     2,
     "--lot 只能给一次"},
    {"FlagWithValue", {"report", "r.txt", "-o", "out", "--signatures=yes"}, 2, "不带值"},
    {"MissingValue", {"report", "r.txt", "-o", "out", "--company"}, 2, "--company 后缺少值"},
    {"EmptyValue", {"report", "r.txt", "-o", "out", "--part="}, 2, "不能为空"},
    {"RecordsPastTheEnd",
     {"report", "r.txt", "-o", "out", "--records", "2-4"},
     2,
     "超出最后一条记录 3"},
    {"RecordsPastTheEndOfAnExport",
     {"export", "r.txt", "-o", "out", "--records", "4"},
     2,
     "超出最后一条记录 3"},
    {"RecordsNotAList",
     {"export", "r.txt", "-o", "out", "--records", "first"},
     2,
     "不是记录号或范围"},
};

INSTANTIATE_TEST_SUITE_P(CommandLines, CliLabRefusedTest, ::testing::ValuesIn(RefusedCases),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace leeb::testing
