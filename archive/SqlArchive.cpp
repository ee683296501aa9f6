#include "SqlArchive.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "ArchiveLineFields.h"
#include "FieldConversion.h"
#include "ServerConnection.h"

namespace leeb {

namespace {

// The advisory lock the writers of a server archive take turns with (any number of our own;
// other programs of the lab's database are unlikely to pick it).
constexpr qlonglong WriterTurnLock = 0x6c65656264657331;  // "leebdes1"

QString NewConnectionName() {
    static std::atomic<int> next{0};
    return QString("leebdesk-archive-%1").arg(next++);
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

// The first 16 bytes of every SQLite database file.
constexpr char SqliteHeader[] = "SQLite format 3";

}  // namespace

std::string SystemUserName() {
    for (const char* name : {"USER", "USERNAME", "LOGNAME"})
        if (const char* value = std::getenv(name); value != nullptr && *value != '\0')
            return value;
    return "?";
}

std::string ArchiveNow() {
    return QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toStdString();
}

SqlArchive::SqlArchive(const ArchiveLocation& location) : name_(NewConnectionName()) {
    if (location.IsServer())
        OpenServer(location.Text);
    else
        OpenSqlite(location.Text);
    try {
        MigrateArchiveSchema(db_, dialect_);
        // Readers (the window) beside one writer (an upload). Only once the file is known to
        // be an archive: switching the journal rewrites the file's header.
        QSqlQuery wal(db_);
        if (dialect_ == SqlDialect::Sqlite && !wal.exec("PRAGMA journal_mode = WAL"))
            throw ArchiveError(ArchiveErrorCode::CannotOpen, wal.lastError().text().toStdString());
        // A commit reaches the disk before it returns, whatever default the SQLite library was
        // built with: a committed record survives a crash or a power cut.
        if (dialect_ == SqlDialect::Sqlite && !wal.exec("PRAGMA synchronous = FULL"))
            throw ArchiveError(ArchiveErrorCode::CannotOpen, wal.lastError().text().toStdString());
    } catch (...) {
        db_.close();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(name_);
        throw;
    }
}

SqlArchive::~SqlArchive() {
    // The connection goes before its prepared statements: a server that went away cannot drop
    // them ("Unable to free statement" on stderr), and closing the connection drops them.
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(name_);
    insert_.reset();
    version_.reset();
    keep_.reset();
    source_.reset();
}

void SqlArchive::OpenSqlite(const std::string& path) {
    dialect_ = SqlDialect::Sqlite;
    const QString file = Text(path);
    const QFileInfo info(file);
    if (info.isDir())
        throw ArchiveError(ArchiveErrorCode::CannotOpen, path + ": a folder");
    // A file that is not SQLite is never handed to the driver: it would not touch it either,
    // but the message would be a database one.
    if (info.exists() && info.size() > 0) {
        QFile probe(file);
        if (!probe.open(QIODevice::ReadOnly))
            throw ArchiveError(ArchiveErrorCode::CannotOpen,
                               path + ": " + probe.errorString().toStdString());
        if (probe.read(sizeof SqliteHeader) != QByteArray(SqliteHeader, sizeof SqliteHeader))
            throw ArchiveError(ArchiveErrorCode::NotAnArchive, path);
    } else if (!info.exists() && !QDir().mkpath(info.absolutePath())) {
        throw ArchiveError(ArchiveErrorCode::CannotOpen, path + ": cannot create its folder");
    }
    db_ = QSqlDatabase::addDatabase("QSQLITE", name_);
    if (!db_.isValid())
        throw ArchiveError(ArchiveErrorCode::CannotOpen,
                           "no SQLite driver (Qt's plugin qsqlite; on Debian libqt6sql6-sqlite)");
    db_.setDatabaseName(file);
    // Another program may hold the write lock for a whole import: wait, do not fail.
    db_.setConnectOptions("QSQLITE_BUSY_TIMEOUT=30000");
    if (!db_.open())
        throw ArchiveError(ArchiveErrorCode::CannotOpen,
                           path + ": " + db_.lastError().text().toStdString());
    QSqlQuery(db_).exec("PRAGMA foreign_keys = ON");
    // A statement that may fail midway journals what it changes so it can be undone alone; in a
    // temporary file that cost a write for every record of an import. In memory it lasts as
    // long as the statement, so nothing committed depends on it.
    QSqlQuery(db_).exec("PRAGMA temp_store = MEMORY");
    // Room for a large import's changed pages (the indexes are written all over): with the
    // default 2 MB they went to the journal again and again before the commit. At most 32 MB,
    // taken only as pages are used.
    QSqlQuery(db_).exec("PRAGMA cache_size = -32768");
}

void SqlArchive::OpenServer(const std::string& location) {
    dialect_ = SqlDialect::Postgres;
    const QString options = ServerConnectOptions(location);
    db_ = QSqlDatabase::addDatabase("QPSQL", name_);
    if (!db_.isValid())
        throw ArchiveError(ArchiveErrorCode::CannotOpen,
                           "no PostgreSQL driver (Qt's plugin qsqlpsql; on Debian "
                           "libqt6sql6-psql)");
    db_.setConnectOptions(options);
    if (!db_.open())
        throw ArchiveError(ArchiveErrorCode::CannotOpen, db_.lastError().text().toStdString());
    QSqlQuery(db_).exec("SET client_min_messages = warning");
}

void SqlArchive::Fail(ArchiveErrorCode code, const QSqlError& error) const {
    if (dialect_ == SqlDialect::Postgres) {
        // SQLSTATE class 08 (connection), 57P0x (the server shutting down), or none at all
        // when the socket simply closed.
        const QString state = error.nativeErrorCode();
        if (state.isEmpty() || state.startsWith("08") || state.startsWith("57P"))
            code = ArchiveErrorCode::ConnectionLost;
    }
    throw ArchiveError(code, error.text().toStdString());
}

void SqlArchive::Begin() {
    QSqlQuery query(db_);
    // SQLite: the write lock at once, so two importers queue instead of one failing midway.
    if (!query.exec(dialect_ == SqlDialect::Sqlite ? "BEGIN IMMEDIATE" : "BEGIN"))
        Fail(ArchiveErrorCode::WriteFailed, query.lastError());
    // A server: the same turns, through a lock of the transaction's own. Two imports sharing
    // records in different orders would each hold keys the other waits for, and the server
    // would end one of them as a deadlock. Held until the commit or the rollback.
    if (dialect_ == SqlDialect::Postgres &&
        !query.exec("SELECT pg_advisory_xact_lock(" + QString::number(WriterTurnLock) + ")"))
        Fail(ArchiveErrorCode::WriteFailed, query.lastError());
}

void SqlArchive::Commit() {
    QSqlQuery query(db_);
    if (!query.exec("COMMIT"))
        Fail(ArchiveErrorCode::WriteFailed, query.lastError());
}

void SqlArchive::Rollback() { QSqlQuery(db_).exec("ROLLBACK"); }

void SqlArchive::ChangeDetails(int64_t id, const ArchiveLabDetails& details,
                               const std::string& author) {
    QSqlQuery query(db_);
    if (!query.exec(dialect_ == SqlDialect::Sqlite ? "BEGIN IMMEDIATE" : "BEGIN"))
        Fail(ArchiveErrorCode::WriteFailed, query.lastError());
    try {
        query.prepare("SELECT coalesce(max(version), 0) FROM details_versions WHERE record_id = ?");
        query.addBindValue(qlonglong(id));
        if (!query.exec() || !query.next())
            Fail(ArchiveErrorCode::WriteFailed, query.lastError());
        const int next = query.value(0).toInt() + 1;
        if (next == 1)
            throw ArchiveError(ArchiveErrorCode::NoSuchRecord, std::to_string(id));
        query.prepare(
            "INSERT INTO details_versions (record_id, version, changed_at, author, part, lot,"
            " operator, instrument, standard, remarks) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        const QVariant values[] = {qlonglong(id), next, Text(ArchiveNow()),
                                   Text(author.empty() ? SystemUserName() : author),
                                   Text(details.Part), Text(details.Lot), Text(details.Operator),
                                   Text(details.Instrument), Text(details.Standard),
                                   Text(details.Remarks)};
        for (int v = 0; v < static_cast<int>(std::size(values)); ++v)
            query.bindValue(v, values[v]);
        if (!query.exec())
            Fail(ArchiveErrorCode::WriteFailed, query.lastError());
        query.prepare("UPDATE records SET part = ?, lot = ?, operator = ? WHERE id = ?");
        query.addBindValue(Text(details.Part));
        query.addBindValue(Text(details.Lot));
        query.addBindValue(Text(details.Operator));
        query.addBindValue(qlonglong(id));
        if (!query.exec() || !query.exec("COMMIT"))
            Fail(ArchiveErrorCode::WriteFailed, query.lastError());
    } catch (...) {
        QSqlQuery(db_).exec("ROLLBACK");
        throw;
    }
}

std::vector<ArchiveDetailsVersion> SqlArchive::History(int64_t id) {
    QSqlQuery query(db_);
    query.prepare(
        "SELECT version, changed_at, author, part, lot, operator, instrument, standard, remarks"
        " FROM details_versions WHERE record_id = ? ORDER BY version");
    query.addBindValue(qlonglong(id));
    if (!query.exec())
        Fail(ArchiveErrorCode::CannotOpen, query.lastError());
    std::vector<ArchiveDetailsVersion> versions;
    while (query.next()) {
        ArchiveDetailsVersion& v = versions.emplace_back();
        v.Version = query.value(0).toInt();
        v.ChangedAt = query.value(1).toString().toStdString();
        v.Author = query.value(2).toString().toStdString();
        v.Details = {query.value(3).toString().toStdString(),
                     query.value(4).toString().toStdString(),
                     query.value(5).toString().toStdString(),
                     query.value(6).toString().toStdString(),
                     query.value(7).toString().toStdString(),
                     query.value(8).toString().toStdString()};
    }
    if (versions.empty())
        throw ArchiveError(ArchiveErrorCode::NoSuchRecord, std::to_string(id));
    return versions;
}

std::vector<std::string> SqlArchive::Check() {
    std::vector<std::string> problems;
    QSqlQuery query(db_);
    if (dialect_ == SqlDialect::Sqlite) {
        if (!query.exec("PRAGMA integrity_check"))
            return {query.lastError().text().toStdString()};
        while (query.next())
            if (const QString row = query.value(0).toString(); row != "ok")
                problems.push_back(row.toStdString());
    }
    // Every record has the details it was archived with.
    if (!query.exec("SELECT count(*) FROM records r WHERE NOT EXISTS (SELECT 1 FROM"
                    " details_versions d WHERE d.record_id = r.id AND d.version = 1)"))
        return {query.lastError().text().toStdString()};
    if (query.next() && query.value(0).toLongLong() != 0)
        problems.push_back(query.value(0).toString().toStdString() +
                           " records without their first details");
    return problems;
}

void SqlArchive::Backup(const std::string& path) {
    if (dialect_ != SqlDialect::Sqlite)
        throw ArchiveError(ArchiveErrorCode::Unsupported, "pg_dump");
    // VACUUM INTO reads one snapshot, so writers may go on; the copy goes to a temporary name
    // and is renamed whole.
    const QString target = QFileInfo(Text(path)).absoluteFilePath();
    const QString temporary = target + ".partial";
    QFile::remove(temporary);
    QSqlQuery query(db_);
    query.prepare("VACUUM INTO ?");
    query.addBindValue(temporary);
    if (!query.exec()) {
        QFile::remove(temporary);
        Fail(ArchiveErrorCode::WriteFailed, query.lastError());
    }
    if (std::rename(temporary.toLocal8Bit().constData(), target.toLocal8Bit().constData()) != 0) {
        QFile::remove(temporary);
        throw ArchiveError(ArchiveErrorCode::WriteFailed, path);
    }
}

int64_t SqlArchive::PendingCount() {
    QSqlQuery query(db_);
    if (!query.exec("SELECT count(*) FROM records WHERE pending = 1") || !query.next())
        Fail(ArchiveErrorCode::CannotOpen, query.lastError());
    return query.value(0).toLongLong();
}

std::unique_ptr<Archive> OpenArchive(const ArchiveLocation& location) {
    return std::make_unique<SqlArchive>(location);
}

}  // namespace leeb
