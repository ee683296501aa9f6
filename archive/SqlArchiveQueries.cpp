// Finding records: the filters as bound WHERE terms, pages in id order, records by id.

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <QVariantList>
#include <algorithm>
#include <charconv>

#include "ArchiveLineFields.h"
#include "MeasurementRecord.h"
#include "RecordEvaluation.h"
#include "SqlArchive.h"

namespace leeb {
namespace {

struct WhereClause {
    QString Sql;  // " WHERE ..." or empty
    QVariantList Values;
};

// "id IN (the records whose newest version has this column equal to ?)", on the column's
// index over the versions.
std::string NewestDetailsTerm(const char* column) {
    return std::string("id IN (SELECT d.record_id FROM details_versions d WHERE d.") + column +
           " = ? AND d.version = (SELECT max(v.version) FROM details_versions v"
           " WHERE v.record_id = d.record_id))";
}

WhereClause FilterClause(const ArchiveFilter& filter) {
    QStringList terms;
    WhereClause clause;
    const auto add = [&](const std::optional<std::string>& value, const char* term) {
        if (!value)
            return;
        terms << term;
        clause.Values << QString::fromStdString(*value);
    };
    add(filter.From, "record_date >= ?");
    add(filter.To, "record_date <= ?");
    add(filter.Material, "material = ?");
    add(filter.Scale, "scale = ?");
    add(filter.Device, "device = ?");
    // The newest details version decides, read from the versions themselves: no copy of them
    // in the records row that could say something else.
    add(filter.Part, NewestDetailsTerm("part").c_str());
    add(filter.Lot, NewestDetailsTerm("lot").c_str());
    add(filter.Operator, NewestDetailsTerm("operator").c_str());
    if (filter.AfterId) {
        terms << "id > ?";
        clause.Values << QVariant(qlonglong(*filter.AfterId));
    }
    // A pass or a fail needs limits: only the scales that have some can match. Exact only where
    // a scale's key is the scale column's text (not for strength records, nor one pair of
    // limits for every scale); elsewhere every record is judged.
    const QualitySettings& quality = filter.Quality;
    if (filter.Verdict && *filter.Verdict != ArchiveVerdict::NoLimits && !quality.ForAll) {
        QStringList scales;
        bool exact = true;
        for (const auto& [key, limits] : quality.PerScale) {
            if (!limits.Any())
                continue;
            exact = exact && key != "strength" && !key.starts_with("scale");
            scales << "?";
            clause.Values << QString::fromStdString(key);
        }
        if (!exact) {
            clause.Values.resize(clause.Values.size() - scales.size());
        } else {
            // No scale with limits: nothing passes or fails (an empty IN is not SQL).
            terms << (scales.isEmpty() ? QString("1 = 0") : "scale IN (" + scales.join(',') + ")");
        }
    }
    if (!terms.isEmpty())
        clause.Sql = " WHERE " + terms.join(" AND ");
    return clause;
}

// The record columns, the source's and the newest details (empty for a record whose versions
// were deleted outside leebdesk: listed still, and named by `check`).
const char* RecordColumns =
    "SELECT r.id, r.line, r.tester_number, r.impact_count, r.date_text, r.settings_word,"
    " r.readings, s.kind, s.file_path, s.file_hash, s.upload_time, s.tester, r.archived_at,"
    " r.archived_by, r.pending, d.part, d.lot, d.operator, d.instrument, d.standard, d.remarks,"
    " r.stored_impact_count, r.reached_server_at"
    " FROM records r JOIN sources s ON s.id = r.source_id"
    " LEFT JOIN details_versions d ON d.record_id = r.id AND d.version ="
    " (SELECT max(version) FROM details_versions v WHERE v.record_id = r.id)";

// The readings column: ArchiveReadingText's shortest texts joined by ';', read back exactly
// with from_chars (QString::toDouble costs a third of judging a million records).
std::vector<double> ReadingsFrom(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    std::vector<double> readings;
    const char* position = bytes.constData();
    const char* const end = position + bytes.size();
    while (position < end) {
        double value = 0;
        const auto [next, error] = std::from_chars(position, end, value);
        if (error == std::errc())
            readings.push_back(value);
        position = std::find(next, end, ';');
        if (position < end)
            ++position;
    }
    return readings;
}

ArchivedRecord RecordFrom(const QSqlQuery& query) {
    const auto text = [&](int column) { return query.value(column).toString().toStdString(); };
    ArchivedRecord record;
    record.Id = query.value(0).toLongLong();
    record.Line = text(1);
    record.TesterNumber = query.value(2).toInt();
    record.ImpactCount = query.value(3).toInt();
    record.DateText = text(4);
    record.SettingsWord = query.value(5).toInt();
    record.Readings = ReadingsFrom(query.value(6).toString());
    record.Source.Kind =
        query.value(7).toInt() == 0 ? ArchiveSourceKind::File : ArchiveSourceKind::Upload;
    record.Source.FilePath = text(8);
    record.Source.FileHash = text(9);
    record.Source.UploadTime = text(10);
    record.Source.Tester = text(11);
    record.ArchivedAt = text(12);
    record.ArchivedBy = text(13);
    record.Pending = query.value(14).toInt() != 0;
    record.Details = {text(15), text(16), text(17), text(18), text(19), text(20)};
    record.StoredImpactCount = query.value(21).isNull() ? -1 : query.value(21).toInt();
    record.ReachedServerAt = text(22);
    return record;
}

void Bind(QSqlQuery& query, const QVariantList& values) {
    for (const QVariant& value : values)
        query.addBindValue(value);
}

// The record's verdict as the window's lab row gives it: no other rule here, none in SQL.
bool VerdictMatches(const ArchiveFilter& filter, int settingsWord,
                    const std::vector<double>& readings) {
    if (!filter.Verdict)
        return true;
    const DecodedSettings settings = DecodeSettingsWord(static_cast<uint16_t>(settingsWord));
    const Verdict verdict =
        EvaluateRecord(readings, OneDecimalScale(settings), filter.Quality.For(settings))
            .RecordVerdict;
    switch (*filter.Verdict) {
    case ArchiveVerdict::Pass:
        return verdict == Verdict::Pass;
    case ArchiveVerdict::Fail:
        return verdict == Verdict::Fail;
    case ArchiveVerdict::NoLimits:
        return verdict == Verdict::NotJudged;
    }
    return false;
}

}  // namespace

bool VerdictHolds(const ArchiveFilter& filter, const ArchivedRecord& record) {
    return VerdictMatches(filter, record.SettingsWord, record.Readings);
}

std::vector<int64_t> SqlArchive::JudgedIds(const ArchiveFilter& filter, const char* order) {
    // The other filters in SQL first, on their indexes; then each record left is judged.
    const WhereClause where = FilterClause(filter);
    QSqlQuery query(Database());
    query.setForwardOnly(true);
    query.prepare("SELECT id, settings_word, readings FROM records" + where.Sql + " ORDER BY " +
                  order);
    Bind(query, where.Values);
    if (!query.exec())
        Fail(ArchiveErrorCode::CannotOpen, query.lastError());
    std::vector<int64_t> ids;
    while (query.next())
        if (VerdictMatches(filter, query.value(1).toInt(), ReadingsFrom(query.value(2).toString())))
            ids.push_back(query.value(0).toLongLong());
    return ids;
}

int64_t SqlArchive::Count(const ArchiveFilter& filter) {
    if (filter.Verdict)
        return static_cast<int64_t>(JudgedIds(filter, "id").size());
    const WhereClause where = FilterClause(filter);
    QSqlQuery query(Database());
    query.prepare("SELECT count(*) FROM records" + where.Sql);
    Bind(query, where.Values);
    if (!query.exec() || !query.next())
        Fail(ArchiveErrorCode::CannotOpen, query.lastError());
    return query.value(0).toLongLong();
}

std::vector<ArchivedRecord> SqlArchive::Fetch(const ArchiveFilter& filter, int64_t offset,
                                              int limit) {
    if (filter.Verdict) {
        const std::vector<int64_t> ids = JudgedIds(filter, "id");
        const auto first = ids.begin() + std::clamp<int64_t>(offset, 0, ids.size());
        const auto last = first + std::min<int64_t>(std::max(limit, 0), ids.end() - first);
        std::vector<ArchivedRecord> records = RecordsById({first, last});
        std::sort(records.begin(), records.end(),
                  [](const auto& a, const auto& b) { return a.Id < b.Id; });
        return records;
    }
    const WhereClause where = FilterClause(filter);
    // The page's ids first, from the indexes alone; the joins only for the rows shown.
    QSqlQuery query(Database());
    query.setForwardOnly(true);
    query.prepare(QString(RecordColumns) + " WHERE r.id IN (SELECT id FROM records" + where.Sql +
                  " ORDER BY id LIMIT ? OFFSET ?) ORDER BY r.id");
    Bind(query, where.Values);
    query.addBindValue(limit);
    query.addBindValue(qlonglong(offset));
    if (!query.exec())
        Fail(ArchiveErrorCode::CannotOpen, query.lastError());
    std::vector<ArchivedRecord> records;
    while (query.next())
        records.push_back(RecordFrom(query));
    return records;
}

std::vector<int64_t> SqlArchive::IdsByDate(const ArchiveFilter& filter) {
    if (filter.Verdict)
        return JudgedIds(filter, "record_date, id");
    const WhereClause where = FilterClause(filter);
    QSqlQuery query(Database());
    query.setForwardOnly(true);
    query.prepare("SELECT id FROM records" + where.Sql + " ORDER BY record_date, id");
    Bind(query, where.Values);
    if (!query.exec())
        Fail(ArchiveErrorCode::CannotOpen, query.lastError());
    std::vector<int64_t> ids;
    while (query.next())
        ids.push_back(query.value(0).toLongLong());
    return ids;
}

std::vector<ArchivedRecord> SqlArchive::RecordsById(const std::vector<int64_t>& ids) {
    std::vector<ArchivedRecord> records;
    // Bound in slices: SQLite takes a limited number of parameters per statement.
    constexpr std::size_t Slice = 500;
    for (std::size_t first = 0; first < ids.size(); first += Slice) {
        const std::size_t count = std::min(Slice, ids.size() - first);
        QStringList marks;
        for (std::size_t i = 0; i < count; ++i)
            marks << "?";
        QSqlQuery query(Database());
        query.setForwardOnly(true);
        query.prepare(QString(RecordColumns) + " WHERE r.id IN (" + marks.join(',') + ")");
        for (std::size_t i = 0; i < count; ++i)
            query.addBindValue(qlonglong(ids[first + i]));
        if (!query.exec())
            Fail(ArchiveErrorCode::CannotOpen, query.lastError());
        while (query.next())
            records.push_back(RecordFrom(query));
    }
    std::stable_sort(records.begin(), records.end(), [](const auto& a, const auto& b) {
        const std::string dateA = a.DateText, dateB = b.DateText;
        return dateA != dateB ? dateA < dateB : a.Id < b.Id;
    });
    return records;
}

std::vector<TrendRecord> SqlArchive::TrendRecordsByDate(const ArchiveFilter& filter) {
    const WhereClause where = FilterClause(filter);
    QSqlQuery query(Database());
    query.setForwardOnly(true);
    query.prepare("SELECT id, tester_number, date_text, settings_word, readings FROM records" +
                  where.Sql + " ORDER BY record_date, id");
    Bind(query, where.Values);
    if (!query.exec())
        Fail(ArchiveErrorCode::CannotOpen, query.lastError());
    std::vector<TrendRecord> records;
    while (query.next()) {
        TrendRecord& record = records.emplace_back();
        record.Id = query.value(0).toLongLong();
        record.Number = query.value(1).toInt();
        record.DateText = query.value(2).toString().toStdString();
        record.SettingsWord = static_cast<uint16_t>(query.value(3).toInt());
        record.Readings = ReadingsFrom(query.value(4).toString());
        // The verdict is judged here as everywhere else, on the record's own readings; SQL
        // has only narrowed the scales.
        if (!VerdictMatches(filter, record.SettingsWord, record.Readings))
            records.pop_back();
    }
    return records;
}

}  // namespace leeb
