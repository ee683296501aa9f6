#pragma once
// What an upload tells its user, as facts rather than words: the window shows each in a
// message box in the interface language, the command line prints it. Nothing below this
// layer chooses a text.

#include <optional>
#include <vector>

#include "UploadProtocolError.h"

namespace leeb {

// How the last upload ended.
enum class UploadOutcome { None, Complete, NoData, TimedOut, Unplugged, ProtocolError, Aborted };

enum class UploadNoticeKind {
    // A command could not be written to the tester; the upload still waits for its reply.
    WriteFailed,
    // A record that cannot be written as a record line is left out (Record).
    RecordSkipped,
    // The tester holds no records; the upload ends.
    NoData,
    // The tester did not answer in time; the upload ends, the records read before stay.
    NoReply,
    // The tester sent what the protocol does not allow (Error); the upload ends.
    ProtocolError,
    // Records whose impact count lies outside 1..32 the same way twice were kept, marked
    // damaged (Damaged); told once, as the upload ends.
    DamagedRecords,
};

struct DamagedRecord {
    int Record = 0;
    // As the tester stores it: 0, or more than the 32 readings kept.
    int ImpactCount = 0;
};

struct UploadNotice {
    UploadNoticeKind Kind = UploadNoticeKind::WriteFailed;
    // The tester's record number concerned; 0 when none.
    int Record = 0;
    std::optional<UploadProtocolError> Error;
    std::vector<DamagedRecord> Damaged;
};

inline UploadNotice NoticeOf(UploadNoticeKind kind) {
    UploadNotice notice;
    notice.Kind = kind;
    return notice;
}

}  // namespace leeb
