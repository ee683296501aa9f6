#pragma once
// The measurement archive: every record kept, found again, never stored twice. One interface,
// two backends: a local SQLite file (the default) and a lab's PostgreSQL server.
//
// Threads: an Archive object and everything it returns belong to the thread that opened it
// (Qt SQL connections are per thread). A thread that does archive work opens its own Archive;
// the window runs its archive work through ArchiveWorker (ArchiveWorker.h), which owns one on
// its own thread. Opening, and every call, may block: a server connection waits at most 5 s.
//
// Errors: every call throws ArchiveError with a code the layer that shows it words, and the
// database's own message as detail; a failed write leaves the archive as it was. A record line
// that does not convert throws the record file's ConversionError before anything is written.

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "ArchiveRecord.h"
#include "TrendPoints.h"

class QSettings;

namespace leeb {

enum class ArchiveErrorCode {
    CannotOpen,      // the file or server cannot be reached or opened
    NotAnArchive,    // a damaged file or one that is not an archive: never touched
    NewerSchema,     // written by a newer leebdesk: refused, never touched
    WriteFailed,     // a write failed (a full disk, a lost server); rolled back
    ConnectionLost,  // the server went away during the call; rolled back
    NoSuchRecord,
    Unsupported,     // e.g. backup of a server archive: pg_dump does that
    OutputIsArchive, // a backup would replace the archive (or another one in use): refused
    BadLocation,     // a server location libpq cannot take (a port "notaport"): nothing tried
    NoArchive,       // nothing at the path, and the command only reads: nothing made
    ReadOnly,        // the user may not write the archive file (or its folder)
};

class ArchiveError : public std::runtime_error {
  public:
    ArchiveError(ArchiveErrorCode code, const std::string& detail)
        : std::runtime_error(detail), Code(code) {}
    ArchiveErrorCode Code;
};

// Where the archive is: a file path, or a server by a libpq URI ("postgresql://..." or
// "postgres://...", the scheme in any case) or a libpq "key=value ..." string ("service=NAME",
// "host=... dbname=..."). Passwords are never stored: libpq reads ~/.pgpass, PGPASSFILE or the
// service file; sslmode and the other parameters pass through.
struct ArchiveLocation {
    std::string Text;
    bool IsServer() const;
    // The location for a message: a password written in it shows as "***".
    std::string Shown() const;
};

// The location every command and the window use: `option` when given, else LEEBDESK_ARCHIVE,
// else the setting ArchiveLocationKey (of `settings`, or of the program's own QSettings), else
// the user's archive file in QStandardPaths::AppDataLocation ("archive.sqlite").
ArchiveLocation ResolveArchiveLocation(const std::string& option);
ArchiveLocation ResolveArchiveLocation(const std::string& option, const QSettings& settings);
// Throws ArchiveError(BadLocation) for a server location libpq cannot take, before anything
// is tried or written; a file location passes.
void CheckArchiveLocation(const ArchiveLocation& location);
// The user's archive file, whatever LEEBDESK_ARCHIVE says: where records wait for the server.
ArchiveLocation LocalArchiveLocation();

class Archive {
  public:
    virtual ~Archive() = default;

    // Adds a source's records in one transaction: all or nothing. A record whose content and
    // occurrence within its source (the k-th copy) is already archived, from any source, is
    // counted, not added: a file imported twice, or saved from an archived upload, adds nothing.
    // `details` and `by` go with every new record; `by` empty means the system user.
    virtual ArchiveImportSummary Import(const ArchiveSource& source,
                                        const std::vector<ArchiveInput>& records,
                                        const ArchiveLabDetails& details,
                                        const std::string& by) = 0;

    // How many records match.
    virtual int64_t Count(const ArchiveFilter& filter) = 0;
    // Records `offset`.. `offset + limit - 1` of those that match, ordered by id: the window
    // fetches a page as it scrolls. Fast over millions of rows: the filters use indexes.
    virtual std::vector<ArchivedRecord> Fetch(const ArchiveFilter& filter, int64_t offset,
                                              int limit) = 0;
    // The ids that match, in record date then archive order: what the trend view plots.
    virtual std::vector<int64_t> IdsByDate(const ArchiveFilter& filter) = 0;
    // The records of `ids` in record date then archive order; unknown ids are left out.
    virtual std::vector<ArchivedRecord> RecordsById(const std::vector<int64_t>& ids) = 0;
    // The records that match as the trend takes them (id, tester number, date, settings word,
    // readings), in record date then archive order: RecordsById(IdsByDate(filter)) without the
    // rest of each record, which a trend of 100,000 records cannot afford to read.
    virtual std::vector<TrendRecord> TrendRecordsByDate(const ArchiveFilter& filter);

    // Amends the lab details of every record of `ids` in one transaction: each whose details
    // the change alters gets a new version with the time, `author` (empty: the system user)
    // and `reason`; the filters find it by its new details from then on. The record itself,
    // its readings and raw words, never changes. Returns how many records got a version.
    // Throws NoSuchRecord (nothing amended) for an id the archive does not hold.
    virtual int Amend(const std::vector<int64_t>& ids, const ArchiveDetailsChange& change,
                      const std::string& author, const std::string& reason) = 0;
    // Every version, oldest first. Throws NoSuchRecord.
    virtual std::vector<ArchiveDetailsVersion> History(int64_t id) = 0;

    // Integrity: empty when sound, else what is wrong, naming the record. Besides the
    // database's own check, every record's derived columns are recomputed from its line, and
    // every record's chain of details versions (each holds a hash of its content and of the
    // version before it) and their times are verified: an edit made outside leebdesk is found.
    virtual std::vector<std::string> Check() = 0;
    // A consistent copy while others write (SQLite only; a server is backed up by pg_dump).
    virtual void Backup(const std::string& path) = 0;

    // Records kept locally while the server could not be reached (the local archive only).
    virtual int64_t PendingCount() = 0;
};

// Whether `record` has the verdict `filter` asks for (true when it asks for none), judged with
// the filter's quality settings exactly as Count and Fetch judge it. For going through a
// filter's records once: Fetch with a verdict judges every candidate again for each page.
bool VerdictHolds(const ArchiveFilter& filter, const ArchivedRecord& record);

// What a command does with the archive. Only a command that writes records may make a new
// archive file: one that reads refuses a path where there is none (NoArchive), and opens a
// file the user may only read read-only. Writing to such a file is refused (ReadOnly).
enum class ArchiveAccess { Write, Read };

// Opens (for Write: creating a missing file and its folder; migrating an older schema in one
// transaction) the archive at `location`. Throws ArchiveError.
std::unique_ptr<Archive> OpenArchive(const ArchiveLocation& location,
                                     ArchiveAccess access = ArchiveAccess::Write);

// The switch shared by the window and leebdesk-cli (QSettings key "archive/enabled", on by
// default) and the server location ("archive/location", empty for the local file).
inline constexpr const char* ArchiveEnabledKey = "archive/enabled";
inline constexpr const char* ArchiveLocationKey = "archive/location";

}  // namespace leeb
