// The archive's own check: the database's integrity, then every record against its line and
// every record's chain of details versions. Whatever was edited outside leebdesk (a readings
// column, a details version inserted, altered or re-dated) is named by record id.

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <cmath>
#include <map>

#include "ArchiveLineFields.h"
#include "DetailsChain.h"
#include "SqlArchive.h"

namespace leeb {
namespace {

// Past this many, the rest are counted, not listed: a forged archive is told at once.
constexpr std::size_t ListedProblems = 100;

class Problems {
  public:
    void Add(int64_t record, const std::string& what) {
        ++count_;
        if (list_.size() < ListedProblems)
            list_.push_back("record " + std::to_string(record) + ": " + what);
    }
    void AddGeneral(const std::string& what) { list_.push_back(what); }
    std::vector<std::string> Take() {
        if (count_ > ListedProblems)
            list_.push_back(std::to_string(count_ - ListedProblems) + " more problems");
        return std::move(list_);
    }

  private:
    std::vector<std::string> list_;
    std::size_t count_ = 0;
};

bool SameMean(double stored, double derived) {
    return std::fabs(stored - derived) <= 1e-9 * std::max(1.0, std::fabs(derived));
}

struct StoredRecord {
    QByteArray ContentKey;
    std::string ArchivedAt;
    bool FirstVersionSeen = false;
};

// The derived columns of one record against what its line gives.
void CheckRecord(const QSqlQuery& row, Problems& problems, int64_t id) {
    ArchiveLineFields fields;
    try {
        fields = DeriveLineFields(row.value(1).toString().toStdString());
    } catch (const std::exception&) {
        problems.Add(id, "its record line does not convert");
        return;
    }
    const auto text = [&](int c) { return row.value(c).toString().toStdString(); };
    std::vector<const char*> differ;
    if (row.value(2).toByteArray() != fields.ContentKey)
        differ.push_back("content key");
    if (row.value(3).toInt() != fields.Fields.ImpactCount)
        differ.push_back("impact count");
    if (text(4) != fields.Fields.DateText || text(5) != fields.RecordDate)
        differ.push_back("date");
    if (row.value(6).toInt() != fields.Fields.SettingsWord || text(9) != fields.Material ||
        text(10) != fields.Scale || text(11) != fields.Device || text(12) != fields.Direction)
        differ.push_back("settings");
    if (text(7) != fields.Readings)
        differ.push_back("readings");
    if (row.value(8).isNull() || !SameMean(row.value(8).toDouble(), fields.Mean))
        differ.push_back("mean");
    if (differ.empty())
        return;
    std::string what;
    for (const char* column : differ)
        what += (what.empty() ? "" : ", ") + std::string(column);
    problems.Add(id, what + " differ from its record line");
}

}  // namespace

std::vector<std::string> SqlArchive::Check() {
    Problems problems;
    QSqlQuery query(db_);
    if (dialect_ == SqlDialect::Sqlite) {
        if (!query.exec("PRAGMA integrity_check"))
            return {query.lastError().text().toStdString()};
        std::vector<std::string> damage;
        while (query.next())
            if (const QString row = query.value(0).toString(); row != "ok")
                damage.push_back(row.toStdString());
        // A damaged file cannot be read row by row with any trust.
        if (!damage.empty())
            return damage;
    }
    QSqlQuery records(db_), versions(db_);
    records.setForwardOnly(true);
    versions.setForwardOnly(true);
    records.prepare(
        "SELECT id, line, content_key, impact_count, date_text, record_date, settings_word,"
        " readings, mean, material, scale, device, direction, archived_at FROM records"
        " WHERE id > ? ORDER BY id LIMIT 10000");
    versions.prepare(
        "SELECT record_id, version, changed_at, author, part, lot, operator, instrument,"
        " standard, remarks, reason, chain FROM details_versions"
        " WHERE record_id > ? AND record_id <= ? ORDER BY record_id, version");
    for (qlonglong after = 0;;) {
        records.bindValue(0, after);
        if (!records.exec())
            return {records.lastError().text().toStdString()};
        std::map<int64_t, StoredRecord> slice;
        while (records.next()) {
            const int64_t id = records.value(0).toLongLong();
            CheckRecord(records, problems, id);
            slice[id] = {records.value(2).toByteArray(), records.value(13).toString().toStdString()};
        }
        records.finish();
        if (slice.empty())
            break;
        const qlonglong last = slice.rbegin()->first;
        versions.bindValue(0, after);
        versions.bindValue(1, last);
        if (!versions.exec())
            return {versions.lastError().text().toStdString()};
        int64_t record = 0;
        int expected = 1;
        QByteArray previous;
        std::string previousTime;
        bool broken = false;
        while (versions.next()) {
            const int64_t id = versions.value(0).toLongLong();
            const auto text = [&](int c) { return versions.value(c).toString().toStdString(); };
            const auto stored = slice.find(id);
            if (stored == slice.end())
                continue;  // a version of no record: the foreign key keeps that out
            if (id != record) {
                record = id;
                expected = 1;
                previous.clear();
                previousTime = stored->second.ArchivedAt;
                broken = false;
            }
            if (broken)
                continue;  // one problem per record: what follows a break cannot match either
            const int version = versions.value(1).toInt();
            const std::string changedAt = text(2);
            const QByteArray chain = DetailsChainValue(
                previous, stored->second.ContentKey, version, changedAt, text(3),
                {text(4), text(5), text(6), text(7), text(8), text(9)}, text(10));
            if (version != expected) {
                problems.Add(id, "details version " + std::to_string(expected) + " is missing");
                broken = true;
            } else if (chain != versions.value(11).toByteArray()) {
                problems.Add(id, "details version " + std::to_string(version) +
                                     " does not match its chain (changed outside leebdesk)");
                broken = true;
            } else if (changedAt < previousTime) {
                problems.Add(id, "details version " + std::to_string(version) + " is dated " +
                                     changedAt + ", before " +
                                     (version == 1 ? "the record was archived"
                                                   : "the version it follows"));
                broken = true;
            }
            stored->second.FirstVersionSeen = true;  // a missing version 1 is told above
            previous = chain;
            previousTime = changedAt;
            ++expected;
        }
        versions.finish();
        for (const auto& [id, stored] : slice)
            if (!stored.FirstVersionSeen)
                problems.Add(id, "no first details version");
        after = last;
    }
    return problems.Take();
}

}  // namespace leeb
