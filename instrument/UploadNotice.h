#pragma once
// What an upload tells its user, as facts rather than words: the window shows each in a
// message box in the interface language, the command line prints it. Nothing below this
// layer chooses a text.

#include <exception>
#include <optional>

#include "UploadProtocolError.h"

namespace leeb {

// How the last upload ended.
enum class UploadOutcome { None, Complete, NoData, TimedOut, Unplugged, ProtocolError, Aborted };

enum class UploadNoticeKind {
    // A command could not be written to the tester; the upload still waits for its reply.
    WriteFailed,
    // A record that cannot be written as a record line is left out (Record, Cause).
    RecordSkipped,
    // The tester holds no records; the upload ends.
    NoData,
    // The tester did not answer in time; the upload ends, the records read before stay.
    NoReply,
    // The tester sent what the protocol does not allow (Error); the upload ends.
    ProtocolError,
};

struct UploadNotice {
    UploadNoticeKind Kind = UploadNoticeKind::WriteFailed;
    // The tester's record number concerned; 0 when none.
    int Record = 0;
    std::optional<UploadProtocolError> Error;
    // The failure behind RecordSkipped, for diagnostics.
    std::exception_ptr Cause;
};

}  // namespace leeb
