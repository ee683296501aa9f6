#include "UploadArchiving.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <map>

#include "ArchiveLineFields.h"
#include "DetailsChain.h"
#include "ServerConnection.h"
#include "SqlArchive.h"

namespace leeb {

struct UploadArchiving::State {
    ArchiveLocation Server, Local;
    std::unique_ptr<SqlArchive> Archive;
    bool Pending = false;  // writing to the local file for the server
    int64_t SourceId = 0;
    ArchiveSource Source;
    ArchiveLabDetails Details;
    std::string Author;
    std::map<QByteArray, int> Occurrences;
    int Added = 0, AlreadyArchived = 0, PendingCount = 0, NotArchived = 0;
    std::string LastError;
    std::string PendingReason;  // what the server said when the session left it

    // Pending from here on even when the local file cannot be opened now: the next record
    // tries it again (a disk with room again), never the server that failed.
    void OpenLocalForServer() {
        Pending = true;
        SourceId = 0;
        Archive.reset();
        Archive = std::make_unique<SqlArchive>(Local);
        DeferSync();
    }
    // Each record is still its own transaction, written to the journal as it commits, so a
    // killed upload keeps every record it completed; but the journal reaches the disk once, at
    // Finish, instead of once per record: an fsync per record made archiving a 1,000-record
    // upload twenty times slower than the upload itself.
    void DeferSync() {
        if (Archive && Archive->Dialect() == SqlDialect::Sqlite)
            QSqlQuery(Archive->Database()).exec("PRAGMA synchronous = NORMAL");
    }
    bool NotTaken(const std::string& reason) {
        LastError = reason;
        ++NotArchived;
        return false;
    }
};

UploadArchiving::UploadArchiving(const ArchiveLocation& server, const ArchiveLocation& local)
    : state_(std::make_unique<State>()) {
    state_->Server = server;
    state_->Local = local;
    try {
        state_->Archive = std::make_unique<SqlArchive>(server);
        state_->DeferSync();
    } catch (const ArchiveError& error) {
        // A server that does not answer: the records wait in the local file. A local file that
        // cannot be used is an error of its own: nothing to fall back to; nor is a location
        // no server could ever be reached at, for which records would wait for ever.
        state_->LastError = error.what();
        if (!server.IsServer() || error.Code == ArchiveErrorCode::NewerSchema ||
            error.Code == ArchiveErrorCode::BadLocation)
            throw;
        state_->PendingReason = error.what();
        try {
            state_->OpenLocalForServer();
        } catch (const ArchiveError& localError) {
            // Neither can be used now: every record says so as it comes, and the local file
            // is tried again for each.
            state_->LastError = localError.what();
        }
    }
}

UploadArchiving::~UploadArchiving() {
    try {
        Finish();
    } catch (...) {
        // Finish said what it could; a destructor only makes sure it ran.
    }
}

bool UploadArchiving::Finish() {
    State& s = *state_;
    if (!s.Archive || s.Archive->Dialect() != SqlDialect::Sqlite)
        return true;
    // Every committed record onto the disk: the journal synced and copied into the file.
    QSqlQuery query(s.Archive->Database());
    const bool synced = query.exec("PRAGMA synchronous = FULL") &&
                        query.exec("PRAGMA wal_checkpoint(FULL)");
    if (!synced)
        s.LastError = query.lastError().text().toStdString();
    return synced;
}

void UploadArchiving::Begin(const std::string& tester, const std::string& time,
                            const ArchiveLabDetails& details, const std::string& by) {
    state_->Source = {ArchiveSourceKind::Upload, "", "", time, tester};
    state_->Details = details;
    state_->Author = ArchiveAuthor(details, by);
    state_->Occurrences.clear();
    state_->SourceId = 0;
}

bool UploadArchiving::Add(const std::string& line, int testerNumber, int storedImpactCount) {
    State& s = *state_;
    ArchiveLineFields fields;
    try {
        fields = DeriveLineFields(line);
    } catch (const std::exception& error) {
        return s.NotTaken(error.what());
    }
    const int occurrence = s.Occurrences[fields.ContentKey]++;
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            if (!s.Archive)
                s.OpenLocalForServer();
            // Each record its own transaction: committed when complete. The source row goes in
            // with the first record, so an upload that archives nothing leaves nothing.
            s.Archive->Begin();
            const bool newSource = s.SourceId == 0;
            try {
                if (s.SourceId == 0)
                    s.SourceId = s.Archive->CreateSource(s.Source);
                const bool added = s.Archive
                                       ->InsertRecord(s.SourceId,
                                                      {line, testerNumber, storedImpactCount},
                                                      fields, occurrence, s.Details, s.Author,
                                                      s.Pending)
                                       .Counted;
                s.Archive->Commit();
                if (added)
                    ++(s.Pending ? s.PendingCount : s.Added);
                else
                    ++s.AlreadyArchived;
                return true;
            } catch (...) {
                s.Archive->Rollback();
                if (newSource)
                    s.SourceId = 0;
                throw;
            }
        } catch (const ArchiveError& error) {
            if (s.Pending || !s.Server.IsServer())
                return s.NotTaken(error.what());
            // Whatever the server said (gone away, a role that may not insert, its disk full),
            // the tester's memory may be cleared next: this record and the rest wait in the
            // local file, and SendPending tries the server again later.
            s.LastError = s.PendingReason = error.what();
            try {
                s.OpenLocalForServer();
            } catch (const ArchiveError& localError) {
                return s.NotTaken(localError.what());
            }
        }
    }
    return s.NotTaken(s.LastError);
}

