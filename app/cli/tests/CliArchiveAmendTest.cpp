// archive amend and import with details: corrections as versions, the filters following them,
// and what the command line refuses.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "CliProcess.h"

namespace leeb::testing {
namespace {

using ::testing::HasSubstr;

const QByteArray Records = "@Import Data@\r\n"
                           "  2,2025/03/14,12288,045.2,045.5,\r\n"
                           "  2,2025/03/14,12288,047.0,047.5,\r\n"
                           "  2,2025/03/15,    0,  450,  452,\r\n";

// The ids `list` shows for these options, in order.
std::string ListedIds(const CliFolder& folder, const QStringList& options) {
    const CliResult list = RunCli(QStringList{"archive", "list"} + options, folder.Root());
    EXPECT_EQ(list.ExitCode, 0) << list.Err;
    std::string ids;
    for (const QString& line : QString::fromStdString(list.Out).split('\n', Qt::SkipEmptyParts))
        ids += (ids.empty() ? "" : " ") + line.section('\t', 0, 0).toStdString();
    return ids;
}

TEST(CliArchiveAmendTest, AmendmentsAreVersionsTheFiltersFollow) {
    CliFolder folder;
    folder.Write("r.txt", Records);
    ASSERT_EQ(RunCli({"archive", "import", "r.txt", "--lot", "H1", "--operator", "li"},
                     folder.Root())
                  .ExitCode,
              0);
    const CliResult amend = RunCli({"archive", "amend", "1", "2", "--lot", "H2", "--reason",
                                    "heat number misread"},
                                   folder.Root(), {{"USER", "zhang"}});
    ASSERT_EQ(amend.ExitCode, 0) << amend.Err;
    EXPECT_EQ(amend.Out, "已修改 2 条记录的信息, 0 条原已如此 (Details amended on 2 records; 0 "
                         "already had them)\n");
    EXPECT_EQ(ListedIds(folder, {"--lot", "H2"}), "1 2");
    EXPECT_EQ(ListedIds(folder, {"--lot", "H1"}), "3");
    const CliResult history = RunCli({"archive", "history", "1"}, folder.Root());
    ASSERT_EQ(history.ExitCode, 0) << history.Err;
    const QStringList versions = QString::fromStdString(history.Out).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(versions.size(), 2);
    EXPECT_THAT(versions[0].toStdString(), HasSubstr("lot=H1"));
    EXPECT_THAT(versions[1].toStdString(), HasSubstr("\tzhang\t"));
    EXPECT_THAT(versions[1].toStdString(), HasSubstr("lot=H2"));
    EXPECT_THAT(versions[1].toStdString(), HasSubstr("reason=heat number misread"));
    // The readings are what they were.
    const CliResult exported = RunCli({"archive", "export", "-o", "all.txt"}, folder.Root());
    ASSERT_EQ(exported.ExitCode, 0) << exported.Err;
    EXPECT_EQ(CliFolder::Read(folder.Path("all.txt")), Records);
    EXPECT_EQ(RunCli({"archive", "check"}, folder.Root()).ExitCode, 0);
}

TEST(CliArchiveAmendTest, AnImportWithDetailsSaysWhatItUpdated) {
    CliFolder folder;
    folder.Write("r.txt", Records);
    ASSERT_EQ(RunCli({"archive", "import", "r.txt"}, folder.Root()).ExitCode, 0);
    const CliResult plain = RunCli({"archive", "import", "r.txt"}, folder.Root());
    EXPECT_EQ(plain.Out, "0 条新记录, 3 条已在档案中 (0 new records, 3 already in the archive)\n");
    const CliResult details =
        RunCli({"archive", "import", "r.txt", "--part", "齿轮轴", "--lot", "H2291"}, folder.Root());
    ASSERT_EQ(details.ExitCode, 0) << details.Err;
    EXPECT_EQ(details.Out, "0 条新记录, 3 条已在档案中, 其中 3 条更新了信息 (0 new records, 3 "
                           "already in the archive, 3 of them with updated details)\n");
    EXPECT_EQ(ListedIds(folder, {"--lot", "H2291"}), "1 2 3");
}

TEST(CliArchiveAmendTest, WhatAmendRefuses) {
    CliFolder folder;
    folder.Write("r.txt", Records);
    ASSERT_EQ(RunCli({"archive", "import", "r.txt"}, folder.Root()).ExitCode, 0);
    struct Case {
        QStringList Arguments;
        int Exit;
        const char* Says;
    };
    for (const Case& c : {
             Case{{"amend", "--lot", "X"}, 2, "archive amend needs record ids"},
             Case{{"amend", "1"}, 2, "needs at least one detail"},
             Case{{"amend", "x1", "--lot", "X"}, 2, "not \"x1\""},
             Case{{"amend", "0", "--lot", "X"}, 2, "not \"0\""},
             Case{{"amend", "1", "--verdict", "pass"}, 2, "does not take --verdict"},
             Case{{"amend", "1", "99", "--lot", "X"}, 1, "No record 99"},
         }) {
        const CliResult result = RunCli(QStringList{"archive"} + c.Arguments, folder.Root());
        EXPECT_EQ(result.ExitCode, c.Exit) << c.Arguments.join(' ').toStdString();
        EXPECT_THAT(result.Err, HasSubstr(c.Says)) << c.Arguments.join(' ').toStdString();
    }
    // The refused amendment of 1 and 99 changed 1 neither.
    const CliResult history = RunCli({"archive", "history", "1"}, folder.Root());
    EXPECT_EQ(QString::fromStdString(history.Out).count('\n'), 1);
}

TEST(CliArchiveAmendTest, BackupNeverWritesOntoTheArchive) {
    CliFolder folder;
    folder.Write("r.txt", Records);
    const QString archive = folder.Path("a.sqlite");
    ASSERT_EQ(RunCli({"archive", "import", "r.txt", "--archive", archive}, folder.Root()).ExitCode,
              0);
    for (const QString& target : {archive, archive + "-wal", folder.Root() + "/./a.sqlite"}) {
        const CliResult backup =
            RunCli({"archive", "backup", "-o", target, "--archive", archive}, folder.Root());
        EXPECT_EQ(backup.ExitCode, 1) << target.toStdString();
        EXPECT_THAT(backup.Err, HasSubstr("The output is the archive itself"));
    }
    EXPECT_EQ(RunCli({"archive", "check", "--archive", archive}, folder.Root()).ExitCode, 0);
    EXPECT_EQ(ListedIds(folder, {"--archive", archive}), "1 2 3");
}

}  // namespace
}  // namespace leeb::testing
