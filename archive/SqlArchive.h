#pragma once
// The archive on a Qt SQL connection: SQLite (a local file) or PostgreSQL (a server). The
// statements are the same on both except where SqlDialect says; every one binds its values.

#include <QSqlDatabase>
#include <QString>

#include "Archive.h"
#include "ArchiveSchema.h"

namespace leeb {

class SqlArchive final : public Archive {
  public:
    // Opens and migrates; throws ArchiveError.
    explicit SqlArchive(const ArchiveLocation& location);
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
    void ChangeDetails(int64_t id, const ArchiveLabDetails& details,
                       const std::string& author) override;
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

  private:
    ArchiveImportSummary Insert(const ArchiveSource& source,
                                const std::vector<ArchiveInput>& records,
                                const ArchiveLabDetails& details, const std::string& by,
                                bool pending);
    void OpenSqlite(const std::string& path);
    void OpenServer(const std::string& location);

    QString name_;
    QSqlDatabase db_;
    SqlDialect dialect_ = SqlDialect::Sqlite;
};

// The system user's name, for records archived without an operator.
std::string SystemUserName();
// Now, ISO 8601 in UTC to the second.
std::string ArchiveNow();

}  // namespace leeb
