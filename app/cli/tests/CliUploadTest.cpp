// upload from the simulated tester into a record file, and from a real tester when none is
// connected.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <regex>

#include <QFile>
#include <QFileInfo>

#include <QDir>

#include "CliProcess.h"
#include "FileSizeLimit.h"
#include "RecordFile.h"
#include "SimulatorRecords.h"
#include "UploadProtocol.h"
#include "UploadScenarios.h"

namespace leeb::testing {
namespace {

using ::testing::HasSubstr;

// The file the window saves after uploading the sample records: each record as the upload
// keeps it (substitutions applied), one line each after the header, CR LF after every line.
QByteArray SampleRecordFile() {
    const SimulatorRecordSet sample = SampleSimulatorRecords();
    EXPECT_FALSE(sample.Single.has_value());
    std::string file = std::string(RecordFileHeader) + "\r\n";
    int number = 0;
    for (const SimulatedRecord& record : sample.Records) {
        EXPECT_EQ(record.Number, ++number);
        file += FormatRecordLine(UploadedRecord(PackRecordImage(record.Record)), '.') + "\r\n";
    }
    return QByteArray::fromStdString(file);
}

TEST(CliUploadTest, SimulatedSampleGivesTheFileTheWindowSaves) {
    CliFolder folder;
    // No "." in the name: ".txt" is appended, as the window's save does.
    const CliResult result = RunCli({"upload", "--simulate", "-o", "records"}, folder.Root());
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    const QByteArray written = CliFolder::Read(folder.Path(QStringLiteral("records.txt")));
    EXPECT_EQ(written, SampleRecordFile());
    EXPECT_EQ(written.count("\r\n"), 15);
    // Not a terminal: no progress, the summary alone.
    EXPECT_EQ(result.Err,
              "已上传 14 条记录，写入 records.txt。(14 records uploaded into records.txt.)\n");
    EXPECT_EQ(result.Out, "档案: 14 条新记录, 0 条已在档案中。(Archive: 14 new records, 0 "
                          "already in the archive.)\n");
}

TEST(CliUploadTest, SimulatedRecordsFromJsonWithTheReadingSubstitutions) {
    CliFolder folder;
    // 2008/05/17 is DateWord 8 | 5 << 7 | 17 << 11 = 35464; settings 12288 is HRC.
    folder.Write(QStringLiteral("tester.json"),
                 R"({"records": [
                      {"count": 5, "readings": [450, 0, 452, 1200, 449], "settings": 0,
                       "date": 35464},
                      {"count": 3, "readings": [453, 5, 0], "settings": 12288, "date": 35464}]})");
    // A dot in a folder name is no extension.
    const CliResult result =
        RunCli({"upload", "--simulate=tester.json", "-o", "./out"}, folder.Root());
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(CliFolder::Read(folder.Path(QStringLiteral("out.txt"))),
              "@Import Data@\r\n"
              "  5,2008/05/17,    0,  450,  888,  452,  888,  449,\r\n"
              "  3,2008/05/17,12288,045.3,000.5,088.8,\r\n");
}

// A name ending in ".csv" gets the CSV table, as the window's save writes it for such a name,
// numbered as the tester numbers the records: a tester offering only its record 2 gives a row
// numbered 2, on the table's first row.
TEST(CliUploadTest, ACsvNameGetsTheTableWithTheTestersRecordNumbers) {
    CliFolder folder;
    folder.Write(QStringLiteral("tester.json"),
                 R"({"single": 2, "records": [
                      {"count": 1, "readings": [450], "settings": 0, "date": 35464},
                      {"count": 2, "readings": [600, 602], "settings": 12288, "date": 35464}]})");
    const CliResult result =
        RunCli({"upload", "--simulate=tester.json", "-o", "out.CSV"}, folder.Root());
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    const QList<QByteArray> rows =
        CliFolder::Read(folder.Path(QStringLiteral("out.CSV"))).split('\n');
    ASSERT_EQ(rows.size(), 3) << "header, the record, and the rest after the last CR LF";
    EXPECT_TRUE(rows[0].startsWith("\xEF\xBB\xBF" + QStringLiteral("记录号,").toUtf8()));
    // Record 2, HRC 60.0 and 60.2: the readings keep their decimal.
    EXPECT_TRUE(rows[1].startsWith(
        QStringLiteral("2,2008/05/17,钢和铸钢,HRC,D,垂直向下,2,60.0,60.2,").toUtf8()))
        << rows[1].toStdString();
    EXPECT_FALSE(CliFolder::Exists(folder.Path(QStringLiteral("out.txt"))));
}

