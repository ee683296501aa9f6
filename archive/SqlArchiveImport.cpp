// Putting records in: a whole source in one transaction (a file's import), or record by record
// (an upload that commits each record as it completes).

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <array>
#include <map>

#include "ArchiveLineFields.h"
#include "SqlArchive.h"

namespace leeb {
namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

// The columns of one record row, in the order RecordValues gives them. A record whose content
// key and occurrence are already there is left out by the unique key, not by a look-up first:
// that holds for two programs importing at once too.
constexpr const char* RecordInsertHead =
    "INSERT INTO records (content_key, occurrence, line, tester_number, impact_count,"
    " date_text, record_date, settings_word, readings, mean, material, scale, device,"
    " direction, source_id, archived_at, archived_by, pending, part, lot, operator) VALUES ";
constexpr int RecordColumnCount = 21;
constexpr const char* RecordConflict = " ON CONFLICT (content_key, occurrence) DO NOTHING";

std::array<QVariant, RecordColumnCount> RecordValues(int64_t sourceId, const ArchiveInput& input,
                                                     const ArchiveLineFields& fields,
                                                     int occurrence,
                                                     const ArchiveLabDetails& details,
                                                     const QString& now, const QString& author,
                                                     bool pending) {
    return {fields.ContentKey, occurrence, Text(input.Line), input.TesterNumber,
            fields.Fields.ImpactCount, Text(fields.Fields.DateText), Text(fields.RecordDate),
            fields.Fields.SettingsWord, Text(fields.Readings), fields.Mean, Text(fields.Material),
            Text(fields.Scale), Text(fields.Device), Text(fields.Direction), qlonglong(sourceId),
            now, author, pending ? 1 : 0, Text(details.Part), Text(details.Lot),
            Text(details.Operator)};
}

// "(?, ..., ?), (?, ..., ?)": `rows` rows of marks.
QString ValueRows(int rows) {
    const QString row = "(" + QStringList(RecordColumnCount, "?").join(',') + ")";
    return QStringList(rows, row).join(',');
}

// Rows per statement of a whole-source import: one statement (one round trip to a server) per
// this many records instead of one per record. 64 x 21 values stays far below the bound
// parameters either backend takes.
constexpr int RowsPerStatement = 64;

}  // namespace

std::string ArchiveAuthor(const ArchiveLabDetails& details, const std::string& by) {
    return !by.empty() ? by : !details.Operator.empty() ? details.Operator : SystemUserName();
}

ArchiveImportSummary SqlArchive::Import(const ArchiveSource& source,
                                        const std::vector<ArchiveInput>& records,
                                        const ArchiveLabDetails& details, const std::string& by) {
    return Insert(source, records, details, by, false);
}

ArchiveImportSummary SqlArchive::ImportPending(const ArchiveSource& source,
                                               const std::vector<ArchiveInput>& records,
                                               const ArchiveLabDetails& details,
                                               const std::string& by) {
    return Insert(source, records, details, by, true);
}

int64_t SqlArchive::CreateSource(const ArchiveSource& source) {
    // A member, not a local: freed while the caller's transaction has failed, a server refuses
    // to drop the prepared statement ("Unable to free statement" on stderr).
    if (!source_) {
        source_ = std::make_unique<QSqlQuery>(db_);
        source_->prepare(
            "INSERT INTO sources (kind, file_path, file_hash, upload_time, tester)"
            " VALUES (?, ?, ?, ?, ?) RETURNING id");
    }
    QSqlQuery& query = *source_;
    query.bindValue(0, source.Kind == ArchiveSourceKind::File ? 0 : 1);
    query.bindValue(1, Text(source.FilePath));
    query.bindValue(2, Text(source.FileHash));
    query.bindValue(3, Text(source.UploadTime));
    query.bindValue(4, Text(source.Tester));
    if (!query.exec() || !query.next())
        Fail(ArchiveErrorCode::WriteFailed, query.lastError());
    const int64_t id = query.value(0).toLongLong();
    query.finish();
    return id;
}

bool SqlArchive::KeepForServer(const QByteArray& contentKey, int occurrence) {
    // A local copy that was never meant for the server (archived while the workstation had no
    // server, or before it was set) would otherwise count as archived and never reach it.
    // Sending a record the server holds already adds nothing there.
    // Asked once per record of an import: prepared once per connection.
    if (!keep_) {
        keep_ = std::make_unique<QSqlQuery>(db_);
        keep_->prepare("UPDATE records SET pending = 1"
                       " WHERE content_key = ? AND occurrence = ? AND pending = 0");
    }
    keep_->bindValue(0, contentKey);
    keep_->bindValue(1, occurrence);
    if (!keep_->exec())
        Fail(ArchiveErrorCode::WriteFailed, keep_->lastError());
    const bool marked = keep_->numRowsAffected() > 0;
    keep_->finish();
    return marked;
}

