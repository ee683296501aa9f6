// The archive commands when things go wrong: a server that dies in the middle of an import or
// does not answer at all, two programs importing the same file at once, an upload killed
// part-way. The server cases run on a PostgreSQL of their own (started here with
// scripts/test-postgres, so it can be stopped and restarted without disturbing other tests);
// they are skipped where LEEBDESK_TEST_POSTGRES says no server can be run.

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>

#include "Archive.h"
#include "CliProcess.h"
#include "RecordFile.h"
#include "ServerConnection.h"

namespace leeb::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using Clock = std::chrono::steady_clock;

// `count` different records, a record file's text.
QByteArray RecordFileOf(int count) {
    std::string file = std::string(RecordFileHeader) + "\r\n";
    for (int i = 0; i < count; ++i) {
        MeasurementRecord record;
        record.ImpactCount = 3;
        record.Readings[0] = static_cast<uint16_t>(300 + i % 500);
        record.Readings[1] = static_cast<uint16_t>(300 + (i / 500) % 500);
        record.Readings[2] = 400;
        record.DateWord = static_cast<uint16_t>(25 | (3 << 7) | ((1 + i % 28) << 11));
        file += FormatRecordLine(record, '.') + "\r\n";
    }
    return QByteArray::fromStdString(file);
}

// Waits (sleeping, at most 30 s) until `done` holds.
bool WaitFor(const std::function<bool()>& done) {
    const auto until = Clock::now() + std::chrono::seconds(30);
    while (Clock::now() < until) {
        if (done())
            return true;
        QThread::msleep(20);
    }
    return false;
}

// The records `archive list --json` finds.
int Listed(const CliFolder& folder, const QString& archive) {
    const CliResult list = RunCli({"archive", "list", "--json", "--archive", archive}, folder.Root());
    EXPECT_EQ(list.ExitCode, 0) << list.Err;
    return static_cast<int>(QJsonDocument::fromJson(QByteArray::fromStdString(list.Out)).array().size());
}

// "N 条新记录, M 条已在档案中 (...)": N.
int AddedBy(const CliResult& import) {
    return std::atoi(import.Out.c_str());
}

// A server of the test's own, stopped and removed at the end.
class OwnServer {
  public:
    OwnServer() {
        const char* shared = std::getenv("LEEBDESK_TEST_POSTGRES");
        if (shared == nullptr || *shared == '\0' || !folder_.isValid())
            return;
        // The server runs as an unprivileged user when the tests run as root: it must reach
        // its folder inside this one.
        QFile::setPermissions(folder_.path(), QFile::permissions(folder_.path()) |
                                                  QFileDevice::ExeOther | QFileDevice::ReadOther);
        dir_ = folder_.path() + "/pg";
        QProcess start;
        start.start(Script(), {"start", dir_});
        if (start.waitForFinished(120000) && start.exitCode() == 0)
            location_ = QString::fromUtf8(start.readAllStandardOutput()).trimmed();
    }
    ~OwnServer() {
        if (!dir_.isEmpty())
            Run("stop");
    }
    bool Available() const { return !location_.isEmpty(); }
    const QString& Location() const { return location_; }
    void Crash() { ASSERT_TRUE(Run("crash")); }
    void Restart() { ASSERT_TRUE(Run("restart")); }

  private:
    static QString Script() { return QStringLiteral(LEEBDESK_SOURCE_DIR "/scripts/test-postgres"); }
    bool Run(const char* action) {
        QProcess script;
        script.start(Script(), {action, dir_});
        return script.waitForFinished(120000) && script.exitCode() == 0;
    }
    QTemporaryDir folder_;
    QString dir_;
    QString location_;
};

class CliArchiveServerFault : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!server_.Available())
            GTEST_SKIP() << "no PostgreSQL server can be run here";
    }
    OwnServer server_;
    CliFolder folder_;
};

