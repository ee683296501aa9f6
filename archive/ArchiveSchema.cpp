#include "ArchiveSchema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <vector>

#include "Archive.h"
#include "DetailsChain.h"

namespace leeb {
namespace {

// SQLite's application_id: marks a file as ours, so a foreign SQLite file is told apart from
// an archive ("LEEB").
constexpr int SqliteApplicationId = 0x4C454542;

// Each step takes the schema from version i to i + 1. Written once for both dialects: the
// key column is the only word that differs, substituted for %ID%.
struct Migration {
    QStringList Statements;
    // Runs after the statements, in the same transaction: what SQL alone cannot compute.
    void (*Complete)(QSqlDatabase&) = nullptr;
};

void ChainExistingVersions(QSqlDatabase& db);

const std::vector<Migration>& Migrations() {
    static const std::vector<Migration> steps = {
        {{
            // Where records came from: kind 0 a file (path, SHA-256 of the content), 1 an
            // upload (start time, tester).
            "CREATE TABLE sources (id %ID%, kind INTEGER NOT NULL, file_path TEXT, file_hash TEXT,"
            " upload_time TEXT, tester TEXT)",
            // One row per archived record. content_key: SHA-1 of the date word, settings word,
            // impact count and readings; occurrence: the k-th copy within its source. line:
            // the record line as it came in. The decoded texts and the newest lab details are
            // kept beside the raw words so the filters run on indexes.
            "CREATE TABLE records (id %ID%, content_key %BLOB% NOT NULL,"
            " occurrence INTEGER NOT NULL, line TEXT NOT NULL, tester_number INTEGER NOT NULL,"
            " impact_count INTEGER NOT NULL, date_text TEXT NOT NULL, record_date TEXT NOT NULL,"
            " settings_word INTEGER NOT NULL, readings TEXT NOT NULL, mean DOUBLE PRECISION,"
            " material TEXT NOT NULL, scale TEXT NOT NULL, device TEXT NOT NULL,"
            " direction TEXT NOT NULL, source_id BIGINT NOT NULL REFERENCES sources(id),"
            " archived_at TEXT NOT NULL, archived_by TEXT NOT NULL,"
            " pending INTEGER NOT NULL DEFAULT 0,"
            " part TEXT NOT NULL DEFAULT '', lot TEXT NOT NULL DEFAULT '',"
            " operator TEXT NOT NULL DEFAULT '',"
            " UNIQUE (content_key, occurrence))",
            // Every version of a record's lab details; version 1 is the one it came in with.
            "CREATE TABLE details_versions (record_id BIGINT NOT NULL REFERENCES records(id),"
            " version INTEGER NOT NULL, changed_at TEXT NOT NULL, author TEXT NOT NULL,"
            " part TEXT NOT NULL, lot TEXT NOT NULL, operator TEXT NOT NULL,"
            " instrument TEXT NOT NULL, standard TEXT NOT NULL, remarks TEXT NOT NULL,"
            " PRIMARY KEY (record_id, version))",
            // The filters' indexes; id last so a page in id order is read from the index.
            "CREATE INDEX records_by_date ON records (record_date, id)",
            "CREATE INDEX records_by_material ON records (material, record_date, id)",
            "CREATE INDEX records_by_scale ON records (scale, id)",
            "CREATE INDEX records_by_device ON records (device, id)",
            "CREATE INDEX records_by_part ON records (part, id)",
            "CREATE INDEX records_by_lot ON records (lot, id)",
            "CREATE INDEX records_by_operator ON records (operator, id)",
            "CREATE INDEX records_pending ON records (pending, source_id)",
        }},
        {{
            // The filters read the newest details version itself: a copy in the records row
            // could be changed apart from the versions (and needed a right to UPDATE records).
            "DROP INDEX records_by_part",
            "DROP INDEX records_by_lot",
            "DROP INDEX records_by_operator",
            "ALTER TABLE records DROP COLUMN part",
            "ALTER TABLE records DROP COLUMN lot",
            "ALTER TABLE records DROP COLUMN operator",
            "CREATE INDEX details_by_part ON details_versions (part, record_id)",
            "CREATE INDEX details_by_lot ON details_versions (lot, record_id)",
            "CREATE INDEX details_by_operator ON details_versions (operator, record_id)",
            // The impact count a damaged record had on the tester (0, or more than its line's
            // 32 readings); NULL for a sound record.
            "ALTER TABLE records ADD COLUMN stored_impact_count INTEGER",
            // When a record kept locally while the server was out reached the server;
            // archived_at stays the time it was first archived.
            "ALTER TABLE records ADD COLUMN reached_server_at TEXT",
            // Why details were changed, and the versions' chain (DetailsChain.h).
            "ALTER TABLE details_versions ADD COLUMN reason TEXT NOT NULL DEFAULT ''",
            "ALTER TABLE details_versions ADD COLUMN chain %BLOB%",
        }, ChainExistingVersions},
    };
    return steps;
}

[[noreturn]] void Fail(ArchiveErrorCode code, const QSqlQuery& query) {
    throw ArchiveError(code, query.lastError().text().toStdString());
}

QSqlQuery Run(QSqlDatabase& db, const QString& sql, ArchiveErrorCode code) {
    QSqlQuery query(db);
    if (!query.exec(sql))
        Fail(code, query);
    return query;
}

// The versions archived before they were chained get their chain values, record by record in
// version order, a slice of records at a time so a large archive is not held in memory.
void ChainExistingVersions(QSqlDatabase& db) {
    QSqlQuery select(db), update(db);
    select.setForwardOnly(true);
    select.prepare(
        "SELECT d.record_id, d.version, d.changed_at, d.author, d.part, d.lot, d.operator,"
        " d.instrument, d.standard, d.remarks, r.content_key FROM details_versions d"
        " JOIN records r ON r.id = d.record_id WHERE d.record_id > ? AND d.record_id <= ?"
        " ORDER BY d.record_id, d.version");
    update.prepare("UPDATE details_versions SET chain = ? WHERE record_id = ? AND version = ?");
    QSqlQuery last = Run(db, "SELECT coalesce(max(id), 0) FROM records", ArchiveErrorCode::WriteFailed);
    const qlonglong lastId = last.next() ? last.value(0).toLongLong() : 0;
    constexpr qlonglong Slice = 20000;
    for (qlonglong from = 0; from < lastId; from += Slice) {
        select.bindValue(0, from);
        select.bindValue(1, from + Slice);
        if (!select.exec())
            Fail(ArchiveErrorCode::WriteFailed, select);
        struct Row {
            qlonglong Record;
            int Version;
            QByteArray Chain;
        };
        std::vector<Row> rows;
        qlonglong record = 0;
        QByteArray previous;
        while (select.next()) {
            const auto text = [&](int c) { return select.value(c).toString().toStdString(); };
            if (select.value(0).toLongLong() != record) {
                record = select.value(0).toLongLong();
                previous.clear();
            }
            const int version = select.value(1).toInt();
            previous = DetailsChainValue(previous, select.value(10).toByteArray(), version,
                                         text(2), text(3),
                                         {text(4), text(5), text(6), text(7), text(8), text(9)},
                                         "");
            rows.push_back({record, version, previous});
        }
        select.finish();
        for (const Row& row : rows) {
            update.bindValue(0, row.Chain);
            update.bindValue(1, row.Record);
            update.bindValue(2, row.Version);
            if (!update.exec())
                Fail(ArchiveErrorCode::WriteFailed, update);
        }
    }
}

int ScalarInt(QSqlDatabase& db, const QString& sql, ArchiveErrorCode code) {
    QSqlQuery query = Run(db, sql, code);
    return query.next() ? query.value(0).toInt() : 0;
}

int StoredVersion(QSqlDatabase& db, SqlDialect dialect) {
    if (dialect == SqlDialect::Sqlite) {
        // The first read of a damaged or foreign file fails here ("file is not a database").
        const int applicationId =
            ScalarInt(db, "PRAGMA application_id", ArchiveErrorCode::NotAnArchive);
        const int version = ScalarInt(db, "PRAGMA user_version", ArchiveErrorCode::NotAnArchive);
        const int tables = ScalarInt(db, "SELECT count(*) FROM sqlite_master",
                                     ArchiveErrorCode::NotAnArchive);
        if (applicationId != SqliteApplicationId && (applicationId != 0 || tables != 0))
            throw ArchiveError(ArchiveErrorCode::NotAnArchive, "not a leebdesk archive");
        return version;
    }
    return ScalarInt(db, "SELECT coalesce(max(version), 0) FROM leebdesk_schema",
                     ArchiveErrorCode::CannotOpen);
}

// The server's version table, created only when missing: a workstation's writer role and a
// reviewer's read-only role may not create tables, and must still open an archive the lab's
// owner role set up. Two programs creating it at once would collide in the server's catalogue
// even with IF NOT EXISTS: a transaction-long advisory lock (the archive's mark as its key)
// lets one at a time.
void EnsureServerVersionTable(QSqlDatabase& db) {
    QSqlQuery exists = Run(db, "SELECT to_regclass('leebdesk_schema') IS NOT NULL",
                           ArchiveErrorCode::CannotOpen);
    if (exists.next() && exists.value(0).toBool())
        return;
    Run(db, "BEGIN", ArchiveErrorCode::CannotOpen);
    try {
        Run(db, QString("SELECT pg_advisory_xact_lock(%1)").arg(SqliteApplicationId),
            ArchiveErrorCode::CannotOpen);
        Run(db, "CREATE TABLE IF NOT EXISTS leebdesk_schema (version INTEGER NOT NULL)",
            ArchiveErrorCode::CannotOpen);
        Run(db, "COMMIT", ArchiveErrorCode::CannotOpen);
    } catch (...) {
        QSqlQuery(db).exec("ROLLBACK");
        throw;
    }
}

}  // namespace

void MigrateArchiveSchema(QSqlDatabase& db, SqlDialect dialect) {
    const int steps = static_cast<int>(Migrations().size());
    const bool sqlite = dialect == SqlDialect::Sqlite;
    // SQLite: the mark, the version and the tables read in one snapshot. Read one by one, a
    // program that creates the same new archive meanwhile could commit between them, and the
    // file would look like another program's database (tables, but no mark).
    if (sqlite)
        Run(db, "BEGIN", ArchiveErrorCode::NotAnArchive);
    else
        EnsureServerVersionTable(db);
    int version = 0;
    try {
        version = StoredVersion(db, dialect);
    } catch (...) {
        if (sqlite)
            QSqlQuery(db).exec("ROLLBACK");
        throw;
    }
    if (sqlite)
        Run(db, "COMMIT", ArchiveErrorCode::NotAnArchive);
    if (version > steps)
        throw ArchiveError(ArchiveErrorCode::NewerSchema,
                           "schema version " + std::to_string(version));
    if (version == steps)
        return;
    // SQLite takes the write lock at once, so two programs opening a new archive together
    // migrate it once; the second one reads the version again under the lock.
    Run(db, sqlite ? "BEGIN IMMEDIATE" : "BEGIN", ArchiveErrorCode::WriteFailed);
    try {
        if (!sqlite)
            Run(db, "LOCK TABLE leebdesk_schema IN EXCLUSIVE MODE", ArchiveErrorCode::WriteFailed);
        version = StoredVersion(db, dialect);
        if (version > steps)
            throw ArchiveError(ArchiveErrorCode::NewerSchema,
                               "schema version " + std::to_string(version));
        for (int step = version; step < steps; ++step) {
            for (QString sql : Migrations()[step].Statements) {
                sql.replace("%ID%", sqlite ? "INTEGER PRIMARY KEY" : "BIGSERIAL PRIMARY KEY");
                sql.replace("%BLOB%", sqlite ? "BLOB" : "BYTEA");
                Run(db, sql, ArchiveErrorCode::WriteFailed);
            }
            if (Migrations()[step].Complete)
                Migrations()[step].Complete(db);
        }
        if (sqlite) {
            Run(db, QString("PRAGMA application_id = %1").arg(SqliteApplicationId),
                ArchiveErrorCode::WriteFailed);
            Run(db, QString("PRAGMA user_version = %1").arg(steps), ArchiveErrorCode::WriteFailed);
        } else {
            QSqlQuery query(db);
            query.prepare("INSERT INTO leebdesk_schema (version) VALUES (?)");
            query.addBindValue(steps);
            if (!query.exec())
                Fail(ArchiveErrorCode::WriteFailed, query);
        }
        Run(db, "COMMIT", ArchiveErrorCode::WriteFailed);
    } catch (...) {
        QSqlQuery(db).exec("ROLLBACK");
        throw;
    }
}

}  // namespace leeb
