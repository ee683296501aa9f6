// --lang: the output of show, export (and report) in one language; Chinese without it.

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
    const char* Shown;              // part of stdout, or of stderr when the command fails
    const char* NotShown;           // the other language's counterpart, absent
    const char* Written = nullptr;  // the file checked instead of the output, if any
};

// Record 1 a steel HRC record, record 2 a reading that does not convert (show prints the
// records before it, then fails). The export takes record 1 alone.
const QByteArray Records =
    "@Import Data@\r\n"
    "  2,2025/03/14,12288,045.2,045.3,\r\n"
    "  1,2025/03/14,    0,  4x0,\r\n";
const QByteArray GoodRecords =
    "@Import Data@\r\n"
    "  2,2025/03/14,12288,045.2,045.3,\r\n";

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
     "Record:"},
    {"ShowByDefault", {"show", "r.txt"}, 1, "存储记录1\n", "Record 1"},
    // A record file's fault in the window's words: the chosen language alone.
    {"ReadFailureInEnglish",
     {"show", "r.txt", "--lang", "en"},
     1,
     "File r.txt, line 3 (record 2) cannot be read: reading 1, '4x0', is not a number",
     "无法转换"},
    {"ReadFailureInChinese", {"show", "r.txt", "--lang", "zh"}, 1, "第 3 行 (存储记录2) 无法转换", "cannot be read"},
    {"ShowLabLinesInEnglish",
     {"show", "g.txt", "--lang", "en", "--lower", "45", "--upper", "46", "--exclude-invalid"},
     0,
     "  Readings used: 2\n  Valid maximum: 45.3\n  Valid minimum: 45.2\n  Valid mean: 45.2\n"
     "  Invalid readings: 0\n  Std dev: 0.07\n  Range: 0.1\n  Lower limit: 45\n"
     "  Upper limit: 46\n  Result: Pass\n",
     "判定"},
    {"ShowLabLinesByDefault",
     {"show", "g.txt", "--lower", "45", "--upper", "46"},
     0,
     "  无效读数: 0\n  标准偏差: 0.07\n  极差: 0.1\n  下限: 45\n  上限: 46\n  判定: 合格\n",
     "Result"},
    {"UnknownLanguage",
     {"show", "r.txt", "--lang", "fr"},
     2,
     "--lang takes zh or en, not \"fr\"",
     "存储记录1"},
    {"MissingLanguage", {"show", "r.txt", "--lang"}, 2, "--lang 后缺少 zh 或 en", "存储记录1"},
    {"LanguageTwice",
     {"show", "r.txt", "--lang", "en", "--lang=zh"},
     2,
     "--lang 只能给一次",
     "Record 1"},
    {"ExportInEnglish",
     {"export", "g.txt", "-o", "t.csv", "--lang", "en", "--lower", "45"},
     0,
     "Record no.,Date,Material,Scale/strength,Impact device,Impact direction,Impacts,Reading 1,",
     "记录号",
     "t.csv"},
    {"ExportInEnglishNamesCells",
     {"export", "g.txt", "-o", "t.csv", "--lang", "en", "--lower", "45"},
     0,
     ",Steel/cast st.,HRC,D,vertically down,2,45.2,45.3,",
     "钢和铸钢",
     "t.csv"},
    {"ExportByDefault",
     {"export", "g.txt", "-o", "t.csv", "--lower", "45"},
     0,
     "\xEF\xBB\xBF记录号,测量日期,测量材料,硬度制/强度,冲击装置,冲击方向,冲击次数,读数1,",
     "Record no.",
     "t.csv"},
};

class CliLanguageTest : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(CliLanguageTest, OneLanguageWhenChosen) {
    const LanguageCase& c = GetParam();
    CliFolder folder;
    folder.Write(QStringLiteral("r.txt"), Records);
    folder.Write(QStringLiteral("g.txt"), GoodRecords);
    const CliResult result = RunCli(c.Arguments, folder.Root());
    EXPECT_EQ(result.ExitCode, c.ExitCode) << result.Err;
    const std::string shown =
        c.Written != nullptr
            ? CliFolder::Read(folder.Root() + QLatin1Char('/') + QString::fromLatin1(c.Written))
                  .toStdString()
            : result.Out + result.Err;
    EXPECT_THAT(shown, HasSubstr(c.Shown));
    EXPECT_THAT(shown, Not(HasSubstr(c.NotShown)));
}

INSTANTIATE_TEST_SUITE_P(Languages, CliLanguageTest, ::testing::ValuesIn(LanguageCases),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace leeb::testing
