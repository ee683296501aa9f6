// What makes the archive a record to rely on: edits made outside leebdesk are found and named,
// an archive of the first schema keeps everything when it is migrated, a backup never replaces
// the archive, a damaged file takes no write, a commit is durable.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "ArchiveLineFields.h"
#include "ArchiveTestSupport.h"

namespace leeb::testing {
namespace {

const std::string A = Line(14, 0x0000, {450, 452, 448});
const std::string B = Line(15, 0x0000, {500, 501});

bool Names(const std::vector<std::string>& problems, const std::string& text) {
    for (const std::string& problem : problems)
        if (problem.find(text) != std::string::npos)
            return true;
    return false;
}

std::string Joined(const std::vector<std::string>& problems) {
    std::string text;
    for (const std::string& problem : problems)
        text += problem + "\n";
    return text;
}

class ArchiveForgery : public ::testing::TestWithParam<Backend> {
  protected:
    void SetUp() override {
        if (!ArchivePlace(GetParam()).Available())
            GTEST_SKIP() << PostgresVariable << " names no server: PostgreSQL cases skipped";
        Reset();
    }
    // A new archive: two records, the first amended once.
    void Reset() {
        archive_.reset();
        place_ = std::make_unique<ArchivePlace>(GetParam());
        archive_ = OpenArchive(place_->Location());
        ArchiveLabDetails details;
        details.Lot = "H1";
        archive_->Import(FileSource("a.txt"), Inputs({A, B}), details, "li");
        ArchiveDetailsChange change;
        change.Lot = "H2";
        archive_->Amend({First()}, change, "zhang", "typo");
        ASSERT_TRUE(archive_->Check().empty()) << Joined(archive_->Check());
    }
    int64_t First() { return archive_->Fetch({}, 0, 1).at(0).Id; }
    // An edit as someone with the database in hand would make it, outside leebdesk.
    void Forge(const std::string& sql) {
        QSqlQuery query(dynamic_cast<SqlArchive&>(*archive_).Database());
        ASSERT_TRUE(query.exec(QString::fromStdString(sql))) << query.lastError().text().toStdString();
    }
    std::unique_ptr<ArchivePlace> place_;
    std::unique_ptr<Archive> archive_;
};

struct Forgery {
    const char* Name;
    const char* Sql;  // %1: the first record's id
    const char* Named;
};

TEST_P(ArchiveForgery, CheckNamesEveryEditMadeOutsideLeebdesk) {
    const Forgery forgeries[] = {
        {"readings", "UPDATE records SET readings = '999;452;448' WHERE id = %1", "readings"},
        {"mean", "UPDATE records SET mean = 999 WHERE id = %1", "mean"},
        {"line", "UPDATE records SET line = replace(line, '450', '451') WHERE id = %1",
         "differ from its record line"},
        {"settings", "UPDATE records SET scale = 'HRC' WHERE id = %1", "settings"},
        {"an altered version", "UPDATE details_versions SET lot = 'FORGED' WHERE record_id = %1"
                               " AND version = 2", "does not match its chain"},
        {"a version inserted", "INSERT INTO details_versions (record_id, version, changed_at,"
                               " author, part, lot, operator, instrument, standard, remarks,"
                               " reason) VALUES (%1, 3, '2020-01-01T00:00:00Z', 'auditor', '',"
                               " 'FORGED', '', '', '', '', '')", "version 3"},
        {"the first version deleted", "DELETE FROM details_versions WHERE record_id = %1",
         "no first details version"},
        {"the first version alone deleted",
         "DELETE FROM details_versions WHERE record_id = %1 AND version = 1",
         "details version 1 is missing"},
        {"a version re-dated", "UPDATE details_versions SET changed_at = '2020-01-01T00:00:00Z'"
                               " WHERE record_id = %1 AND version = 2", "does not match"},
    };
    for (const Forgery& forgery : forgeries) {
        SCOPED_TRACE(forgery.Name);
        Reset();
        const std::string id = std::to_string(First());
        const std::string sound = std::to_string(First() + 1);
        Forge(QString(forgery.Sql).arg(QString::fromStdString(id)).toStdString());
        const auto problems = archive_->Check();
        EXPECT_TRUE(Names(problems, "record " + id + ":")) << Joined(problems);
        EXPECT_TRUE(Names(problems, forgery.Named)) << Joined(problems);
        EXPECT_FALSE(Names(problems, "record " + sound + ":"))
            << "the sound record is not blamed\n" << Joined(problems);
    }
}

TEST_P(ArchiveForgery, AVersionWithAValidChainButAnEarlierDateIsFound) {
    // Someone who recomputes the chain still cannot date an amendment before what it amends.
    const int64_t id = First();
    const auto history = archive_->History(id);
    auto& sql = dynamic_cast<SqlArchive&>(*archive_);
    sql.Begin();
    ArchiveLabDetails forged = history.back().Details;
    forged.Lot = "FORGED";
    QSqlQuery chain(sql.Database());
    chain.prepare("SELECT chain FROM details_versions WHERE record_id = ? AND version = 2");
    chain.addBindValue(qlonglong(id));
    ASSERT_TRUE(chain.exec() && chain.next());
    sql.AddVersion(id, DeriveLineFields(A).ContentKey, chain.value(0).toByteArray(), 3,
                   "2020-01-01T00:00:00Z", "auditor", forged, "");
    sql.Commit();
    const auto problems = archive_->Check();
    EXPECT_TRUE(Names(problems, "record " + std::to_string(id) + ": details version 3 is dated "
                                "2020-01-01T00:00:00Z"))
        << Joined(problems);
}

TEST_P(ArchiveForgery, TheRecordsRowHoldsNoCopyOfTheDetailsToForge) {
    // The filters read the versions: there is no lot in the records row that could say
    // something else than the history.
    QSqlQuery query(dynamic_cast<SqlArchive&>(*archive_).Database());
    EXPECT_FALSE(query.exec("UPDATE records SET lot = 'FORGED'"));
}

INSTANTIATE_TEST_SUITE_P(Backends, ArchiveForgery,
                         ::testing::Values(Backend::Sqlite, Backend::Postgres),
                         [](const auto& info) {
                             return info.param == Backend::Sqlite ? "Sqlite" : "Postgres";
                         });

// The first schema exactly as earlier versions wrote it, with one amended record.
void WriteFirstSchemaArchive(const std::string& path, const std::string& line) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "first-schema");
        db.setDatabaseName(QString::fromStdString(path));
        ASSERT_TRUE(db.open());
        const ArchiveLineFields f = DeriveLineFields(line);
        QSqlQuery q(db);
        for (const char* sql : {
                 "CREATE TABLE sources (id INTEGER PRIMARY KEY, kind INTEGER NOT NULL,"
                 " file_path TEXT, file_hash TEXT, upload_time TEXT, tester TEXT)",
                 "CREATE TABLE records (id INTEGER PRIMARY KEY, content_key BLOB NOT NULL,"
                 " occurrence INTEGER NOT NULL, line TEXT NOT NULL, tester_number INTEGER NOT NULL,"
                 " impact_count INTEGER NOT NULL, date_text TEXT NOT NULL, record_date TEXT NOT NULL,"
                 " settings_word INTEGER NOT NULL, readings TEXT NOT NULL, mean DOUBLE PRECISION,"
                 " material TEXT NOT NULL, scale TEXT NOT NULL, device TEXT NOT NULL,"
                 " direction TEXT NOT NULL, source_id BIGINT NOT NULL REFERENCES sources(id),"
                 " archived_at TEXT NOT NULL, archived_by TEXT NOT NULL,"
                 " pending INTEGER NOT NULL DEFAULT 0, part TEXT NOT NULL DEFAULT '',"
                 " lot TEXT NOT NULL DEFAULT '', operator TEXT NOT NULL DEFAULT '',"
                 " UNIQUE (content_key, occurrence))",
                 "CREATE TABLE details_versions (record_id BIGINT NOT NULL REFERENCES records(id),"
                 " version INTEGER NOT NULL, changed_at TEXT NOT NULL, author TEXT NOT NULL,"
                 " part TEXT NOT NULL, lot TEXT NOT NULL, operator TEXT NOT NULL,"
                 " instrument TEXT NOT NULL, standard TEXT NOT NULL, remarks TEXT NOT NULL,"
                 " PRIMARY KEY (record_id, version))",
                 "CREATE INDEX records_by_date ON records (record_date, id)",
                 "CREATE INDEX records_by_material ON records (material, record_date, id)",
                 "CREATE INDEX records_by_scale ON records (scale, id)",
                 "CREATE INDEX records_by_device ON records (device, id)",
                 "CREATE INDEX records_by_part ON records (part, id)",
                 "CREATE INDEX records_by_lot ON records (lot, id)",
                 "CREATE INDEX records_by_operator ON records (operator, id)",
                 "CREATE INDEX records_pending ON records (pending, source_id)",
                 "INSERT INTO sources VALUES (1, 0, '/data/a.txt', 'hash', '', '')",
                 "PRAGMA application_id = 1279608130", "PRAGMA user_version = 1"})
            ASSERT_TRUE(q.exec(sql)) << q.lastError().text().toStdString();
        q.prepare("INSERT INTO records VALUES (1, ?, 0, ?, 7, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 1,"
                  " '2025-03-14T08:00:00Z', 'li', 0, 'P1', 'H2', 'wang')");
        for (const QVariant& v :
             {QVariant(f.ContentKey), QVariant(QString::fromStdString(line)),
              QVariant(f.Fields.ImpactCount), QVariant(QString::fromStdString(f.Fields.DateText)),
              QVariant(QString::fromStdString(f.RecordDate)), QVariant(f.Fields.SettingsWord),
              QVariant(QString::fromStdString(f.Readings)), QVariant(f.Mean),
              QVariant(QString::fromStdString(f.Material)), QVariant(QString::fromStdString(f.Scale)),
              QVariant(QString::fromStdString(f.Device)),
              QVariant(QString::fromStdString(f.Direction))})
            q.addBindValue(v);
        ASSERT_TRUE(q.exec()) << q.lastError().text().toStdString();
        ASSERT_TRUE(q.exec("INSERT INTO details_versions VALUES (1, 1, '2025-03-14T08:00:00Z',"
                           " 'li', 'P1', 'H1', 'wang', '', '', ''), (1, 2,"
                           " '2025-03-15T09:00:00Z', 'zhang', 'P1', 'H2', 'wang', '', '', '')"));
        db.close();
    }
    QSqlDatabase::removeDatabase("first-schema");
}

