// report and export of a good record file.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>

#include "CliProcess.h"

namespace leeb::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

const QByteArray TwoRecords =
    "@Import Data@\r\n"
    "  3,2008/05/17,    0,  450,  452,  448,\r\n"
    "  2,2011/12/31,12356,045.3,045.6,\r\n";

TEST(CliReportTest, WritesTheReportWithoutADisplay) {
    CliFolder folder;
    folder.Write(QStringLiteral("r.txt"), TwoRecords);
    const CliResult result = RunCli({"report", "r.txt", "-o", "report.pdf"}, folder.Root());
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(result.Err, "");  // no Qt warnings about the missing display or runtime folder
    const std::string text = PdfText(folder.Path(QStringLiteral("report.pdf")));
    EXPECT_THAT(text, HasSubstr("硬度/强度测试报表"));
    EXPECT_THAT(text, HasSubstr("45.6"));
}

TEST(CliReportTest, AFileWithoutRecordsGivesNoReport) {
    CliFolder folder;
    folder.Write(QStringLiteral("empty.txt"), "@Import Data@\r\n");
    const CliResult result = RunCli({"report", "empty.txt", "-o", "report.pdf"}, folder.Root());
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_THAT(result.Err, HasSubstr("The record file holds no records"));
    EXPECT_FALSE(CliFolder::Exists(folder.Path(QStringLiteral("report.pdf"))));
}

TEST(CliReportTest, ANameWithoutDotGetsItsExtension) {
    CliFolder folder;
    folder.Write(QStringLiteral("r.txt"), TwoRecords);
    ASSERT_TRUE(QDir(folder.Root()).mkdir(QStringLiteral("v1.2")));
    const struct {
        QStringList arguments;
        const char* written;
    } cases[] = {
        {{"report", "r.txt", "-o", "report"}, "report.pdf"},
        {{"report", "r.txt", "-o", "v1.2/report"}, "v1.2/report.pdf"},
        {{"report", "r.txt", "-o", "named.PDF"}, "named.PDF"},
        {{"export", "r.txt", "-o", "table"}, "table.csv"},
    };
    for (const auto& c : cases) {
        const CliResult result = RunCli(c.arguments, folder.Root());
        EXPECT_EQ(result.ExitCode, 0) << result.Err;
        EXPECT_TRUE(CliFolder::Exists(folder.Path(QString::fromUtf8(c.written)))) << c.written;
    }
    EXPECT_FALSE(CliFolder::Exists(folder.Path(QStringLiteral("report"))));
    EXPECT_FALSE(CliFolder::Exists(folder.Path(QStringLiteral("table"))));
}

TEST(CliReportTest, LangChoosesTheReportsLanguage) {
    const struct {
        const char* Language;  // nullptr: no --lang, the Chinese report
        const char* Title;
        const char* Label;
        const char* Date;  // Chinese 2026/12/10; English unambiguous, 2026-12-10
    } cases[] = {
        {nullptr, "硬度/强度测试报表", "测试材料:", "日期:[[:space:]]+[0-9]{4}/[0-9]{2}/[0-9]{2}"},
        {"zh", "硬度/强度测试报表", "测试材料:", "日期:[[:space:]]+[0-9]{4}/[0-9]{2}/[0-9]{2}"},
        {"en", "Hardness / Strength Test Report",
         "Material:", "Date:[[:space:]]+[0-9]{4}-[0-9]{2}-[0-9]{2}"},
    };
    for (const auto& c : cases) {
        CliFolder folder;
        folder.Write(QStringLiteral("r.txt"), TwoRecords);
        QStringList arguments{"report", "r.txt", "-o", "report.pdf"};
        if (c.Language != nullptr)
            arguments << "--lang" << c.Language;
        const CliResult result = RunCli(arguments, folder.Root());
        const char* language = c.Language != nullptr ? c.Language : "(none)";
        ASSERT_EQ(result.ExitCode, 0) << result.Err;
        const std::string text = PdfText(folder.Path(QStringLiteral("report.pdf")));
        EXPECT_THAT(text, HasSubstr(c.Title)) << language;
        EXPECT_THAT(text, HasSubstr(c.Label)) << language;
        EXPECT_THAT(text, ::testing::ContainsRegex(c.Date)) << language;
    }
}

TEST(CliExportTest, WritesTheHeaderRowAndOneRowPerRecord) {
    CliFolder folder;
    folder.Write(QStringLiteral("r.txt"), TwoRecords);
    const CliResult result = RunCli({"export", "r.txt", "-o", "out.csv"}, folder.Root());
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    const QList<QByteArray> rows =
        CliFolder::Read(folder.Path(QStringLiteral("out.csv"))).split('\n');
    ASSERT_EQ(rows.size(), 4);  // header, two records, the empty rest after the last CR LF
    EXPECT_THAT(rows[0].toStdString(), StartsWith("\xEF\xBB\xBF记录号,测量日期,测量材料"));
    EXPECT_THAT(rows[1].toStdString(), StartsWith("1,2008/05/17,钢和铸钢,"));
    EXPECT_THAT(rows[2].toStdString(), StartsWith("2,2011/12/31,钢和铸钢,HRC,G,"));
    EXPECT_EQ(rows[3], "");
}

}  // namespace
}  // namespace leeb::testing