TEST_F(CliArchiveServerFault, ServerLostMidImportRollsBackKeepsPendingAndSyncSendsOnce) {
    constexpr int Records = 3000;
    folder_.Write("big.txt", RecordFileOf(Records));
    const QString server = server_.Location();
    ASSERT_EQ(Listed(folder_, server), 0);  // the schema is there

    // A reviewer's lock on the details table holds the import after its records went in and
    // before its commit: the server dies there.
    {
        QSqlDatabase holder = QSqlDatabase::addDatabase("QPSQL", "holder");
        holder.setConnectOptions(ServerConnectOptions(server.toStdString()));
        ASSERT_TRUE(holder.open());
        QSqlQuery lock(holder);
        ASSERT_TRUE(lock.exec("BEGIN"));
        ASSERT_TRUE(lock.exec("LOCK TABLE details_versions IN ACCESS EXCLUSIVE MODE"));

        QProcess import;
        StartCli(import, {"archive", "import", "big.txt", "--archive", server}, folder_.Root());
        QSqlQuery waiting(holder);
        // Inside a transaction the activity view is read once unless its snapshot is cleared.
        EXPECT_TRUE(WaitFor([&] {
            return waiting.exec("SELECT pg_stat_clear_snapshot()") && waiting.exec("SELECT count(*) FROM pg_stat_activity WHERE wait_event_type ="
                                " 'Lock'") &&
                   waiting.next() && waiting.value(0).toInt() == 1;
        })) << "the import never reached the lock";
        server_.Crash();
        ASSERT_TRUE(import.waitForFinished(60000));
        EXPECT_EQ(import.exitCode(), 0);
        EXPECT_THAT(import.readAllStandardError().toStdString(),
                    HasSubstr("3000 records wait in the local archive"));
        holder.close();
    }
    QSqlDatabase::removeDatabase("holder");

    server_.Restart();
    EXPECT_EQ(Listed(folder_, server), 0) << "the import was rolled back";
    const CliResult sync = RunCli({"archive", "sync", "--archive", server}, folder_.Root());
    ASSERT_EQ(sync.ExitCode, 0) << sync.Err;
    EXPECT_EQ(sync.Out, "已发送 3000 条待发记录 (3000 pending records sent)\n");
    const CliResult again = RunCli({"archive", "sync", "--archive", server}, folder_.Root());
    EXPECT_EQ(again.Out, "已发送 0 条待发记录 (0 pending records sent)\n");
    EXPECT_EQ(Listed(folder_, server), Records);
    // The file imported once more now that the server answers: nothing twice.
    const CliResult reimport =
        RunCli({"archive", "import", "big.txt", "--archive", server}, folder_.Root());
    EXPECT_EQ(AddedBy(reimport), 0) << reimport.Out << reimport.Err;
}

TEST_F(CliArchiveServerFault, UploadWithTheServerDownWaitsLocallyUntilSync) {
    const QString server = server_.Location();
    ASSERT_EQ(Listed(folder_, server), 0);
    server_.Crash();
    const CliResult upload = RunCli({"upload", "--simulate", "-o", "r.txt"}, folder_.Root(),
                                    {{"LEEBDESK_ARCHIVE", server}});
    ASSERT_EQ(upload.ExitCode, 0) << upload.Err;
    EXPECT_THAT(upload.Err, HasSubstr("14 records wait in the local archive"));
    // Not reachable yet: sync says so and keeps them.
    const CliResult early = RunCli({"archive", "sync", "--archive", server}, folder_.Root());
    EXPECT_EQ(early.ExitCode, 1);
    EXPECT_THAT(early.Err, HasSubstr("Cannot open the archive"));

    server_.Restart();
    const CliResult sync = RunCli({"archive", "sync", "--archive", server}, folder_.Root());
    ASSERT_EQ(sync.ExitCode, 0) << sync.Err;
    EXPECT_EQ(sync.Out, "已发送 14 条待发记录 (14 pending records sent)\n");
    EXPECT_EQ(Listed(folder_, server), 14);
    const CliResult again = RunCli({"archive", "sync", "--archive", server}, folder_.Root());
    EXPECT_EQ(again.Out, "已发送 0 条待发记录 (0 pending records sent)\n");
    // The saved file holds the same records: nothing new.
    EXPECT_EQ(AddedBy(RunCli({"archive", "import", "r.txt", "--archive", server}, folder_.Root())),
              0);
}

