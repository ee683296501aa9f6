// --lang: the messages and the output in one language; without it the messages carry both.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "CliProcess.h"

namespace leeb::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

struct LanguageCase {
    const char* Name;
    QStringList Arguments;
    int ExitCode;
    const char* Shown;     // part of stdout, or of stderr when the command fails
    const char* NotShown;  // the other language's counterpart, absent
};

// Record 1 a steel HRC record, record 2 a reading that does not convert.
const QByteArray Records =
    "@Import Data@\r\n"
    "  2,2025/03/14,12288,045.2,045.3,\r\n"
    "  1,2025/03/14,    0,  4x0,\r\n";

const LanguageCase LanguageCases[] = {
    {"ShowInEnglish",
     {"show", "r.txt", "--lang", "en"},
     1,
     "Record 1\n    45.2\n    45.3\n  Record: 1\n  Material: Steel/cast st.\n  Scale: HRC\n",
     "记录号"},
    {"ShowInChinese",
     {"--lang=zh", "show", "r.txt"},
     1,
     "  记录号: 1\n  测量材料: 钢和铸钢\n",
     "Record"},
    {"FailureInEnglish",
     {"export", "r.txt", "-o", "out.csv", "--lang", "en"},
     1,
     "Line 3 of the record file, record 2, does not convert: '4x0' is not a valid floating "
     "point value.",
     "无法转换"},
    {"FailureInChinese",
     {"export", "r.txt", "-o", "out.csv", "--lang", "zh"},
     1,
     "记录文件第 3 行（存储记录2）无法转换：'4x0' 不是有效的数值。",
     "Line 3"},
    {"FailureInBoth",
     {"export", "r.txt", "-o", "out.csv"},
     1,
     "无法转换：'4x0' 不是有效的数值。(Line 3 of the record file, record 2, does not convert",
     "\n(Line"},
    // This machine has no tester.
    {"UploadFailureInEnglish",
     {"upload", "-o", "out.csv", "--lang", "en"},
     1,
     "No hardness tester is connected.",
     "未连接"},
    {"UploadFailureInChinese",
     {"upload", "-o", "out.csv", "--lang", "zh"},
     1,
     "未连接里氏硬度计。",
     "No hardness tester"},
    {"UsageErrorInEnglish",
     {"--lang", "en", "show"},
     2,
     "show needs a record file.",
     "需要一个记录文件"},
    {"UnknownLanguage",
     {"show", "r.txt", "--lang", "fr"},
     2,
     "--lang takes zh or en, not \"fr\"",
     "Record 1"},
    {"MissingLanguage", {"show", "r.txt", "--lang"}, 2, "--lang 后缺少 zh 或 en", "Record 1"},
};

class CliLanguageTest : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(CliLanguageTest, OneLanguageWhenChosen) {
    const LanguageCase& c = GetParam();
    CliFolder folder;
    folder.Write(QStringLiteral("r.txt"), Records);
    const CliResult result = RunCli(c.Arguments, folder.Root());
    EXPECT_EQ(result.ExitCode, c.ExitCode) << result.Err;
    const std::string shown = result.Out + result.Err;
    EXPECT_THAT(shown, HasSubstr(c.Shown));
    EXPECT_THAT(shown, Not(HasSubstr(c.NotShown)));
    EXPECT_FALSE(CliFolder::Exists(folder.Path(QStringLiteral("out.csv"))));
}

INSTANTIATE_TEST_SUITE_P(Languages, CliLanguageTest, ::testing::ValuesIn(LanguageCases),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace leeb::testing