// The simulated tester is pulled out while record 3 (or 1) is read: the upload stops there.
struct InterruptionCase {
    const char* Name;
    int UnplugAfter;  // commands answered
    int ExitCode;
    QByteArray File;  // out.txt afterwards
    std::vector<const char*> Messages;
};

QByteArray TesterJson(const QByteArray& extra) {
    QByteArray json = R"({"records": [)";
    for (int r = 1; r <= 3; ++r) {
        json += QByteArray(r > 1 ? "," : "") + R"({"readings": [)" +
                QByteArray::number(440 + 10 * r) + R"(], "settings": 0, "date": 35464, )" +
                R"("count": 1})";
    }
    return json + "]" + extra + "}";
}

TEST(CliUploadTest, InterruptedUploadWritesTheRecordsReadAndSaysHowMany) {
    const QByteArray kept = "@Import Data@\r\n  1,2008/05/17,    0,  999,\r\n";
    const InterruptionCase cases[] = {
        {"at record 3",
         1 + 2 * 9 + 4,
         3,
         "@Import Data@\r\n  1,2008/05/17,    0,  450,\r\n  1,2008/05/17,    0,  460,\r\n",
         {"拔出", "2 of 3 records written to out.txt", "共 3 条"}},
        {"at record 1", 1 + 4, 1, kept, {"拔出", "No record was read; no file was written"}},
    };
    for (const InterruptionCase& c : cases) {
        SCOPED_TRACE(c.Name);
        CliFolder folder;
        folder.Write(QStringLiteral("tester.json"),
                     TesterJson(R"(, "unplug_after": )" + QByteArray::number(c.UnplugAfter)));
        const QString out = folder.Write(QStringLiteral("out.txt"), kept);

        const CliResult result =
            RunCli({"upload", "--simulate=tester.json", "-o", "out.txt"}, folder.Root());
        EXPECT_EQ(result.ExitCode, c.ExitCode) << result.Err;
        EXPECT_EQ(CliFolder::Read(out), c.File);
        for (const char* message : c.Messages) {
            EXPECT_THAT(result.Err, HasSubstr(message));
        }
        // Written whole through a temporary file that is gone afterwards.
        EXPECT_EQ(QDir(folder.Root()).entryList(QDir::Files).size(), 2);
    }
}

struct FailureCase {
    const char* Name;
    QStringList Arguments;
    const char* Message;
};

class CliUploadFailureTest : public ::testing::TestWithParam<FailureCase> {};

// Nothing is written; a file already there keeps its records.
TEST_P(CliUploadFailureTest, FailsAndLeavesTheOutputAlone) {
    CliFolder folder;
    folder.Write(QStringLiteral("bad.json"), R"({"records": [{"count": "three"}]})");
    folder.Write(QStringLiteral("empty.json"), R"({"records": []})");
    const QByteArray kept = "@Import Data@\r\n  1,2008/05/17,    0,  450,\r\n";
    const QString out = folder.Write(QStringLiteral("out.txt"), kept);
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder.Path(QStringLiteral("fifo"))).constData(), 0600),
              0);

    const CliResult result = RunCli(GetParam().Arguments, folder.Root());
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_THAT(result.Err, HasSubstr(GetParam().Message));
    EXPECT_EQ(CliFolder::Read(out), kept);
    EXPECT_FALSE(CliFolder::Exists(folder.Path(QStringLiteral("missing/out.txt"))));
    EXPECT_FALSE(CliFolder::Exists(folder.Path(QStringLiteral("fifo.txt"))));
    EXPECT_FALSE(QFileInfo(folder.Path(QStringLiteral("fifo"))).isFile());
}