// The SQL blocks of the README's lab set-up, as a reader copies them: statements end with ';'
// at a line's end, "--" starts a comment, "\c DB" switches to another database.
std::vector<std::vector<QString>> ReadmeLabSetUp() {
    QFile readme(QStringLiteral(LEEBDESK_SOURCE_DIR "/README.md"));
    EXPECT_TRUE(readme.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(readme.readAll());
    const qsizetype section = text.indexOf("#### A lab's archive on PostgreSQL");
    std::vector<std::vector<QString>> blocks;
    qsizetype from = section;
    while (blocks.size() < 2) {
        const qsizetype start = text.indexOf("```sql\n", from);
        EXPECT_NE(start, -1);
        if (start == -1)
            break;
        const qsizetype end = text.indexOf("```", start + 7);
        std::vector<QString>& statements = blocks.emplace_back();
        QString statement;
        for (QString line : text.mid(start + 7, end - start - 7).split('\n')) {
            line = line.section("--", 0, 0).trimmed();
            if (line.startsWith("\\c ")) {
                statements.push_back(line);
                continue;
            }
            statement += (statement.isEmpty() ? "" : " ") + line;
            if (statement.endsWith(';')) {
                statements.push_back(statement.chopped(1));
                statement.clear();
            }
        }
        from = end + 3;
    }
    return blocks;
}

// A server that answers and refuses every write (a reviewer's read-only role): the upload's
// records wait in the local archive as for a server that is down, and nothing of the failed
// server transactions reaches stderr. When the local archive cannot take them either, the
// upload ends with status 4 and says how many are in no archive.
TEST_F(CliArchiveServerFault, UploadToAServerThatRefusesWritesWaitsLocally) {
    const QString server = server_.Location();
    ASSERT_EQ(Listed(folder_, server), 0);  // the tables, as the owner made them
    const QString readOnly = server + (server.contains('?') ? "&" : "?") +
                             "options=-c%20default_transaction_read_only%3Don";
    const CliResult upload = RunCli({"upload", "--simulate", "-o", "r.txt"}, folder_.Root(),
                                    {{"LEEBDESK_ARCHIVE", readOnly}});
    EXPECT_EQ(upload.ExitCode, 0) << upload.Err;
    EXPECT_THAT(upload.Err, HasSubstr("14 records wait in the local archive"));
    EXPECT_THAT(upload.Err, HasSubstr("read-only"));
    EXPECT_THAT(upload.Err, Not(HasSubstr("Unable to free statement")));
    EXPECT_THAT(upload.Out, HasSubstr("Archive: 14 new records, 0 already in the archive"));
    EXPECT_EQ(Listed(folder_, server), 0);
    const CliResult sync = RunCli({"archive", "sync", "--archive", server}, folder_.Root());
    EXPECT_EQ(sync.Out, "已发送 14 条待发记录 (14 pending records sent)\n") << sync.Err;

    // The local archive's folder cannot be made either: a file stands where it would be.
    CliFolder nowhere;
    nowhere.Write("blocker", "x");
    const CliResult lost =
        RunCli({"upload", "--simulate", "-o", "r.txt"}, nowhere.Root(),
               {{"LEEBDESK_ARCHIVE", readOnly}, {"XDG_DATA_HOME", nowhere.Path("blocker")}});
    EXPECT_EQ(lost.ExitCode, 4) << lost.Err;
    EXPECT_THAT(lost.Err, HasSubstr("14 records were not archived"));
    EXPECT_THAT(lost.Err, Not(HasSubstr("Unable to free statement")));
    EXPECT_TRUE(CliFolder::Exists(nowhere.Path("r.txt")));
}

// The server stops in the middle of an upload: what it committed stays there, the records
// after it wait in the local archive, and sync sends them once it is back: none lost, none
// twice.
TEST_F(CliArchiveServerFault, ServerStoppedMidUploadTheRestWaitsLocally) {
    constexpr int Records = 2000;
    folder_.Write("tester.json", ManyRecordsJson(Records));
    const QString server = server_.Location();
    ASSERT_EQ(Listed(folder_, server), 0);

    QProcess upload;
    StartCli(upload, {"upload", "--simulate=tester.json", "-o", "r.txt"}, folder_.Root(),
             {{"LEEBDESK_ARCHIVE", server}});
    ASSERT_TRUE(WaitFor([&] {
        try {
            return OpenArchive({server.toStdString()})->Count({}) >= 20;
        } catch (const ArchiveError&) {
            return false;
        }
    }));
    server_.Crash();
    ASSERT_TRUE(upload.waitForFinished(120000));
    const std::string err = upload.readAllStandardError().toStdString();
    EXPECT_EQ(upload.exitCode(), 0) << err;
    EXPECT_THAT(err, HasSubstr("records wait in the local archive"));

    server_.Restart();
    const int onServer = Listed(folder_, server);
    EXPECT_GE(onServer, 20);
    ASSERT_LT(onServer, Records) << "the server stopped too late to show";
    const CliResult sync = RunCli({"archive", "sync", "--archive", server}, folder_.Root());
    ASSERT_EQ(sync.ExitCode, 0) << sync.Err;
    EXPECT_EQ(sync.Out, "已发送 " + std::to_string(Records - onServer) + " 条待发记录 (" +
                            std::to_string(Records - onServer) + " pending records sent)\n");
    EXPECT_EQ(Listed(folder_, server), Records);
}

// The lab's roles exactly as the README sets them up: the owner creates the tables, a
// workstation's writer imports and amends but can rewrite nothing, a reviewer reads and is
// refused a write, which keeps nothing pending: the server answered.
TEST_F(CliArchiveServerFault, LabRolesWithTheReadmesGrants) {
    const QString server = server_.Location();
    const auto as = [&](const char* role, const char* database = "lab") {
        return server.section('?', 0, 0).replace("/postgres", QString("/") + database) + "?" +
               server.section('?', 1).replace("user=postgres", QString("user=") + role);
    };
    // Runs statements as `location`; false for the first one refused.
    const auto run = [&](QString location, const std::vector<QString>& statements,
                         bool expectAll = true) {
        bool all = true;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", "grants");
            db.setConnectOptions(ServerConnectOptions(location.toStdString()));
            EXPECT_TRUE(db.open());
            QSqlQuery sql(db);
            for (const QString& statement : statements) {
                if (statement.startsWith("\\c ")) {
                    // The next statements on the database it names.
                    db.close();
                    location.replace("/postgres?", "/" + statement.mid(3) + "?");
                    db.setConnectOptions(ServerConnectOptions(location.toStdString()));
                    EXPECT_TRUE(db.open());
                    sql = QSqlQuery(db);
                    continue;
                }
                const bool done = sql.exec(statement);
                if (expectAll) {
                    EXPECT_TRUE(done) << statement.toStdString() << ": "
                                      << sql.lastError().text().toStdString();
                }
                all = all && done;
            }
            sql = QSqlQuery();
            db.close();
        }
        QSqlDatabase::removeDatabase("grants");
        return all;
    };
    const auto blocks = ReadmeLabSetUp();
    ASSERT_EQ(blocks.size(), 2u);
    run(as("postgres", "postgres"), blocks[0]);
    const CliResult created = RunCli({"archive", "check", "--archive", as("leebdesk_owner")},
                                     folder_.Root());
    ASSERT_EQ(created.ExitCode, 0) << created.Err;
    run(as("leebdesk_owner"), blocks[1]);

    folder_.Write("r.txt", RecordFileOf(5));
    const CliResult written =
        RunCli({"archive", "import", "r.txt", "--archive", as("leebdesk_writer")}, folder_.Root());
    EXPECT_EQ(written.ExitCode, 0) << written.Err;
    EXPECT_EQ(AddedBy(written), 5);
    EXPECT_EQ(Listed(folder_, as("leebdesk_writer")), 5);
    EXPECT_EQ(Listed(folder_, as("leebdesk_reviewer")), 5);
    const CliResult amended = RunCli({"archive", "amend", "1", "2", "--lot", "H2", "--reason",
                                      "misread", "--archive", as("leebdesk_writer")},
                                     folder_.Root());
    EXPECT_EQ(amended.ExitCode, 0) << amended.Err;
    for (const char* role : {"leebdesk_writer", "leebdesk_reviewer"}) {
        const CliResult history =
            RunCli({"archive", "history", "1", "--archive", as(role)}, folder_.Root());
        EXPECT_EQ(history.ExitCode, 0) << role << history.Err;
        EXPECT_THAT(history.Out, HasSubstr("lot=H2")) << role;
        const CliResult check = RunCli({"archive", "check", "--archive", as(role)}, folder_.Root());
        EXPECT_EQ(check.ExitCode, 0) << role << check.Out << check.Err;
    }
    // What the writer may never do: rewrite or delete a record or a version.
    for (const char* forgery :
         {"UPDATE records SET readings = '999'", "DELETE FROM records",
          "UPDATE details_versions SET lot = 'FORGED'", "DELETE FROM details_versions",
          "UPDATE records SET pending = 1"})
        EXPECT_FALSE(run(as("leebdesk_writer"), {forgery}, false)) << forgery;
    folder_.Write("more.txt", RecordFileOf(7));
    for (const std::vector<QString>& write :
         {std::vector<QString>{"import", "more.txt"},
          std::vector<QString>{"amend", "3", "--lot", "X"}}) {
        QStringList arguments{"archive"};
        for (const QString& a : write)
            arguments << a;
        arguments << "--archive" << as("leebdesk_reviewer");
        const CliResult refused = RunCli(arguments, folder_.Root());
        EXPECT_EQ(refused.ExitCode, 1) << write[0].toStdString();
        EXPECT_THAT(refused.Err, HasSubstr("permission denied")) << write[0].toStdString();
    }
    EXPECT_EQ(Listed(folder_, as("leebdesk_reviewer")), 5);
    // Nothing waits locally for a server that said no.
    const CliResult sync =
        RunCli({"archive", "sync", "--archive", as("leebdesk_writer")}, folder_.Root());
    EXPECT_EQ(sync.Out, "已发送 0 条待发记录 (0 pending records sent)\n") << sync.Err;
}