TEST(ArchiveMigration, AFirstSchemaArchiveKeepsEveryRecordAndVersion) {
    TempFolder folder;
    const std::string path = (folder.Path() / "old.sqlite").string();
    WriteFirstSchemaArchive(path, A);
    auto archive = OpenArchive({path});
    EXPECT_TRUE(archive->Check().empty()) << Joined(archive->Check());
    const auto records = archive->Fetch({}, 0, 10);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].Line, A);
    EXPECT_EQ(records[0].TesterNumber, 7);
    EXPECT_EQ(records[0].Details.Lot, "H2");
    EXPECT_FALSE(records[0].Damaged());
    const auto history = archive->History(1);
    ASSERT_EQ(history.size(), 2u);
    EXPECT_EQ(history[0].Details.Lot, "H1");
    EXPECT_EQ(history[1].Author, "zhang");
    ArchiveFilter lot;
    lot.Lot = "H2";
    EXPECT_EQ(archive->Count(lot), 1);
    lot.Lot = "H1";
    EXPECT_EQ(archive->Count(lot), 0);
    // Amended after the migration, chained on what the migration chained.
    ArchiveDetailsChange change;
    change.Part = "P2";
    EXPECT_EQ(archive->Amend({1}, change, "li", "part number"), 1);
    EXPECT_TRUE(archive->Check().empty()) << Joined(archive->Check());
}