const FailureCase FailureCases[] = {
    // This machine has no tester; hidraw devices of other kinds are not opened for it.
    {"NoTesterConnected", {"upload", "-o", "out.txt"}, "未连接里氏硬度计"},
    {"TesterWithoutRecords",
     {"upload", "--simulate=empty.json", "-o", "out.txt"},
     "里氏硬度计中没有数据，未写入文件"},
    {"MalformedSimulatorFile",
     {"upload", "--simulate=bad.json", "-o", "out.txt"},
     "无法读取模拟硬度计的记录"},
    {"MissingSimulatorFile",
     {"upload", "--simulate=none.json", "-o", "out.txt"},
     "无法读取模拟硬度计的记录"},
    {"MissingFolder", {"upload", "--simulate", "-o", "missing/out.txt"}, "文件夹不存在"},
    {"FolderAsOutput", {"upload", "--simulate", "-o", "out.txt/"}, "输出必须是一个文件名"},
    // Neither replaced by a regular file nor given a ".txt" beside it.
    {"FifoAsOutput", {"upload", "--simulate", "-o", "fifo"}, "输出不是普通文件"},
};

INSTANTIATE_TEST_SUITE_P(Uploads, CliUploadFailureTest, ::testing::ValuesIn(FailureCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// The shared upload scenarios the simulator's file can state, through the command line: the
// records in the file written, damaged records named on stderr, and the exit status (0 for a
// complete upload, 3 for one cut off with records kept, 1 with nothing to write).
QByteArray SimulatorJson(const SimulatorRecordSet& set) {
    QByteArray json = R"({"records": [)";
    for (std::size_t r = 0; r < set.Records.size(); ++r) {
        const SimulatedRecord& record = set.Records[r];
        QByteArray readings;
        for (std::size_t k = 0; k < record.Record.Readings.size(); ++k) {
            readings += QByteArray(k > 0 ? "," : "") + QByteArray::number(record.Record.Readings[k]);
        }
        json += QByteArray(r > 0 ? "," : "") + R"({"number": )" +
                QByteArray::number(record.Number) + R"(, "count": )" +
                QByteArray::number(record.Record.ImpactCount) + R"(, "readings": [)" + readings +
                R"(], "settings": )" + QByteArray::number(record.Record.SettingsWord) +
                R"(, "date": )" + QByteArray::number(record.Record.DateWord) + "}";
    }
    json += "]";
    if (set.Single) {
        json += R"(, "single": )" + QByteArray::number(*set.Single);
    }
    if (set.UnplugAfterCommands) {
        json += R"(, "unplug_after": )" + QByteArray::number(*set.UnplugAfterCommands);
    }
    return json + "}";
}

std::vector<test::UploadScenario> FileScenarios() {
    std::vector<test::UploadScenario> scenarios;
    for (const test::UploadScenario& scenario : test::UploadScenarios()) {
        if (scenario.FileCanStateIt()) {
            scenarios.push_back(scenario);
        }
    }
    return scenarios;
}

class CliUploadScenarioTest : public ::testing::TestWithParam<test::UploadScenario> {};

TEST_P(CliUploadScenarioTest, EndsAsTheScenarioSays) {
    const test::UploadScenario& scenario = GetParam();
    CliFolder folder;
    folder.Write(QStringLiteral("tester.json"), SimulatorJson(scenario.Tester));
    QStringList arguments{"upload", "--simulate=tester.json", "-o", "out.txt"};
    if (scenario.Verified) {
        arguments << QStringLiteral("--verify");
    }
    const CliResult result = RunCli(arguments, folder.Root());

    test::ScenarioRun run;
    if (result.ExitCode == 0) {
        run.Outcome = UploadOutcome::Complete;
    } else if (result.Err.find("里氏硬度计中没有数据") != std::string::npos) {
        run.Outcome = UploadOutcome::NoData;
    } else if (result.Err.find("拔出") != std::string::npos) {
        run.Outcome = UploadOutcome::Unplugged;
    }
    const QString out = folder.Path(QStringLiteral("out.txt"));
    run.Lines = {std::string(RecordFileHeader)};
    if (CliFolder::Exists(out)) {
        run.Lines.clear();
        for (const QByteArray& line : CliFolder::Read(out).split('\n')) {
            if (!line.isEmpty()) {
                run.Lines.push_back(line.chopped(line.endsWith('\r') ? 1 : 0).toStdString());
            }
        }
    }
    std::vector<DamagedRecord> damaged;
    const std::regex named("记录 ([0-9]+) 已损坏: 冲击次数 ([0-9]+)");
    for (auto it = std::sregex_iterator(result.Err.begin(), result.Err.end(), named);
         it != std::sregex_iterator(); ++it) {
        damaged.push_back({std::stoi((*it)[1]), std::stoi((*it)[2])});
    }
    run.Damaged = damaged;
    test::ExpectScenario(scenario, run);

    const bool kept = scenario.Lines.size() > 1;
    const int status = scenario.Outcome == UploadOutcome::Complete ? 0 : kept ? 3 : 1;
    EXPECT_EQ(result.ExitCode, status) << result.Err;
    EXPECT_EQ(CliFolder::Exists(out), kept) << "a file only with records in it";
}

INSTANTIATE_TEST_SUITE_P(Scenarios, CliUploadScenarioTest, ::testing::ValuesIn(FileScenarios()),
                         [](const auto& info) { return test::ScenarioTestName(info.param); });

}  // namespace
}  // namespace leeb::testing

