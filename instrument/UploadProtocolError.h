#pragma once
// A report from the tester that the upload protocol does not allow. The upload stops at the
// first one and keeps the records it completed before; the layer that shows the error words it.

#include <cstddef>

namespace leeb {

enum class ReplyFault {
    // A report while no command waited for its reply (the tester's "AUTO" frame excepted).
    UnexpectedReport,
    // A reply that is not as long as the tester's input report: Received and Expected count
    // its data bytes.
    WrongLength,
    // The reply to the count request does not echo it: Received is its byte 0.
    NotACountReply,
    // A verified upload read the record three times and no two reads agreed.
    ReadsDisagree,
};

struct UploadProtocolError {
    ReplyFault Fault = ReplyFault::UnexpectedReport;
    // The record number being read and its reply 1..9; both 0 while the count was awaited.
    int Record = 0;
    int Chunk = 0;
    std::size_t Received = 0;
    std::size_t Expected = 0;
    // Records completed before the fault; they stay in RecordLines.
    int RecordsKept = 0;
};

}  // namespace leeb
