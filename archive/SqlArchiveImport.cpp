// Putting records in: a whole source in one transaction (a file's import), or record by record
// (an upload that commits each record as it completes).

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <array>
#include <map>

#include "ArchiveLineFields.h"
#include "DetailsChain.h"
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
    " direction, source_id, archived_at, archived_by, pending, stored_impact_count,"
    " reached_server_at) VALUES ";
constexpr int RecordColumnCount = 20;
constexpr const char* RecordConflict = " ON CONFLICT (content_key, occurrence) DO NOTHING";

QVariant OptionalText(const std::string& text) {
    return text.empty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(Text(text));
}

std::array<QVariant, RecordColumnCount> RecordValues(int64_t sourceId, const ArchiveInput& input,
                                                     const ArchiveLineFields& fields,
                                                     int occurrence, const SqlArchive::RecordStamp& stamp,
                                                     const QString& author, bool pending) {
    return {fields.ContentKey, occurrence, Text(input.Line), input.TesterNumber,
            fields.Fields.ImpactCount, Text(fields.Fields.DateText), Text(fields.RecordDate),
            fields.Fields.SettingsWord, Text(fields.Readings), fields.Mean, Text(fields.Material),
            Text(fields.Scale), Text(fields.Device), Text(fields.Direction), qlonglong(sourceId),
            Text(stamp.ArchivedAt), author, pending ? 1 : 0,
            input.StoredImpactCount >= 0 ? QVariant(input.StoredImpactCount)
                                         : QVariant(QMetaType(QMetaType::Int)),
            OptionalText(stamp.ReachedServerAt)};
}

constexpr const char* VersionInsertHead =
    "INSERT INTO details_versions (record_id, version, changed_at, author, part, lot, operator,"
    " instrument, standard, remarks, reason, chain) VALUES ";
constexpr int VersionColumnCount = 12;

// "(?, ..., ?), (?, ..., ?)": `rows` rows of `columns` marks.
QString ValueRows(int rows, int columns) {
    const QString row = "(" + QStringList(columns, "?").join(',') + ")";
    return QStringList(rows, row).join(',');
}

// Rows per statement of a whole-source import: one statement (one round trip to a server) per
// this many records instead of one per record. 64 x 20 values stays far below the bound
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

QByteArray SqlArchive::AddVersion(int64_t recordId, const QByteArray& contentKey,
                                  const QByteArray& previous, int version,
                                  const std::string& changedAt, const std::string& author,
                                  const ArchiveLabDetails& details, const std::string& reason) {
    if (!version_) {
        version_ = std::make_unique<QSqlQuery>(db_);
        version_->prepare(VersionInsertHead + ValueRows(1, VersionColumnCount));
    }
    const QByteArray chain =
        DetailsChainValue(previous, contentKey, version, changedAt, author, details, reason);
    const QVariant values[] = {qlonglong(recordId), version,
                               Text(changedAt),     Text(author),
                               Text(details.Part),  Text(details.Lot),
                               Text(details.Operator), Text(details.Instrument),
                               Text(details.Standard), Text(details.Remarks),
                               Text(reason),        chain};
    for (int v = 0; v < VersionColumnCount; ++v)
        version_->bindValue(v, values[v]);
    if (!version_->exec())
        Fail(ArchiveErrorCode::WriteFailed, version_->lastError());
    return chain;
}

SqlArchive::InsertedRecord SqlArchive::InsertRecord(int64_t sourceId, const ArchiveInput& input,
                                                    const ArchiveLineFields& fields,
                                                    int occurrence,
                                                    const ArchiveLabDetails& details,
                                                    const std::string& author, bool pending,
                                                    const RecordStamp& stamp) {
    if (!insert_) {
        insert_ = std::make_unique<QSqlQuery>(db_);
        insert_->prepare(RecordInsertHead + ValueRows(1, RecordColumnCount) + RecordConflict +
                         " RETURNING id");
    }
    const RecordStamp now = stamp.ArchivedAt.empty() ? RecordStamp{ArchiveNow(), {}} : stamp;
    const auto values = RecordValues(sourceId, input, fields, occurrence, now, Text(author), pending);
    for (int v = 0; v < RecordColumnCount; ++v)
        insert_->bindValue(v, values[v]);
    if (!insert_->exec())
        Fail(ArchiveErrorCode::WriteFailed, insert_->lastError());
    if (!insert_->next()) {
        insert_->finish();
        return {pending && KeepForServer(fields.ContentKey, occurrence), 0};
    }
    const int64_t id = insert_->value(0).toLongLong();
    insert_->finish();
    AddVersion(id, fields.ContentKey, {}, 1, now.ArchivedAt, author, details, "");
    return {true, id};
}

