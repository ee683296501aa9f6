#include "SqlArchive.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QVariant>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "ArchiveLineFields.h"
#include "FieldConversion.h"
#include "LocationPassword.h"
#include "ServerConnection.h"

namespace leeb {

namespace {

QString NewConnectionName() {
    static std::atomic<int> next{0};
    return QString("leebdesk-archive-%1").arg(next++);
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

// The first 16 bytes of every SQLite database file.
constexpr char SqliteHeader[] = "SQLite format 3";

// The archive file and the files SQLite keeps beside it while it is open.
void RefuseArchiveAsBackup(const QString& archive, const QString& target) {
    std::error_code error;
    const std::filesystem::path to = std::filesystem::weakly_canonical(target.toStdString(), error);
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        const std::string file = archive.toStdString() + suffix;
        std::error_code sameError;
        if (std::filesystem::equivalent(file, target.toStdString(), sameError) ||
            (!error && std::filesystem::weakly_canonical(file, sameError) == to))
            throw ArchiveError(ArchiveErrorCode::OutputIsArchive, target.toStdString());
    }
    // Another archive in use (its write-ahead log is there) is not replaced either.
    if (QFileInfo::exists(target + "-wal"))
        throw ArchiveError(ArchiveErrorCode::OutputIsArchive, target.toStdString());
}

}  // namespace

std::string ArchiveNow() {
    return QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toStdString();
}

SqlArchive::SqlArchive(const ArchiveLocation& location, ArchiveAccess access)
    : name_(NewConnectionName()) {
    if (location.IsServer())
        OpenServer(location.Text);
    else
        OpenSqlite(location.Text, access);
    try {
        try {
            MigrateArchiveSchema(db_, dialect_);
        } catch (const ArchiveError& error) {
            // An older archive the user may only read: someone who may write it opens it once.
            if (readOnly_ && error.Code == ArchiveErrorCode::WriteFailed)
                throw ArchiveError(ArchiveErrorCode::ReadOnly, location.Text);
            throw;
        }
        // Readers (the window) beside one writer (an upload). Only once the file is known to
        // be an archive: switching the journal rewrites the file's header (a file opened
        // read-only keeps the journal it has).
        QSqlQuery wal(db_);
        if (dialect_ == SqlDialect::Sqlite && !readOnly_ && !wal.exec("PRAGMA journal_mode = WAL"))
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

void SqlArchive::OpenSqlite(const std::string& path, ArchiveAccess access) {
    dialect_ = SqlDialect::Sqlite;
    const QString file = Text(path);
    const QFileInfo info(file);
    if (info.isDir())
        throw ArchiveError(ArchiveErrorCode::CannotOpen, path + ": a folder");
    // A mistyped path must not become a new, empty archive that a list or a check then
    // reports as sound.
    if (!info.exists() && access == ArchiveAccess::Read)
        throw ArchiveError(ArchiveErrorCode::NoArchive, path);
    // SQLite writes its journal beside the file: a read-only folder makes it read-only too.
    const QFileInfo folder(info.absolutePath());
    readOnly_ = info.exists() && !(info.isWritable() && folder.isWritable());
    if (readOnly_ && access == ArchiveAccess::Write)
        throw ArchiveError(ArchiveErrorCode::ReadOnly, path);
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
    QString options = "QSQLITE_BUSY_TIMEOUT=30000";
    if (readOnly_) {
        options += ";QSQLITE_OPEN_READONLY";
        // Reading the journal of an archive needs its shared-memory file beside it, which a
        // read-only folder does not let SQLite make. None there: nobody has the archive open
        // to write (a writer keeps one while connected), so the file alone is the archive.
        if (!folder.isWritable() && !QFileInfo::exists(file + "-shm")) {
            options += ";QSQLITE_OPEN_URI";
            const QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
            db_.setDatabaseName(url.toString(QUrl::FullyEncoded) + "?immutable=1");
        }
    }
    db_.setConnectOptions(options);
    if (!db_.open())
        throw ArchiveError(ArchiveErrorCode::CannotOpen,
                           path + ": " + db_.lastError().text().toStdString());
    QSqlQuery(db_).exec("PRAGMA foreign_keys = ON");
    // A statement that may fail midway journals what it changes so it can be undone alone; in a
    // temporary file that cost a write for every record of an import. In memory it lasts as
    // long as the statement, so nothing committed depends on it.
    QSqlQuery(db_).exec("PRAGMA temp_store = MEMORY");
    // A page that does not hold together is refused as it is read, not written upon.
    QSqlQuery(db_).exec("PRAGMA cell_size_check = ON");
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
        throw ArchiveError(ArchiveErrorCode::CannotOpen,
                           WithoutPasswords(db_.lastError().text().toStdString(), location));
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

void SqlArchive::RefuseDamagedFile() {
    // Every page a write reads is checked as it comes from the disk (cell_size_check, set at
    // open), so a write never builds on a damaged page. The whole file is checked first as
    // well where that costs little: quick_check reads every page once, about 4 s for an
    // archive of 1,000,000 records, too much before every upload of a large lab's archive,
    // whose damage elsewhere `archive check` finds.
    constexpr qint64 WholeFileCheckedUpTo = 64 << 20;
    if (QFileInfo(db_.databaseName()).size() > WholeFileCheckedUpTo) {
        writeChecked_ = true;
        return;
    }
    QSqlQuery query(db_);
    if (!query.exec("PRAGMA quick_check"))
        throw ArchiveError(ArchiveErrorCode::NotAnArchive, query.lastError().text().toStdString());
    while (query.next())
        if (const QString row = query.value(0).toString(); row != "ok")
            throw ArchiveError(ArchiveErrorCode::NotAnArchive, row.toStdString());
    writeChecked_ = true;
}

void SqlArchive::Begin() {
    if (dialect_ == SqlDialect::Sqlite && !writeChecked_)
        RefuseDamagedFile();
    QSqlQuery query(db_);
    // SQLite: the write lock at once, so two importers queue instead of one failing midway.
    if (!query.exec(dialect_ == SqlDialect::Sqlite ? "BEGIN IMMEDIATE" : "BEGIN"))
        Fail(ArchiveErrorCode::WriteFailed, query.lastError());
    // A server lets writers overlap: an import adds its records in content-key order
    // (AddRowsByCopy), so two imports sharing records wait for each other's keys in the same
    // order and never deadlock.
}

void SqlArchive::Commit() {
    QSqlQuery query(db_);
    if (!query.exec("COMMIT"))
        Fail(ArchiveErrorCode::WriteFailed, query.lastError());
}

void SqlArchive::Rollback() { QSqlQuery(db_).exec("ROLLBACK"); }

void SqlArchive::Backup(const std::string& path) {
    if (dialect_ != SqlDialect::Sqlite)
        throw ArchiveError(ArchiveErrorCode::Unsupported, "pg_dump");
    // VACUUM INTO reads one snapshot, so writers may go on; the copy goes to a temporary name
    // and is renamed whole, never onto the archive itself or its journal: that would replace a
    // file others are writing to, and the archive would be lost.
    const QString target = QFileInfo(Text(path)).absoluteFilePath();
    RefuseArchiveAsBackup(db_.databaseName(), target);
    const QString temporary = target + ".partial";
    QFile::remove(temporary);
    QSqlQuery query(db_);
    query.prepare("VACUUM INTO ?");
    query.addBindValue(temporary);
    if (!query.exec()) {
        QFile::remove(temporary);
        Fail(ArchiveErrorCode::WriteFailed, query.lastError());
    }
    try {
        RefuseArchiveAsBackup(db_.databaseName(), target);
    } catch (...) {
        QFile::remove(temporary);
        throw;
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

std::unique_ptr<Archive> OpenArchive(const ArchiveLocation& location, ArchiveAccess access) {
    return std::make_unique<SqlArchive>(location, access);
}

}  // namespace leeb
