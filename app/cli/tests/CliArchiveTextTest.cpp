// The archive commands and the texts they are given or print: lab details that are no UTF-8,
// record lines that are no text, control characters in what list and history print, and the
// names the filters take.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QFile>
#include <algorithm>

#include "CliProcess.h"

namespace leeb::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// Steel HRC device D; steel HL device D; stainless steel HL device DC; low-carbon steel in
// strength mode (no scale) device D.
const QByteArray Records = "@Import Data@\r\n"
                           "  2,2025/03/14,12288,045.2,045.5,\r\n"
                           "  2,2025/03/15,    0,  450,  452,\r\n"
                           "  1,2025/03/16,  528,  450,\r\n"
                           "  1,2025/03/17,    8,  560,\r\n";

std::size_t LineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST(CliArchiveTextTest, ALineWithAByteThatIsNoTextImportsNothing) {
    CliFolder folder;
    folder.Write("r.txt", "@Import Data@\r\n  2,2025/03/14,12288,045.2,045.5,\r\n"
                          "  1,20\xB0" "5/03/15,    0,  450,\r\n");
    folder.Write("good.txt", "@Import Data@\r\n  1,2025/03/16,  528,  450,\r\n");
    ASSERT_EQ(RunCli({"archive", "import", "good.txt"}, folder.Root()).ExitCode, 0);
    const CliResult import = RunCli({"archive", "import", "r.txt"}, folder.Root());
    EXPECT_EQ(import.ExitCode, 1);
    EXPECT_THAT(import.Err, HasSubstr("第 3 行 (存储记录2) 无法转换: 第 7 列: 字节 0xB0"));
    // Not even the line before the bad one.
    const CliResult list = RunCli({"archive", "list"}, folder.Root());
    EXPECT_EQ(list.ExitCode, 0) << list.Err;
    EXPECT_EQ(LineCount(list.Out), 1u) << list.Out;
}

struct BytesCase {
    const char* Name;
    std::vector<QByteArray> Arguments;
    const char* Message;
};

class CliDetailsNotUtf8Test : public ::testing::TestWithParam<BytesCase> {};

// A detail stored with a replacement character in place of what the lab typed is lost: it is
// refused as a usage error before any archive is opened or any output written.
TEST_P(CliDetailsNotUtf8Test, IsAUsageErrorAndKeepsNothing) {
    if (!QFile::exists(QStringLiteral("/bin/sh")))
        GTEST_SKIP() << "no POSIX shell to hand over bytes that are no text";
    const BytesCase& c = GetParam();
    CliFolder folder;
    folder.Write("r.txt", Records);
    const CliResult result = RunCliWithBytes(c.Arguments, folder.Root());
    EXPECT_EQ(result.ExitCode, 2) << result.Err;
    EXPECT_THAT(result.Err, HasSubstr(c.Message));
    EXPECT_FALSE(CliFolder::Exists(folder.Path(".data"))) << "no archive opened";
    EXPECT_FALSE(CliFolder::Exists(folder.Path("out.pdf")));
}

const BytesCase BytesCases[] = {
    {"ImportPart",
     {"archive", "import", "r.txt", "--part", "\xff"},
     "--part 的值不是 UTF-8 文本：第 1 个字节是 0xFF。(The value of --part is not UTF-8 text: "
     "byte 1 is 0xFF.)"},
    {"ImportLotCutShort", {"archive", "import", "r.txt", "--lot=ab\xc3"}, "byte 3 is 0xC3"},
    {"ImportOperatorOverlong",
     {"archive", "import", "r.txt", "--operator", "\xc0\xaf"},
     "--operator is not UTF-8 text: byte 1 is 0xC0"},
    {"ImportRemarksSurrogate",
     {"archive", "import", "r.txt", "--remarks", "ok \xed\xa0\x80"},
     "--remarks is not UTF-8 text: byte 4 is 0xED"},
    {"ListOperatorFilter", {"archive", "list", "--operator", "\xfe"}, "--operator is not UTF-8"},
    {"ListMaterialFilter", {"archive", "list", "--material", "\xb8\xd6"}, "--material is not UTF-8"},
    {"ReportCompany",
     {"report", "r.txt", "-o", "out.pdf", "--company", "Lab \x80"},
     "--company is not UTF-8 text: byte 5 is 0x80"},
    {"ReportRemarks", {"report", "r.txt", "-o", "out.pdf", "--remarks=\xf5\x80\x80\x80"},
     "--remarks is not UTF-8 text: byte 1 is 0xF5"},
};