// Two programs import at the same moment, on either backend.
class CliArchiveConcurrentImport : public ::testing::TestWithParam<bool> {
  protected:
    static constexpr int Records = 20000;

    void SetUp() override {
        if (GetParam() && !server_.Available())
            GTEST_SKIP() << "no PostgreSQL server can be run here";
    }
    QString Archive() const {
        return GetParam() ? server_.Location() : folder_.Path("shared.sqlite");
    }
    // Starts one import of each file at once; how many records they added together.
    int ImportAtOnce(const QString& first, const QString& second) {
        QProcess imports[2];
        StartCli(imports[0], {"archive", "import", first, "--archive", Archive()}, folder_.Root());
        StartCli(imports[1], {"archive", "import", second, "--archive", Archive()},
                 folder_.Root());
        int added = 0;
        for (QProcess& import : imports) {
            EXPECT_TRUE(import.waitForFinished(120000));
            EXPECT_EQ(import.exitCode(), 0) << import.readAllStandardError().toStdString();
            added += std::atoi(import.readAllStandardOutput().constData());
        }
        return added;
    }

    OwnServer server_;
    CliFolder folder_;
};

// The same file twice: one copy of each record.
TEST_P(CliArchiveConcurrentImport, SameFileTwiceAtOnceKeepsOneCopy) {
    folder_.Write("same.txt", RecordFileOf(Records));
    EXPECT_EQ(ImportAtOnce("same.txt", "same.txt"), Records);
    EXPECT_EQ(Listed(folder_, Archive()), Records);
    const CliResult check = RunCli({"archive", "check", "--archive", Archive()}, folder_.Root());
    EXPECT_EQ(check.ExitCode, 0) << check.Out << check.Err;
}