bool SqlArchive::InsertRecord(int64_t sourceId, const ArchiveInput& input,
                              const ArchiveLineFields& fields, int occurrence,
                              const ArchiveLabDetails& details, const std::string& author,
                              bool pending) {
    if (!insert_) {
        insert_ = std::make_unique<QSqlQuery>(db_);
        insert_->prepare(RecordInsertHead + ValueRows(1) + RecordConflict + " RETURNING id");
        version_ = std::make_unique<QSqlQuery>(db_);
        version_->prepare(
            "INSERT INTO details_versions (record_id, version, changed_at, author, part, lot,"
            " operator, instrument, standard, remarks) VALUES (?, 1, ?, ?, ?, ?, ?, ?, ?, ?)");
    }
    const QString now = Text(ArchiveNow());
    const auto values =
        RecordValues(sourceId, input, fields, occurrence, details, now, Text(author), pending);
    for (int v = 0; v < RecordColumnCount; ++v)
        insert_->bindValue(v, values[v]);
    if (!insert_->exec())
        Fail(ArchiveErrorCode::WriteFailed, insert_->lastError());
    if (!insert_->next()) {
        insert_->finish();
        return pending && KeepForServer(fields.ContentKey, occurrence);
    }
    const QVariant versionValues[] = {insert_->value(0),      now,
                                      Text(author),           Text(details.Part),
                                      Text(details.Lot),      Text(details.Operator),
                                      Text(details.Instrument), Text(details.Standard),
                                      Text(details.Remarks)};
    insert_->finish();
    for (int v = 0; v < static_cast<int>(std::size(versionValues)); ++v)
        version_->bindValue(v, versionValues[v]);
    if (!version_->exec())
        Fail(ArchiveErrorCode::WriteFailed, version_->lastError());
    return true;
}

ArchiveImportSummary SqlArchive::Insert(const ArchiveSource& source,
                                        const std::vector<ArchiveInput>& records,
                                        const ArchiveLabDetails& details, const std::string& by,
                                        bool pending) {
    // Everything that can fail on the input fails before the transaction.
    std::vector<ArchiveLineFields> derived;
    derived.reserve(records.size());
    for (const ArchiveInput& record : records)
        derived.push_back(DeriveLineFields(record.Line));
    const QString author = Text(ArchiveAuthor(details, by));
    const QString now = Text(ArchiveNow());
    ArchiveImportSummary summary;
    // Statements outlive the transaction: a server refuses to free a statement inside a
    // transaction that failed, so they go after the rollback.
    QSqlQuery query(db_), full(db_), rest(db_);
    Begin();
    try {
        // The records this import adds are those of its new source with an id above every id
        // there was: on SQLite the write lock keeps others out; on a server a sequence only
        // grows, so ids others take meanwhile are told apart by their source.
        if (!query.exec("SELECT coalesce(max(id), 0) FROM records") || !query.next())
            Fail(ArchiveErrorCode::WriteFailed, query.lastError());
        const qlonglong idsBefore = query.value(0).toLongLong();
        const int64_t sourceId = CreateSource(source);

        std::map<QByteArray, int> occurrences;
        std::vector<int> occurrence(records.size());
        for (std::size_t i = 0; i < records.size(); ++i)
            occurrence[i] = occurrences[derived[i].ContentKey]++;
        full.prepare(RecordInsertHead + ValueRows(RowsPerStatement) + RecordConflict);
        for (std::size_t first = 0; first < records.size(); first += RowsPerStatement) {
            const int rows = static_cast<int>(std::min<std::size_t>(RowsPerStatement,
                                                                     records.size() - first));
            QSqlQuery& insert = rows == RowsPerStatement ? full : rest;
            if (rows != RowsPerStatement)
                rest.prepare(RecordInsertHead + ValueRows(rows) + RecordConflict);
            int column = 0;
            for (std::size_t i = first; i < first + rows; ++i)
                for (const QVariant& value : RecordValues(sourceId, records[i], derived[i],
                                                          occurrence[i], details, now, author,
                                                          pending))
                    insert.bindValue(column++, value);
            if (!insert.exec())
                Fail(ArchiveErrorCode::WriteFailed, insert.lastError());
            summary.Added += insert.numRowsAffected();
        }
        summary.AlreadyArchived = static_cast<int>(records.size()) - summary.Added;

        // Every record added gets its first details in one statement.
        query.prepare(
            "INSERT INTO details_versions (record_id, version, changed_at, author, part, lot,"
            " operator, instrument, standard, remarks)"
            " SELECT id, 1, ?, ?, ?, ?, ?, ?, ?, ? FROM records WHERE id > ? AND source_id = ?");
        for (const QVariant& value :
             {QVariant(now), QVariant(author), QVariant(Text(details.Part)),
              QVariant(Text(details.Lot)), QVariant(Text(details.Operator)),
              QVariant(Text(details.Instrument)), QVariant(Text(details.Standard)),
              QVariant(Text(details.Remarks)), QVariant(idsBefore), QVariant(qlonglong(sourceId))})
            query.addBindValue(value);
        if (!query.exec())
            Fail(ArchiveErrorCode::WriteFailed, query.lastError());
        if (query.numRowsAffected() != summary.Added)
            throw ArchiveError(ArchiveErrorCode::WriteFailed,
                               "the import's records and their details do not agree");
        if (pending) {
            // Local copies from before: they wait for the server too, so count as new for it.
            int marked = 0;
            for (std::size_t i = 0; i < records.size(); ++i)
                marked += KeepForServer(derived[i].ContentKey, occurrence[i]) ? 1 : 0;
            summary.Added += marked;
            summary.AlreadyArchived -= marked;
        }
        Commit();
    } catch (...) {
        Rollback();
        throw;
    }
    return summary;
}

}  // namespace leeb
