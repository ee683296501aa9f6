// Command lines that do not say what to do: status 2, a message saying what is wrong, and one
// line saying where the usage is; nothing is read or written.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "CliProcess.h"
#include "LeebdeskVersion.h"

namespace leeb::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

struct UsageCase {
    const char* Name;
    QStringList Arguments;
    const char* Message;  // part of the message on stderr
};

class CliUsageTest : public ::testing::TestWithParam<UsageCase> {};

TEST_P(CliUsageTest, ExitsWithStatusTwoAndWhereTheUsageIs) {
    CliFolder folder;
    folder.Write(QStringLiteral("r.txt"), "@Import Data@\r\n");
    const CliResult result = RunCli(GetParam().Arguments, folder.Root());
    EXPECT_EQ(result.ExitCode, 2);
    EXPECT_THAT(result.Err, HasSubstr(GetParam().Message));
    // The message, then the pointer to the usage: two lines, not the whole usage.
    EXPECT_THAT(result.Err, HasSubstr("\nleebdesk-cli --help 查看用法 (see leebdesk-cli --help "
                                      "for usage)\n"));
    EXPECT_THAT(result.Err, Not(HasSubstr("用法 (usage):")));
    EXPECT_EQ(std::count(result.Err.begin(), result.Err.end(), '\n'), 2) << result.Err;
    EXPECT_EQ(result.Out, "");
    EXPECT_FALSE(CliFolder::Exists(folder.Path(QStringLiteral("out"))));
    EXPECT_FALSE(CliFolder::Exists(folder.Path(QStringLiteral("out.txt"))));
}

const UsageCase UsageCases[] = {
    {"NoArguments", {}, "缺少命令"},
    {"UnknownCommand", {"print", "r.txt"}, "未知命令 \"print\""},
    {"UnknownOption", {"show", "--verbose", "r.txt"}, "未知选项 \"--verbose\""},
    {"ShowWithoutFile", {"show"}, "需要一个记录文件"},
    {"ShowWithTwoFiles", {"show", "r.txt", "s.txt"}, "多余的参数 \"s.txt\""},
    {"ShowWithOutput", {"show", "r.txt", "-o", "out"}, "不接受 -o"},
    {"ExportWithoutOutput", {"export", "r.txt"}, "需要 -o"},
    {"ReportWithoutOutputName", {"report", "r.txt", "-o"}, "-o 后缺少文件名"},
    {"ReportWithEmptyOutputName", {"report", "r.txt", "--output="}, "-o 后缺少文件名"},
    {"OutputTwice", {"export", "r.txt", "-o", "out", "-o", "out.txt"}, "-o 只能给一次"},
    {"ExportWithJson", {"export", "r.txt", "--json", "-o", "out"}, "不接受 --json"},
    {"ShowWithSimulate", {"show", "r.txt", "--simulate"}, "不接受 --simulate"},
    {"UploadWithoutOutput", {"upload", "--simulate"}, "需要 -o"},
    {"UploadWithFile", {"upload", "r.txt", "-o", "out"}, "多余的参数 \"r.txt\""},
    {"SimulateWithEmptyFile", {"upload", "--simulate=", "-o", "out"}, "--simulate= 后缺少文件名"},
    // A bad option value is a usage error too, whichever option it is.
    {"RecordsNotAList", {"show", "r.txt", "--records", "abc"}, "不是记录号或范围"},
    {"LimitNotANumber", {"show", "r.txt", "--lower", "abc"}, "不是数值"},
};

INSTANTIATE_TEST_SUITE_P(CommandLines, CliUsageTest, ::testing::ValuesIn(UsageCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// The pointer to the usage speaks the language --lang asks for, even on a line that is wrong
// elsewhere; without --lang both, as the messages.
TEST(CliUsageHintTest, InTheLanguageAskedFor) {
    CliFolder folder;
    const struct {
        QStringList arguments;
        const char* hint;
    } cases[] = {
        {{"show", "--lang", "en", "--verbose"}, "\nSee leebdesk-cli --help for usage.\n"},
        {{"--lang=zh", "show", "--verbose"}, "\nleebdesk-cli --help 查看用法\n"},
        {{"show", "--verbose", "--lang", "fr"},
         "\nleebdesk-cli --help 查看用法 (see leebdesk-cli --help for usage)\n"},
    };
    for (const auto& c : cases) {
        const CliResult result = RunCli(c.arguments, folder.Root());
        EXPECT_EQ(result.ExitCode, 2);
        EXPECT_TRUE(result.Err.ends_with(c.hint)) << result.Err;
    }
}

// Asked-for help and version are answers, not errors: standard output, status 0, nothing on
// standard error (no Qt warning either), with no display.
TEST(CliHelpTest, HelpAndVersionGoToStandardOutput) {
    CliFolder folder;
    for (const QStringList& arguments :
         {QStringList{"--help"}, QStringList{"-h"}, QStringList{"report", "--help"}}) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        const CliResult result = RunCli(arguments, folder.Root());
        EXPECT_EQ(result.ExitCode, 0);
        EXPECT_EQ(result.Err, "");
        for (const char* command : {"upload", "show", "report", "export", "archive import"}) {
            EXPECT_THAT(result.Out, HasSubstr(std::string("leebdesk-cli ") + command));
        }
        for (const char* status : {"0  ", "1  ", "2  ", "3  upload"}) {
            EXPECT_THAT(result.Out, HasSubstr(status));
        }
    }
    // The archive's own usage alone.
    const CliResult archive = RunCli({"archive", "--help"}, folder.Root());
    EXPECT_EQ(archive.ExitCode, 0);
    EXPECT_EQ(archive.Err, "");
    EXPECT_THAT(archive.Out, HasSubstr("archive trend [FILTERS]"));
    EXPECT_THAT(archive.Out, Not(HasSubstr("leebdesk-cli show")));
    for (const QStringList& arguments :
         {QStringList{"--version"}, QStringList{"show", "--version"}}) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        const CliResult result = RunCli(arguments, folder.Root());
        EXPECT_EQ(result.ExitCode, 0);
        EXPECT_EQ(result.Out, "leebdesk-cli " LEEBDESK_VERSION_TEXT "\n");
        EXPECT_EQ(result.Err, "");
    }
}

TEST(CliOptionFormsTest, OutputFormsAndDoubleDashNameTheSameFile) {
    CliFolder folder;
    folder.Write(QStringLiteral("-r.txt"), "@Import Data@\r\n  1,2008/05/17,    0,  450,\r\n");
    for (const QStringList& arguments :
         {QStringList{"export", "-o", "a.csv", "--", "-r.txt"},
          QStringList{"export", "-ob.csv", "--", "-r.txt"},
          QStringList{"--output=c.csv", "export", "--", "-r.txt"},
          QStringList{"export", "--output", "d.csv", "--", "-r.txt"}}) {
        const CliResult result = RunCli(arguments, folder.Root());
        EXPECT_EQ(result.ExitCode, 0) << arguments.join(' ').toStdString() << result.Err;
    }
    for (const char* name : {"a.csv", "b.csv", "c.csv", "d.csv"}) {
        EXPECT_TRUE(CliFolder::Exists(folder.Path(QString::fromLatin1(name)))) << name;
    }
}

}  // namespace
}  // namespace leeb::testing