// Two workstations import files that share their records in opposite orders: on a server each
// transaction would hold the unique key of records the other waits for (a deadlock, one
// import refused) unless the imports take their turns.
TEST_P(CliArchiveConcurrentImport, SharedRecordsInOppositeOrdersAtOnceKeepOneCopy) {
    const QByteArray forward = RecordFileOf(Records);
    QList<QByteArray> lines = forward.split('\n');
    lines.removeLast();  // after the last line's end
    std::reverse(lines.begin() + 1, lines.end());  // the header stays first
    folder_.Write("forward.txt", forward);
    folder_.Write("backward.txt", lines.join('\n') + '\n');
    for (int round = 0; round < 3; ++round)
        EXPECT_EQ(ImportAtOnce("forward.txt", "backward.txt"), round == 0 ? Records : 0)
            << "round " << round;
    EXPECT_EQ(Listed(folder_, Archive()), Records);
}

INSTANTIATE_TEST_SUITE_P(Backends, CliArchiveConcurrentImport, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Postgres" : "Sqlite"; });

// An upload killed part-way keeps every record it completed: the archive holds the tester's
// records 1..k in order, each exactly as it came, and is sound.
TEST(CliArchiveKilledUpload, EveryCompletedRecordIsKept) {
    CliFolder folder;
    constexpr int Records = 2000;
    folder.Write("tester.json", ManyRecordsJson(Records));
    const QString archivePath = folder.Path("upload.sqlite");

    QProcess upload;
    StartCli(upload, {"upload", "--simulate=tester.json", "-o", "r.txt"}, folder.Root(),
             {{"LEEBDESK_ARCHIVE", archivePath}});
    int64_t seen = 0;
    ASSERT_TRUE(WaitFor([&] {
        try {
            seen = OpenArchive({archivePath.toStdString()})->Count({});
        } catch (const ArchiveError&) {
            seen = 0;  // not created yet
        }
        return seen >= 20;
    }));
    upload.kill();  // SIGKILL
    ASSERT_TRUE(upload.waitForFinished(30000));
    ASSERT_EQ(upload.exitStatus(), QProcess::CrashExit) << "the upload ended before the kill";

    auto archive = OpenArchive({archivePath.toStdString()});
    EXPECT_TRUE(archive->Check().empty());
    const auto records = archive->Fetch({}, 0, Records);
    ASSERT_GE(static_cast<int64_t>(records.size()), seen);
    ASSERT_LT(static_cast<int>(records.size()), Records) << "the kill came too late to show";
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i].TesterNumber, static_cast<int>(i) + 1);
        EXPECT_EQ(records[i].Readings,
                  (std::vector<double>{double(300 + i % 500), double(300 + i / 500)}));
    }
}

}  // namespace
}  // namespace leeb::testing
