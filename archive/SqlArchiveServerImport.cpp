// A whole source into a server archive: its rows go to the server in one COPY, then one
// statement adds the new ones with their first details versions. A multi-row INSERT per 64
// records went to the server as ~34 KB of literal text each, which the server parsed again and
// again: most of an import's time.

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <charconv>

#include "DetailsChain.h"
#include "ServerConnection.h"
#include "SqlArchive.h"

namespace leeb {
namespace {

// COPY's text format: a tab between columns, \N for NULL, and a backslash before the
// characters that would end a column or a row.
void AddText(QByteArray& row, std::string_view text) {
    for (char c : text) {
        switch (c) {
        case '\\': row += "\\\\"; break;
        case '\t': row += "\\t"; break;
        case '\n': row += "\\n"; break;
        case '\r': row += "\\r"; break;
        default: row += c;
        }
    }
}

void AddNumber(QByteArray& row, double value) {
    char buffer[32];
    row.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr - buffer);
}

void AddNumber(QByteArray& row, int64_t value) {
    char buffer[24];
    row.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr - buffer);
}

// bytea in its hex form; the backslash doubled for COPY.
void AddBytes(QByteArray& row, const QByteArray& bytes) {
    row += "\\\\x";
    row += bytes.toHex();
}

}  // namespace

int SqlArchive::AddRowsByCopy(int64_t sourceId, const std::vector<ArchiveInput>& records,
                              const std::vector<ArchiveLineFields>& derived,
                              const std::vector<int>& occurrence, const std::string& archivedAt,
                              const std::string& author, const ArchiveLabDetails& details) {
    QSqlQuery query(db_);
    // The staging table lives as long as the transaction.
    if (!query.exec("CREATE TEMP TABLE leebdesk_staging (ord INTEGER, content_key BYTEA,"
                    " occurrence INTEGER, line TEXT, tester_number INTEGER, impact_count INTEGER,"
                    " date_text TEXT, record_date TEXT, settings_word INTEGER, readings TEXT,"
                    " mean DOUBLE PRECISION, material TEXT, scale TEXT, device TEXT,"
                    " direction TEXT, stored_impact_count INTEGER, chain BYTEA) ON COMMIT DROP"))
        Fail(ArchiveErrorCode::WriteFailed, query.lastError());
    QByteArray rows;
    rows.reserve(static_cast<qsizetype>(records.size()) * 400);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const ArchiveLineFields& f = derived[i];
        AddNumber(rows, static_cast<int64_t>(i));
        rows += '\t';
        AddBytes(rows, f.ContentKey);
        rows += '\t';
        AddNumber(rows, static_cast<int64_t>(occurrence[i]));
        rows += '\t';
        AddText(rows, records[i].Line);
        rows += '\t';
        AddNumber(rows, static_cast<int64_t>(records[i].TesterNumber));
        rows += '\t';
        AddNumber(rows, static_cast<int64_t>(f.Fields.ImpactCount));
        for (const std::string* text : {&f.Fields.DateText, &f.RecordDate}) {
            rows += '\t';
            AddText(rows, *text);
        }
        rows += '\t';
        AddNumber(rows, static_cast<int64_t>(f.Fields.SettingsWord));
        rows += '\t';
        AddText(rows, f.Readings);
        rows += '\t';
        AddNumber(rows, f.Mean);
        for (const std::string* text : {&f.Material, &f.Scale, &f.Device, &f.Direction}) {
            rows += '\t';
            AddText(rows, *text);
        }
        rows += '\t';
        if (records[i].StoredImpactCount >= 0)
            AddNumber(rows, static_cast<int64_t>(records[i].StoredImpactCount));
        else
            rows += "\\N";
        rows += '\t';
        AddBytes(rows, DetailsChainValue({}, f.ContentKey, 1, archivedAt, author, details, ""));
        rows += '\n';
    }
    const CopyOutcome copied =
        CopyIntoServer(db_.driver()->handle(), "COPY leebdesk_staging FROM STDIN", rows);
    if (!copied.Done) {
        // A connection that dropped during the COPY is a lost server, as for any statement.
        const bool lost = copied.SqlState.empty() || copied.SqlState.starts_with("08") ||
                          copied.SqlState.starts_with("57P");
        throw ArchiveError(lost ? ArchiveErrorCode::ConnectionLost : ArchiveErrorCode::WriteFailed,
                           copied.Message);
    }
    // Ids in the file's order, taken before the rows are sorted; the rows go in by content key,
    // so that imports sharing records lock those keys in one order.
    query.prepare(
        "WITH added AS (INSERT INTO records (id, content_key, occurrence, line, tester_number,"
        " impact_count, date_text, record_date, settings_word, readings, mean, material, scale,"
        " device, direction, source_id, archived_at, archived_by, pending, stored_impact_count)"
        " SELECT id, content_key, occurrence, line, tester_number, impact_count, date_text,"
        " record_date, settings_word, readings, mean, material, scale, device, direction, ?, ?,"
        " ?, 0, stored_impact_count FROM (SELECT nextval(pg_get_serial_sequence('records', 'id'))"
        " AS id, o.* FROM (SELECT * FROM leebdesk_staging ORDER BY ord) o) n"
        " ORDER BY content_key, occurrence"
        " ON CONFLICT (content_key, occurrence) DO NOTHING RETURNING id, content_key, occurrence)"
        " INSERT INTO details_versions (record_id, version, changed_at, author, part, lot,"
        " operator, instrument, standard, remarks, reason, chain)"
        " SELECT a.id, 1, ?, ?, ?, ?, ?, ?, ?, ?, '', s.chain FROM added a JOIN leebdesk_staging s"
        " ON s.content_key = a.content_key AND s.occurrence = a.occurrence");
    const auto text = [](const std::string& t) { return QString::fromStdString(t); };
    for (const QVariant& value :
         {QVariant(qlonglong(sourceId)), QVariant(text(archivedAt)), QVariant(text(author)),
          QVariant(text(archivedAt)), QVariant(text(author)), QVariant(text(details.Part)),
          QVariant(text(details.Lot)), QVariant(text(details.Operator)),
          QVariant(text(details.Instrument)), QVariant(text(details.Standard)),
          QVariant(text(details.Remarks))})
        query.addBindValue(value);
    if (!query.exec())
        Fail(ArchiveErrorCode::WriteFailed, query.lastError());
    return query.numRowsAffected();
}

}  // namespace leeb
