#pragma once
// What the archive keeps of one record and how it is asked for. Plain data; the texts are UTF-8.
//
// A record's identity is its content: the date word, the settings word, the impact count and
// the readings exactly as the record line holds them. A source (one file, one upload) that
// holds the same content k times keeps k copies: the k-th copy is told apart by its
// occurrence index within that source, so an import that is repeated adds nothing.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "QualitySettings.h"

namespace leeb {

// The QA lab's details of a record, as the report prints them. Empty means not given.
struct ArchiveLabDetails {
    std::string Part;  // part or sample
    std::string Lot;   // lot or heat
    std::string Operator;
    std::string Instrument;
    std::string Standard;
    std::string Remarks;
    bool operator==(const ArchiveLabDetails&) const = default;
};

enum class ArchiveSourceKind { File, Upload };

// Where a record came from: a file (its path and the SHA-256 of its content, hex) or an
// upload (its start time and the tester, as the upload named it).
struct ArchiveSource {
    ArchiveSourceKind Kind = ArchiveSourceKind::File;
    std::string FilePath;
    std::string FileHash;
    std::string UploadTime;  // ISO 8601, UTC
    std::string Tester;
};

// One record to be archived: the record line exactly as the file holds it or as the upload
// wrote it (without line end); the raw words are read from it.
struct ArchiveInput {
    std::string Line;
    int TesterNumber = 0;  // the tester's own record number; 0 when a file does not say
    // The impact count the tester stored for a damaged record (0, or more than the 32 readings
    // its line keeps); -1 for a sound one. The line alone cannot tell: a count of 40 is kept as
    // 32 readings.
    int StoredImpactCount = -1;
};

// One archived record, as list, export and the window read it.
struct ArchivedRecord {
    int64_t Id = 0;
    std::string Line;  // the record line, byte for byte as it came in
    int TesterNumber = 0;
    // Raw words, as the line holds them.
    int ImpactCount = 0;
    std::string DateText;  // "2YYY/MM/DD"
    int SettingsWord = 0;
    std::vector<double> Readings;  // display units
    ArchiveSource Source;
    std::string ArchivedAt;  // ISO 8601, UTC: when it was first archived, on any workstation
    std::string ArchivedBy;  // the operator when given, else the system user
    // When a record kept locally while the server was out reached the server; empty for one
    // archived there directly.
    std::string ReachedServerAt;
    int StoredImpactCount = -1;  // as ArchiveInput: -1 for a sound record
    ArchiveLabDetails Details;   // the newest version
    bool Pending = false;        // only in the local fallback: not yet sent to the server
    bool Damaged() const { return StoredImpactCount >= 0; }
};

// One version of a record's lab details: the first is the one it was archived with.
struct ArchiveDetailsVersion {
    int Version = 0;
    std::string ChangedAt;  // ISO 8601, UTC
    std::string Author;
    ArchiveLabDetails Details;
    std::string Reason;  // why the details were changed; empty for the first version
};

// Lab details as given with an amendment or an import: only the fields that are set change.
struct ArchiveDetailsChange {
    std::optional<std::string> Part, Lot, Operator, Instrument, Standard, Remarks;
    bool Empty() const {
        return !Part && !Lot && !Operator && !Instrument && !Standard && !Remarks;
    }
    // `current` with the fields that are set put in.
    ArchiveLabDetails AppliedTo(ArchiveLabDetails current) const {
        for (auto [field, value] : {std::pair{&current.Part, &Part}, {&current.Lot, &Lot},
                                    {&current.Operator, &Operator},
                                    {&current.Instrument, &Instrument},
                                    {&current.Standard, &Standard}, {&current.Remarks, &Remarks}})
            if (*value)
                *field = **value;
        return current;
    }
};

// A record judged as the window's lab row judges it (QualitySettings::For, EvaluateRecord):
// Pass and Fail as it shows them, NoLimits for a record its scale has no limits for. A record
// whose every reading is a failed impact is judged "no valid reading" there, and so is neither
// here.
enum class ArchiveVerdict { Pass, Fail, NoLimits };

// Every filter that is set must hold. Texts compare as the window shows them, trimmed
// ("HRC", "钢和铸钢"); dates are "YYYY-MM-DD", both ends included.
struct ArchiveFilter {
    std::optional<std::string> From;
    std::optional<std::string> To;
    std::optional<std::string> Material;
    std::optional<std::string> Scale;
    std::optional<std::string> Device;
    std::optional<std::string> Part;
    std::optional<std::string> Lot;
    std::optional<std::string> Operator;
    std::optional<ArchiveVerdict> Verdict;
    // Only records archived after this one (a greater id): a table that pages through the
    // matches in id order asks for the page after its last row by this, which the id index
    // finds at once, where an offset would count its way past every row before.
    std::optional<int64_t> AfterId;
    // What Verdict judges with: the limits per scale (or one pair for all), the exclusion of
    // failed impacts and each-reading judging. Unused without Verdict.
    QualitySettings Quality;
};

// What an import did: "N new records, M already in the archive".
struct ArchiveImportSummary {
    int Added = 0;
    int AlreadyArchived = 0;
    int Amended = 0;  // of those already archived: lab details given with the import changed them
};

}  // namespace leeb
