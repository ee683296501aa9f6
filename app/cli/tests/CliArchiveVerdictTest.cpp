// archive list/export --verdict: the limits options as show and report read them, and the
// usage errors when the verdict has nothing to judge with.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "CliProcess.h"

namespace leeb::testing {
namespace {

using ::testing::HasSubstr;

// HRC 45.35 (passes 44-46), HRC 47.25 (fails), HL 451 (no HRC limits).
const QByteArray Records = "@Import Data@\r\n"
                           "  2,2025/03/14,12288,045.2,045.5,\r\n"
                           "  2,2025/03/14,12288,047.0,047.5,\r\n"
                           "  2,2025/03/15,    0,  450,  452,\r\n";

TEST(CliArchiveVerdictTest, ListsTheRecordsOfAVerdict) {
    CliFolder folder;
    folder.Write("r.txt", Records);
    ASSERT_EQ(RunCli({"archive", "import", "r.txt"}, folder.Root()).ExitCode, 0);
    struct Case {
        QStringList Options;
        std::string Means;  // the mean column of each line listed
    };
    for (const Case& c : {
             Case{{"--verdict", "pass", "--limits", "HRC:44-46"}, "45.35"},
             Case{{"--verdict=fail", "--limits=HRC:44-46"}, "47.25"},
             Case{{"--verdict", "none", "--limits", "HRC:44-46"}, "451.00"},
             Case{{"--verdict", "pass", "--scale", "HRC", "--lower", "44", "--upper", "46"},
                  "45.35"},
             Case{{"--verdict", "fail", "--limits", "HRC:45.3-46", "--each-reading"}, "45.35 47.25"},
         }) {
        const CliResult list = RunCli(QStringList{"archive", "list"} + c.Options, folder.Root());
        ASSERT_EQ(list.ExitCode, 0) << list.Err;
        std::string means;
        for (const QString& line : QString::fromStdString(list.Out).split('\n', Qt::SkipEmptyParts))
            means += (means.empty() ? "" : " ") + line.section('\t', 6, 6).toStdString();
        EXPECT_EQ(means, c.Means) << c.Options.join(' ').toStdString();
    }
    const CliResult exported = RunCli(
        {"archive", "export", "-o", "pass.txt", "--verdict", "pass", "--limits", "HRC:44-46"},
        folder.Root());
    ASSERT_EQ(exported.ExitCode, 0) << exported.Err;
    EXPECT_EQ(CliFolder::Read(folder.Path("pass.txt")),
              "@Import Data@\r\n  2,2025/03/14,12288,045.2,045.5,\r\n");
}

TEST(CliArchiveVerdictTest, AVerdictWithoutLimitsIsAUsageError) {
    CliFolder folder;
    struct Case {
        QStringList Options;
        const char* Says;
    };
    for (const Case& c : {
             Case{{"--verdict", "pass"}, "--verdict needs limits"},
             Case{{"--verdict", "pass", "--exclude-invalid"}, "--verdict needs limits"},
             Case{{"--verdict", "pass", "--lower", "44"}, "--lower/--upper need --scale"},
             Case{{"--verdict", "maybe", "--limits", "HRC:44-46"}, "pass, fail or none"},
             Case{{"--limits", "HRC:44-46"}, "go with --verdict only"},
         }) {
        const CliResult list = RunCli(QStringList{"archive", "list"} + c.Options, folder.Root());
        EXPECT_EQ(list.ExitCode, 2) << c.Options.join(' ').toStdString();
        EXPECT_THAT(list.Err, HasSubstr(c.Says)) << c.Options.join(' ').toStdString();
    }
    EXPECT_FALSE(CliFolder::Exists(folder.Path(".data"))) << "refused before any archive opened";
}

}  // namespace
}  // namespace leeb::testing