INSTANTIATE_TEST_SUITE_P(Options, CliDetailsNotUtf8Test, ::testing::ValuesIn(BytesCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(CliArchiveTextTest, ListAndHistorySpellControlCharactersOut) {
    CliFolder folder;
    folder.Write("r.txt", "@Import Data@\r\n  2,2025/03/14,12288,045.2,045.5,\r\n");
    ASSERT_EQ(RunCli({"archive", "import", "r.txt", "--operator", "张\n1\t2\t3", "--part",
                      "a\\b", "--remarks", "\x1b]0;owned\x07\x1b[2J"},
                     folder.Root())
                  .ExitCode,
              0);
    const CliResult list = RunCli({"archive", "list"}, folder.Root());
    ASSERT_EQ(list.ExitCode, 0) << list.Err;
    EXPECT_EQ(LineCount(list.Out), 1u) << list.Out;
    EXPECT_THAT(list.Out, HasSubstr("\ta\\x5Cb\t\t张\\x0A1\\x092\\x093\n"));

    const CliResult history = RunCli({"archive", "history", "1"}, folder.Root());
    ASSERT_EQ(history.ExitCode, 0) << history.Err;
    EXPECT_EQ(LineCount(history.Out), 1u) << history.Out;
    EXPECT_THAT(history.Out, HasSubstr("\tremarks=\\x1B]0;owned\\x07\\x1B[2J\n"));
    EXPECT_THAT(history.Out, HasSubstr("\toperator=张\\x0A1\\x092\\x093\t"));
    for (const std::string& out : {list.Out, history.Out}) {
        EXPECT_THAT(out, Not(HasSubstr("\x1b")));
        EXPECT_THAT(out, Not(HasSubstr("\x07")));
    }
}

TEST(CliArchiveTextTest, FiltersTakeTheWindowsNamesInEitherLanguageAndAnyCase) {
    CliFolder folder;
    folder.Write("r.txt", Records);
    ASSERT_EQ(RunCli({"archive", "import", "r.txt"}, folder.Root()).ExitCode, 0);
    struct Case {
        QStringList Filter;
        std::size_t Rows;
    };
    for (const Case& c : {
             Case{{"--material", "钢和铸钢"}, 2},
             Case{{"--material", "Steel/cast st."}, 2},
             Case{{"--material=stainless STEEL"}, 1},
             Case{{"--material", "Forged steel"}, 0},  // a name the tester has: none recorded
             Case{{"--scale", "hrc"}, 1},
             Case{{"--scale", "HL"}, 2},
             Case{{"--device", "dc"}, 1},
             Case{{"--device", "D"}, 3},
             Case{{"--material", "low-carbon st."}, 1},
             Case{{"--scale", "σb"}, 1},  // as show names the scale of a strength record
             Case{{"--material", "Steel/cast st.", "--scale", "hl", "--device", "d"}, 1},
         }) {
        const std::string shown = c.Filter.join(' ').toStdString();
        const CliResult list = RunCli(QStringList{"archive", "list"} + c.Filter, folder.Root());
        EXPECT_EQ(list.ExitCode, 0) << shown << ": " << list.Err;
        EXPECT_EQ(LineCount(list.Out), c.Rows) << shown;
    }
}

TEST(CliArchiveTextTest, AFilterNameThatNamesNothingIsAUsageErrorNamingTheValidOnes) {
    CliFolder folder;
    struct Case {
        QStringList Arguments;
        const char* Says;
    };
    for (const Case& c : {
             Case{{"list", "--scale", "XYZ"},
                  "--scale 不认识 \"XYZ\"，可用：HL、HV、HB、HRC、HS、HRB、HRA。(--scale does not "
                  "know \"XYZ\"; it takes HL, HV, HB, HRC, HS, HRB, HRA.)"},
             Case{{"export", "-o", "out.txt", "--device", "D15"},
                  "it takes D, DC, DL, D+15, G, E, C."},
             Case{{"list", "--material", "Steel"}, "Steel/cast st., Alloy tool st., Stainless "},
             Case{{"list", "--material", "铸钢"}, "可用：钢和铸钢、合金工具钢、不锈钢、"},
             Case{{"trend", "--json", "--scale", "HRCX"}, "--scale does not know \"HRCX\""},
         }) {
        const std::string shown = c.Arguments.join(' ').toStdString();
        const CliResult result = RunCli(QStringList{"archive"} + c.Arguments, folder.Root());
        EXPECT_EQ(result.ExitCode, 2) << shown;
        EXPECT_THAT(result.Err, HasSubstr(c.Says)) << shown;
    }
    EXPECT_FALSE(CliFolder::Exists(folder.Path(".data"))) << "refused before any archive opened";
    EXPECT_FALSE(CliFolder::Exists(folder.Path("out.txt")));
}

}  // namespace
}  // namespace leeb::testing
