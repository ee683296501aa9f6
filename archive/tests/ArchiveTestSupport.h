#pragma once
// Record lines, archive locations for each backend and a clean archive for every case.

#include <QSqlDatabase>
#include <QSqlQuery>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "Archive.h"
#include "RecordFile.h"
#include "ServerConnection.h"
#include "SqlArchive.h"
#include "TempFolder.h"

namespace leeb::testing {

// A record line: settings 0x0100 is hardness, device D, steel... as the word says.
inline std::string Line(int day, uint16_t settings, std::vector<uint16_t> readings) {
    MeasurementRecord record;
    record.ImpactCount = static_cast<uint16_t>(readings.size());
    for (std::size_t i = 0; i < readings.size(); ++i)
        record.Readings[i] = readings[i];
    record.SettingsWord = settings;
    record.DateWord = static_cast<uint16_t>(25 | (3 << 7) | (day << 11));  // 2025/03/day
    return FormatRecordLine(record, '.');
}

inline std::vector<ArchiveInput> Inputs(const std::vector<std::string>& lines) {
    std::vector<ArchiveInput> inputs;
    int number = 1;
    for (const std::string& line : lines)
        inputs.push_back({line, number++});
    return inputs;
}

inline ArchiveSource FileSource(const std::string& path) {
    return {ArchiveSourceKind::File, path, "hash", "", ""};
}

inline ArchiveSource UploadSource() {
    return {ArchiveSourceKind::Upload, "", "", "2025-03-14T08:00:00Z", "tester"};
}

enum class Backend { Sqlite, Postgres };

inline const char* PostgresVariable = "LEEBDESK_TEST_POSTGRES";

// An empty archive of the backend: a new file, or the test server with its tables dropped.
// Empty location when the backend is not available here.
class ArchivePlace {
  public:
    explicit ArchivePlace(Backend backend) {
        if (backend == Backend::Sqlite) {
            location_ = {(folder_.Path() / "archive.sqlite").string()};
            return;
        }
        const char* server = std::getenv(PostgresVariable);
        if (server == nullptr || *server == '\0')
            return;
        location_ = {server};
        // A plain connection: the server may hold what an archive refuses to open (a newer
        // schema left by an earlier case).
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", "reset");
            db.setConnectOptions(ServerConnectOptions(server));
            if (db.open())
                QSqlQuery(db).exec(
                    "DROP TABLE IF EXISTS details_versions, records, sources, leebdesk_schema");
            db.close();
        }
        QSqlDatabase::removeDatabase("reset");
    }
    const ArchiveLocation& Location() const { return location_; }
    bool Available() const { return !location_.Text.empty(); }
    const TempFolder& Folder() const { return folder_; }

  private:
    TempFolder folder_;
    ArchiveLocation location_;
};

}  // namespace leeb::testing
