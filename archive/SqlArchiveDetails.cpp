// A record's lab details: amended only by adding a version, read back version by version.

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>

#include "SqlArchive.h"

namespace leeb {
namespace {

constexpr const char* VersionColumns =
    "version, changed_at, author, part, lot, operator, instrument, standard, remarks, reason";

ArchiveDetailsVersion VersionFrom(const QSqlQuery& query, int first) {
    const auto text = [&](int c) { return query.value(first + c).toString().toStdString(); };
    ArchiveDetailsVersion v;
    v.Version = query.value(first).toInt();
    v.ChangedAt = text(1);
    v.Author = text(2);
    v.Details = {text(3), text(4), text(5), text(6), text(7), text(8)};
    v.Reason = text(9);
    return v;
}

}  // namespace

int SqlArchive::Amend(const std::vector<int64_t>& ids, const ArchiveDetailsChange& change,
                      const std::string& author, const std::string& reason) {
    Begin();
    int amended = 0;
    try {
        amended = AmendInTransaction(ids, change, author, reason);
        Commit();
    } catch (...) {
        Rollback();
        throw;
    }
    return amended;
}

int SqlArchive::AmendInTransaction(const std::vector<int64_t>& ids,
                                   const ArchiveDetailsChange& change, const std::string& author,
                                   const std::string& reason) {
    const std::string by = author.empty() ? SystemUserName() : author;
    // One time for the whole amendment; never before the newest version a record has (a clock
    // set back would otherwise date the amendment before what it amends).
    const std::string now = ArchiveNow();
    std::vector<int64_t> unique = ids;
    std::sort(unique.begin(), unique.end());
    unique.erase(std::unique(unique.begin(), unique.end()), unique.end());
    QSqlQuery newest(db_);
    newest.prepare(QString("SELECT r.content_key, d.chain, d.") + VersionColumns +
                   " FROM records r JOIN details_versions d ON d.record_id = r.id"
                   " WHERE r.id = ? ORDER BY d.version DESC LIMIT 1");
    int amended = 0;
    for (int64_t id : unique) {
        newest.bindValue(0, qlonglong(id));
        if (!newest.exec())
            Fail(ArchiveErrorCode::WriteFailed, newest.lastError());
        if (!newest.next())
            throw ArchiveError(ArchiveErrorCode::NoSuchRecord, std::to_string(id));
        const QByteArray key = newest.value(0).toByteArray();
        const QByteArray previous = newest.value(1).toByteArray();
        const ArchiveDetailsVersion current = VersionFrom(newest, 2);
        newest.finish();
        const ArchiveLabDetails details = change.AppliedTo(current.Details);
        if (details == current.Details)
            continue;
        AddVersion(id, key, previous, current.Version + 1, std::max(now, current.ChangedAt), by,
                   details, reason);
        ++amended;
    }
    return amended;
}

std::vector<ArchiveDetailsVersion> SqlArchive::History(int64_t id) {
    QSqlQuery query(db_);
    query.prepare(QString("SELECT ") + VersionColumns +
                  " FROM details_versions WHERE record_id = ? ORDER BY version");
    query.addBindValue(qlonglong(id));
    if (!query.exec())
        Fail(ArchiveErrorCode::CannotOpen, query.lastError());
    std::vector<ArchiveDetailsVersion> versions;
    while (query.next())
        versions.push_back(VersionFrom(query, 0));
    if (versions.empty())
        throw ArchiveError(ArchiveErrorCode::NoSuchRecord, std::to_string(id));
    return versions;
}

}  // namespace leeb