namespace leeb::testing {
namespace {

// Every uploaded record goes into the user's archive as it comes; --no-archive writes nothing
// anywhere. A file saved from the upload adds nothing when it is imported.
TEST(CliUploadArchiveTest, UploadIsArchivedUnlessSwitchedOff) {
    CliFolder off;
    const CliResult unarchived =
        RunCli({"upload", "--simulate", "--no-archive", "-o", "r.txt"}, off.Root());
    ASSERT_EQ(unarchived.ExitCode, 0);
    EXPECT_FALSE(CliFolder::Exists(off.Path(QStringLiteral(".data"))));
    EXPECT_EQ(unarchived.Out, "") << "no archive, no word of it";

    CliFolder folder;
    ASSERT_EQ(RunCli({"upload", "--simulate", "-o", "r.txt"}, folder.Root()).ExitCode, 0);
    const CliResult list = RunCli({"archive", "list", "--json"}, folder.Root());
    ASSERT_EQ(list.ExitCode, 0) << list.Err;
    const QJsonArray records = QJsonDocument::fromJson(QByteArray::fromStdString(list.Out)).array();
    ASSERT_EQ(records.size(), 14);
    EXPECT_EQ(records[0].toObject()["number"].toInt(), 1);
    const CliResult import = RunCli({"archive", "import", "r.txt"}, folder.Root());
    EXPECT_EQ(import.Out, "0 条新记录, 14 条已在档案中 (0 new records, 14 already in the archive)\n");
    const CliResult exported = RunCli({"archive", "export", "-o", "back.txt"}, folder.Root());
    ASSERT_EQ(exported.ExitCode, 0) << exported.Err;
    EXPECT_EQ(CliFolder::Read(folder.Path(QStringLiteral("back.txt"))),
              CliFolder::Read(folder.Path(QStringLiteral("r.txt"))));
    // The same records again, as a repeat measurement that gives the same readings on the same
    // day would: counted, not stored twice, and the upload says so.
    const CliResult again = RunCli({"upload", "--simulate", "-o", "again.txt"}, folder.Root());
    EXPECT_EQ(again.ExitCode, 0) << again.Err;
    EXPECT_EQ(again.Out, "档案: 0 条新记录, 14 条已在档案中。(Archive: 0 new records, 14 "
                         "already in the archive.)\n");
}


// Cut off and not archived: the records in no archive weigh more than the cut, so 4, with both
// said.
TEST(CliUploadArchiveTest, AnInterruptedUploadWhoseRecordsReachedNoArchiveEndsWithFour) {
    CliFolder folder;
    folder.Write(QStringLiteral("tester.json"),
                 TesterJson(R"(, "unplug_after": )" + QByteArray::number(1 + 2 * 9 + 4)));
    folder.Write(QStringLiteral("blocker"), "x");
    const CliResult result =
        RunCli({"upload", "--simulate=tester.json", "-o", "r.txt"}, folder.Root(),
               {{"LEEBDESK_ARCHIVE", folder.Path(QStringLiteral("blocker/archive.sqlite"))}});
    EXPECT_EQ(result.ExitCode, 4) << result.Err;
    EXPECT_THAT(result.Err, HasSubstr("2 of 3 records written to r.txt"));
    EXPECT_THAT(result.Err, HasSubstr("2 records were not archived"));
}

// Records no archive took: the record file is written whole, but the upload ends with its own
// status and says how many are missing from the archive, so that nobody clears the tester on
// its word.
TEST(CliUploadArchiveTest, RecordsNoArchiveTookEndTheUploadWithStatusFour) {
    constexpr int Records = 200;
    struct Case {
        const char* Name;
        bool FullDisk;  // else the archive's folder cannot be made: a file stands there
    };
    for (const Case c : {Case{"a full disk", true}, Case{"an archive that cannot be opened", false}}) {
        SCOPED_TRACE(c.Name);
        CliFolder folder;
        folder.Write(QStringLiteral("tester.json"), ManyRecordsJson(Records));
        folder.Write(QStringLiteral("blocker"), "x");
        const QString archive =
            folder.Path(c.FullDisk ? QStringLiteral("archive.sqlite")
                                   : QStringLiteral("blocker/archive.sqlite"));
        const std::map<QString, QString> environment{{"LEEBDESK_ARCHIVE", archive}};
        CliResult result;
        if (c.FullDisk) {
            // Made beforehand (an import makes an archive; a check would not): the disk fills
            // while the upload's records go in.
            folder.Write(QStringLiteral("empty.txt"), "@Import Data@\r\n");
            ASSERT_EQ(RunCli({"archive", "import", "empty.txt"}, folder.Root(), environment)
                          .ExitCode,
                      0);
            FileSizeLimit limit(QFileInfo(archive).size() + 32 * 1024);
            result = RunCli({"upload", "--simulate=tester.json", "-o", "r.txt"}, folder.Root(),
                            environment);
        } else {
            result = RunCli({"upload", "--simulate=tester.json", "-o", "r.txt"}, folder.Root(),
                            environment);
        }
        EXPECT_EQ(result.ExitCode, 4) << result.Err;
        const QByteArray written = CliFolder::Read(folder.Path(QStringLiteral("r.txt")));
        EXPECT_EQ(written.count("\r\n"), Records + 1) << "the record file is whole";
        int archived = 0;
        if (c.FullDisk) {
            const CliResult list = RunCli({"archive", "list", "--json"}, folder.Root(), environment);
            ASSERT_EQ(list.ExitCode, 0) << list.Err;
            archived = static_cast<int>(
                QJsonDocument::fromJson(QByteArray::fromStdString(list.Out)).array().size());
            EXPECT_GT(archived, 0);
            EXPECT_LT(archived, Records);
        }
        const std::string missing = std::to_string(Records - archived);
        EXPECT_THAT(result.Err, HasSubstr(missing + " records were not archived")) << result.Err;
        EXPECT_THAT(result.Err, HasSubstr(missing + " 条记录未存入档案"));
        EXPECT_EQ(result.Out, "档案: " + std::to_string(archived) +
                                  " 条新记录, 0 条已在档案中。(Archive: " +
                                  std::to_string(archived) +
                                  " new records, 0 already in the archive.)\n");
    }
}

}  // namespace
}  // namespace leeb::testing