TEST(ArchiveBackup, NeverReplacesTheArchiveOrItsJournal) {
    TempFolder folder;
    const std::string path = (folder.Path() / "archive.sqlite").string();
    auto archive = OpenArchive({path});
    archive->Import(FileSource("a.txt"), Inputs({A, B}), {}, "");
    std::filesystem::create_symlink(path, folder.Path() / "link.sqlite");
    for (const std::string& target :
         {path, path + "-wal", (folder.Path() / "link.sqlite").string(),
          (folder.Path() / "." / "archive.sqlite").string()}) {
        SCOPED_TRACE(target);
        try {
            archive->Backup(target);
            FAIL() << "the backup replaced the archive";
        } catch (const ArchiveError& error) {
            EXPECT_EQ(error.Code, ArchiveErrorCode::OutputIsArchive);
        }
    }
    EXPECT_TRUE(archive->Check().empty());
    EXPECT_EQ(archive->Count({}), 2);
    EXPECT_FALSE(std::filesystem::exists(path + ".partial"));
    const std::string copy = (folder.Path() / "copy.sqlite").string();
    archive->Backup(copy);
    EXPECT_EQ(OpenArchive({copy})->Count({}), 2);
}

TEST(ArchiveDamage, ADamagedFileTakesNoWrite) {
    TempFolder folder;
    const std::string path = (folder.Path() / "archive.sqlite").string();
    {
        auto archive = OpenArchive({path});
        std::vector<std::string> lines;
        for (int day = 1; day <= 28; ++day)
            for (int reading = 0; reading < 20; ++reading)
                lines.push_back(Line(day, 0x0000, {static_cast<uint16_t>(400 + reading), 450}));
        archive->Import(FileSource("a.txt"), Inputs(lines), {}, "");
        // All in the main file: nothing left to the journal that would mend the page.
        QSqlQuery(dynamic_cast<SqlArchive&>(*archive).Database())
            .exec("PRAGMA wal_checkpoint(TRUNCATE)");
    }
    // A page in the middle of the file, past the first pages the opening reads.
    const auto size = std::filesystem::file_size(path);
    {
        std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
        for (auto offset = size / 2; offset < size / 2 + 64; ++offset) {
            file.seekp(static_cast<std::streamoff>(offset));
            file.put('\x5a');
        }
    }
    const auto damaged = std::filesystem::last_write_time(path);
    try {
        OpenArchive({path})->Import(FileSource("b.txt"), Inputs({Line(29, 0, {470})}), {}, "");
        FAIL() << "a damaged file took a write";
    } catch (const ArchiveError& error) {
        EXPECT_EQ(error.Code, ArchiveErrorCode::NotAnArchive);
    }
    EXPECT_EQ(std::filesystem::last_write_time(path), damaged);
}

TEST(ArchiveDurability, ACommitReachesTheDiskBeforeItReturns) {
    TempFolder folder;
    auto archive = OpenArchive({(folder.Path() / "archive.sqlite").string()});
    QSqlQuery query(dynamic_cast<SqlArchive&>(*archive).Database());
    ASSERT_TRUE(query.exec("PRAGMA synchronous") && query.next());
    EXPECT_EQ(query.value(0).toInt(), 2);  // FULL
}

TEST(ArchiveAuthor, WithoutUserVariablesTheAccountNamesTheAuthor) {
    const char* saved[] = {std::getenv("USER"), std::getenv("LOGNAME")};
    const std::string user = saved[0] ? saved[0] : "", logname = saved[1] ? saved[1] : "";
    unsetenv("USER");
    unsetenv("LOGNAME");
    const std::string name = SystemUserName();
    if (saved[0])
        setenv("USER", user.c_str(), 1);
    if (saved[1])
        setenv("LOGNAME", logname.c_str(), 1);
    EXPECT_NE(name, "?");
    EXPECT_FALSE(name.empty());
    if (geteuid() == 0) {
        EXPECT_EQ(name, "root");
    }
}

}  // namespace
}  // namespace leeb::testing