int UploadArchiving::Added() const { return state_->Added; }
int UploadArchiving::AlreadyArchived() const { return state_->AlreadyArchived; }
int UploadArchiving::Pending() const { return state_->PendingCount; }
int UploadArchiving::NotArchived() const { return state_->NotArchived; }
const std::string& UploadArchiving::PendingReason() const { return state_->PendingReason; }
const std::string& UploadArchiving::LastError() const { return state_->LastError; }

ImportOutcome ImportOrKeepPending(const ArchiveLocation& location, const ArchiveLocation& local,
                                  const ArchiveSource& source,
                                  const std::vector<ArchiveInput>& records,
                                  const ArchiveLabDetails& details, const std::string& by) {
    ImportOutcome outcome;
    try {
        outcome.Summary = OpenArchive(location)->Import(source, records, details, by);
        return outcome;
    } catch (const ArchiveError& error) {
        // A server that answers and refuses (a role without rights, a wrong password) is the
        // user's to hear about: the file is still there to import once that is mended. (An
        // upload keeps its records locally whatever the server says: the tester's memory may
        // be cleared next.)
        const bool unreachable =
            error.Code == ArchiveErrorCode::ConnectionLost ||
            (error.Code == ArchiveErrorCode::CannotOpen && !ServerAnswers(location.Text));
        if (!location.IsServer() || !unreachable)
            throw;
        outcome.Reason = error.what();
    }
    outcome.Summary = SqlArchive(local).ImportPending(source, records, details, by);
    outcome.Pending = true;
    return outcome;
}

int SendPending(const ArchiveLocation& local, const ArchiveLocation& server) {
    SqlArchive from(local);
    SqlArchive to(server);
    QSqlQuery sources(from.Database());
    if (!sources.exec("SELECT DISTINCT source_id FROM records WHERE pending = 1 ORDER BY 1"))
        from.Fail(ArchiveErrorCode::CannotOpen, sources.lastError());
    std::vector<qlonglong> sourceIds;
    while (sources.next())
        sourceIds.push_back(sources.value(0).toLongLong());
    int sent = 0;
    // One transaction per source on the server; the local marks go only after it committed, so
    // a source lost in between is sent again and the unique key makes that harmless. A record
    // keeps the time it was first archived and every version of its details, as they were
    // written here: the server adds only when it arrived.
    for (qlonglong sourceId : sourceIds) {
        QSqlQuery query(from.Database()), versions(from.Database());
        query.prepare(
            "SELECT r.id, r.line, r.tester_number, r.occurrence, r.archived_by, s.kind,"
            " s.file_path, s.file_hash, s.upload_time, s.tester, r.archived_at,"
            " r.stored_impact_count FROM records r JOIN sources s ON s.id = r.source_id"
            " WHERE r.pending = 1 AND r.source_id = ? ORDER BY r.id");
        query.addBindValue(sourceId);
        if (!query.exec())
            from.Fail(ArchiveErrorCode::CannotOpen, query.lastError());
        versions.prepare(
            "SELECT version, changed_at, author, part, lot, operator, instrument, standard,"
            " remarks, reason FROM details_versions WHERE record_id = ? ORDER BY version");
        std::vector<qlonglong> ids;
        const std::string reached = ArchiveNow();
        to.Begin();
        try {
            int64_t serverSource = 0;
            while (query.next()) {
                const auto text = [&](int c) { return query.value(c).toString().toStdString(); };
                if (serverSource == 0)
                    serverSource = to.CreateSource(
                        {query.value(5).toInt() == 0 ? ArchiveSourceKind::File
                                                     : ArchiveSourceKind::Upload,
                         text(6), text(7), text(8), text(9)});
                const ArchiveInput input{text(1), query.value(2).toInt(),
                                         query.value(11).isNull() ? -1 : query.value(11).toInt()};
                versions.bindValue(0, query.value(0));
                if (!versions.exec())
                    from.Fail(ArchiveErrorCode::CannotOpen, versions.lastError());
                std::vector<ArchiveDetailsVersion> history;
                while (versions.next()) {
                    const auto field = [&](int c) {
                        return versions.value(c).toString().toStdString();
                    };
                    history.push_back({versions.value(0).toInt(), field(1), field(2),
                                       {field(3), field(4), field(5), field(6), field(7), field(8)},
                                       field(9)});
                }
                versions.finish();
                if (history.empty())
                    throw ArchiveError(ArchiveErrorCode::WriteFailed,
                                       "local record " + text(0) + " has no details");
                const ArchiveLineFields fields = DeriveLineFields(input.Line);
                const auto inserted =
                    to.InsertRecord(serverSource, input, fields, query.value(3).toInt(),
                                    history.front().Details, text(4), false,
                                    {text(10), reached});
                if (inserted.Id != 0) {
                    // The amendments made here while the server was out follow the first
                    // version, chained on the server as they were here.
                    QByteArray chain = DetailsChainValue(
                        {}, fields.ContentKey, 1, text(10), text(4), history.front().Details, "");
                    for (std::size_t v = 1; v < history.size(); ++v)
                        chain = to.AddVersion(inserted.Id, fields.ContentKey, chain,
                                              history[v].Version, history[v].ChangedAt,
                                              history[v].Author, history[v].Details,
                                              history[v].Reason);
                }
                ids.push_back(query.value(0).toLongLong());
            }
            to.Commit();
        } catch (...) {
            to.Rollback();
            throw;
        }
        from.Begin();
        QSqlQuery mark(from.Database());
        mark.prepare("UPDATE records SET pending = 0 WHERE id = ?");
        for (qlonglong id : ids) {
            mark.addBindValue(id);
            if (!mark.exec()) {
                from.Rollback();
                from.Fail(ArchiveErrorCode::WriteFailed, mark.lastError());
            }
        }
        from.Commit();
        sent += static_cast<int>(ids.size());
    }
    return sent;
}

}  // namespace leeb
