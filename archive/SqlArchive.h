#pragma once
// The archive on a Qt SQL connection: SQLite (a local file) or PostgreSQL (a server). The
// statements are the same on both except where SqlDialect says; every one binds its values.

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <memory>

#include "Archive.h"
#include "ArchiveLineFields.h"
#include "ArchiveSchema.h"

namespace leeb {

class SqlArchive final : public Archive {
  public:
    // Opens and migrates; throws ArchiveError. `access` as for OpenArchive.
    explicit SqlArchive(const ArchiveLocation& location,
                        ArchiveAccess access = ArchiveAccess::Write);
    ~SqlArchive() override;
    SqlArchive(const SqlArchive&) = delete;
    SqlArchive& operator=(const SqlArchive&) = delete;

    ArchiveImportSummary Import(const ArchiveSource& source,
                                const std::vector<ArchiveInput>& records,
                                const ArchiveLabDetails& details, const std::string& by) override;
    int64_t Count(const ArchiveFilter& filter) override;
    std::vector<ArchivedRecord> Fetch(const ArchiveFilter& filter, int64_t offset,
                                      int limit) override;
    std::vector<int64_t> IdsByDate(const ArchiveFilter& filter) override;
    std::vector<ArchivedRecord> RecordsById(const std::vector<int64_t>& ids) override;
    std::vector<TrendRecord> TrendRecordsByDate(const ArchiveFilter& filter) override;
    int Amend(const std::vector<int64_t>& ids, const ArchiveDetailsChange& change,
              const std::string& author, const std::string& reason) override;
    std::vector<ArchiveDetailsVersion> History(int64_t id) override;
    std::vector<std::string> Check() override;
    void Backup(const std::string& path) override;
    int64_t PendingCount() override;

    // Import with the records marked pending (the local fallback of a server archive).
    ArchiveImportSummary ImportPending(const ArchiveSource& source,
                                       const std::vector<ArchiveInput>& records,
                                       const ArchiveLabDetails& details, const std::string& by);

    QSqlDatabase& Database() { return db_; }
    SqlDialect Dialect() const { return dialect_; }
    // Throws ConnectionLost when the server went away, else `code`.
    [[noreturn]] void Fail(ArchiveErrorCode code, const class QSqlError& error) const;

    // The pieces of an import, for sessions that commit record by record.
    void Begin();
    void Commit();
    void Rollback();
    int64_t CreateSource(const ArchiveSource& source);
    // When a record was archived: empty ArchivedAt means now. A record sent on from the local
    // archive keeps the time it was first archived and says when it reached the server.
    struct RecordStamp {
        std::string ArchivedAt;
        std::string ReachedServerAt;
    };
    struct InsertedRecord {
        bool Counted = false;  // added (pending: or marked to wait for the server as well)
        int64_t Id = 0;        // the new record's id; 0 when it was there already
    };
    // Adds the record with its first details version, unless it is archived already.
    InsertedRecord InsertRecord(int64_t sourceId, const ArchiveInput& input,
                                const ArchiveLineFields& fields, int occurrence,
                                const ArchiveLabDetails& details, const std::string& author,
                                bool pending, const RecordStamp& stamp = {});
    // Adds one details version chained to `previous` (empty for version 1); returns its chain
    // value.
    QByteArray AddVersion(int64_t recordId, const QByteArray& contentKey,
                          const QByteArray& previous, int version, const std::string& changedAt,
                          const std::string& author, const ArchiveLabDetails& details,
                          const std::string& reason);

  private:
    ArchiveImportSummary Insert(const ArchiveSource& source,
                                const std::vector<ArchiveInput>& records,
                                const ArchiveLabDetails& details, const std::string& by,
                                bool pending);
    // Marks the local copy of a record pending for the server; false when there is none to
    // mark (none at all, or one pending already).
    bool KeepForServer(const QByteArray& contentKey, int occurrence);
    // The records of a whole-source import and their first details versions, inside the
    // transaction; returns how many were added. On a server by COPY into a staging table and one
    // statement that adds them in content-key order.
    int AddRows(int64_t sourceId, const std::vector<ArchiveInput>& records,
                const std::vector<ArchiveLineFields>& derived, const std::vector<int>& occurrence,
                const std::string& archivedAt, const std::string& author,
                const ArchiveLabDetails& details, bool pending);
    int AddRowsByCopy(int64_t sourceId, const std::vector<ArchiveInput>& records,
                      const std::vector<ArchiveLineFields>& derived,
                      const std::vector<int>& occurrence, const std::string& archivedAt,
                      const std::string& author, const ArchiveLabDetails& details);
    // Amend inside a transaction the caller holds.
    int AmendInTransaction(const std::vector<int64_t>& ids, const ArchiveDetailsChange& change,
                           const std::string& author, const std::string& reason);
    // A damaged file takes no writes: checked once, before this connection's first write.
    void RefuseDamagedFile();
    bool writeChecked_ = false;
    // The ids the filter's verdict holds for, in `order` (an ORDER BY of our own, never input).
    std::vector<int64_t> JudgedIds(const ArchiveFilter& filter, const char* order);
    void OpenSqlite(const std::string& path, ArchiveAccess access);
    void OpenServer(const std::string& location);

    QString name_;
    QSqlDatabase db_;
    std::unique_ptr<QSqlQuery> insert_;  // prepared once per connection
    std::unique_ptr<QSqlQuery> version_;
    std::unique_ptr<QSqlQuery> keep_;
    std::unique_ptr<QSqlQuery> source_;
    SqlDialect dialect_ = SqlDialect::Sqlite;
    bool readOnly_ = false;  // a file the user may only read, opened for reading
};

// The system user's name, for records archived without an operator.
std::string SystemUserName();
// Who archives: `by`, else the operator, else the system user.
std::string ArchiveAuthor(const ArchiveLabDetails& details, const std::string& by);
// Now, ISO 8601 in UTC to the second.
std::string ArchiveNow();

}  // namespace leeb