int SqlArchive::AddRows(int64_t sourceId, const std::vector<ArchiveInput>& records,
                        const std::vector<ArchiveLineFields>& derived,
                        const std::vector<int>& occurrence, const std::string& archivedAt,
                        const std::string& author, const ArchiveLabDetails& details,
                        bool pending) {
    const RecordStamp stamp{archivedAt, {}};
    QSqlQuery full(db_), rest(db_), versions(db_), restVersions(db_);
    // Each slice's new records come back with their content key; their first details
    // version, chained to it, follows in one statement.
    full.prepare(RecordInsertHead + ValueRows(RowsPerStatement, RecordColumnCount) +
                 RecordConflict + " RETURNING id, content_key");
    versions.prepare(VersionInsertHead + ValueRows(RowsPerStatement, VersionColumnCount));
    std::vector<std::pair<qlonglong, QByteArray>> added;
    const auto addVersions = [&](std::size_t first, std::size_t count) {
        QSqlQuery& insert = count == RowsPerStatement ? versions : restVersions;
        if (count != RowsPerStatement)
            restVersions.prepare(VersionInsertHead + ValueRows(static_cast<int>(count),
                                                               VersionColumnCount));
        int column = 0;
        for (std::size_t i = first; i < first + count; ++i) {
            const auto& [id, key] = added[i];
            const QVariant values[] = {
                id, 1, Text(stamp.ArchivedAt), Text(author), Text(details.Part),
                Text(details.Lot), Text(details.Operator), Text(details.Instrument),
                Text(details.Standard), Text(details.Remarks), QString(""),
                DetailsChainValue({}, key, 1, stamp.ArchivedAt, author, details, "")};
            for (const QVariant& value : values)
                insert.bindValue(column++, value);
        }
        if (!insert.exec())
            Fail(ArchiveErrorCode::WriteFailed, insert.lastError());
    };
    for (std::size_t first = 0; first < records.size(); first += RowsPerStatement) {
        const int rows = static_cast<int>(std::min<std::size_t>(RowsPerStatement,
                                                                 records.size() - first));
        QSqlQuery& insert = rows == RowsPerStatement ? full : rest;
        if (rows != RowsPerStatement)
            rest.prepare(RecordInsertHead + ValueRows(rows, RecordColumnCount) +
                         RecordConflict + " RETURNING id, content_key");
        int column = 0;
        for (std::size_t i = first; i < first + rows; ++i)
            for (const QVariant& value : RecordValues(sourceId, records[i], derived[i],
                                                      occurrence[i], stamp, Text(author),
                                                      pending))
                insert.bindValue(column++, value);
        if (!insert.exec())
            Fail(ArchiveErrorCode::WriteFailed, insert.lastError());
        while (insert.next())
            added.emplace_back(insert.value(0).toLongLong(), insert.value(1).toByteArray());
        insert.finish();
    }
    for (std::size_t first = 0; first < added.size(); first += RowsPerStatement)
        addVersions(first, std::min<std::size_t>(RowsPerStatement, added.size() - first));
    return static_cast<int>(added.size());
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
    const std::string author = ArchiveAuthor(details, by);
    const RecordStamp stamp{ArchiveNow(), {}};
    // Details given with the import correct those of records archived before.
    ArchiveDetailsChange change;
    for (auto [field, value] :
         {std::pair{&change.Part, &details.Part}, {&change.Lot, &details.Lot},
          {&change.Operator, &details.Operator}, {&change.Instrument, &details.Instrument},
          {&change.Standard, &details.Standard}, {&change.Remarks, &details.Remarks}})
        if (!value->empty())
            *field = *value;
    ArchiveImportSummary summary;
    // Statements outlive the transaction: a server refuses to free a statement inside a
    // transaction that failed, so they go after the rollback.
    QSqlQuery find(db_);
    Begin();
    try {
        const int64_t sourceId = CreateSource(source);

        std::map<QByteArray, int> occurrences;
        std::vector<int> occurrence(records.size());
        for (std::size_t i = 0; i < records.size(); ++i)
            occurrence[i] = occurrences[derived[i].ContentKey]++;

        summary.Added = dialect_ == SqlDialect::Postgres && !pending
                            ? AddRowsByCopy(sourceId, records, derived, occurrence, stamp.ArchivedAt,
                                            author, details)
                            : AddRows(sourceId, records, derived, occurrence, stamp.ArchivedAt,
                                      author, details, pending);
        summary.AlreadyArchived = static_cast<int>(records.size()) - summary.Added;

        if (!change.Empty() && summary.AlreadyArchived > 0) {
            // The records that were there already, found by their identity; one that is there
            // twice in this file is amended once.
            std::vector<int64_t> existing;
            find.prepare("SELECT id FROM records WHERE content_key = ? AND occurrence = ?"
                         " AND source_id <> ?");
            for (std::size_t i = 0; i < records.size(); ++i) {
                find.bindValue(0, derived[i].ContentKey);
                find.bindValue(1, occurrence[i]);
                find.bindValue(2, qlonglong(sourceId));
                if (!find.exec())
                    Fail(ArchiveErrorCode::WriteFailed, find.lastError());
                if (find.next())
                    existing.push_back(find.value(0).toLongLong());
                find.finish();
            }
            summary.Amended = AmendInTransaction(existing, change, author,
                                                 source.FilePath.empty()
                                                     ? std::string("import")
                                                     : "import " + source.FilePath);
        }
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
