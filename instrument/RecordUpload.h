#pragma once
// The record upload: count request, then nine chunk requests per record, one reply each.
//
// An event-driven state machine on the GUI thread. Start() writes the first command and
// returns; each reply (UploadDataReceived), the reply timer (ReplyTimedOut) or a run of the
// connection watcher (ConnectionChanged) moves it on. Nothing waits or polls in between, so
// an idle upload costs no CPU and the window stays responsive.
//
// Wiring expected of the owner:
//  - the active tester's input reports go to UploadDataReceived once AssignUploadHandler()
//    has run (the device keeps that handler across give-back and check-out);
//  - ConnectionChanged() after every run of the connection watcher, and the watcher's
//    read-button switch ignored while Running(): the upload's end sets that button;
//  - the reply timer calls ReplyTimedOut(); the automatic-start timer calls Start();
//  - Abort() before the window, the device or RecordLines go away.
//
// Only what the protocol allows is taken: one reply per command, as long as the tester's input
// report, a count reply that echoes the request and nine chunks that fill the record asked for
// at their own offsets. Anything else ends the upload with an UploadProtocolError; the records
// completed before it stay. The tester's "AUTO" frame is never a reply: it arms the automatic
// start whenever it comes.
//
// Two faults of real testers are read through rather than taken: firmware that is slow sends
// its last input report again, so a chunk reply identical to the one before it is asked for
// once more after stray reports have drained; and a record whose impact count lies outside
// 1..32 is read again the same way (RecordReadCheck) and kept marked damaged when it answers
// the same. A verified upload reads every record twice.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "RecordFile.h"
#include "UploadNotice.h"
#include "UploadProtocol.h"
#include "UploadProtocolError.h"
#include "UploadView.h"

namespace leeb {

class RecordUpload {
  public:
    static constexpr int ReplyTimeoutMs = 3000;
    // How long reports that answer nothing are let pass before a command is repeated.
    static constexpr int DrainMs = 100;

    RecordUpload(UploadDevice& device, UploadView& view, RecordLines& lines, char decimalSeparator);
    RecordUpload(const RecordUpload&) = delete;
    RecordUpload& operator=(const RecordUpload&) = delete;

    // ReadRecordsClicked and AutoStartTimerFired; ignored while Running().
    void Start();
    bool Running() const { return phase_ != Phase::Idle; }
    // Every record read twice and compared (a third read settles a difference); off by default.
    void SetVerified(bool verified) { verified_ = verified; }
    bool Verified() const { return verified_; }
    // Stray reports are being let pass; the reply timer ends it.
    bool Draining() const { return phase_ == Phase::Draining; }

    // OnInputReport of the active device: data and size cover the bytes after the report ID.
    void UploadDataReceived(uint8_t reportId, const uint8_t* data, uint16_t size);
    // The reply timer elapsed (or the drain ended).
    void ReplyTimedOut();
    // After every run of the connection watcher.
    void ConnectionChanged();
    // The window closes: ends at once; every later call is ignored and touches nothing.
    void Abort();

    // State the protocol is defined by, readable for diagnostics and tests.
    const std::vector<uint8_t>& OutputReport() const { return outputReport_; }
    const std::array<uint8_t, MaxReplyBytes>& ReplyBytes() const { return replyBytes_; }
    const RecordImage& RecordBuffer() const { return recordBuffer_; }
    std::size_t AccumulationPosition() const { return position_; }
    bool ReplyPending() const { return replyPending_; }
    // Records appended to RecordLines by the running or last upload.
    int RecordsRead() const { return recordsRead_; }
    // The last record number named by the first reply (0 before it came).
    int Last() const { return range_.Last; }
    // How many records the first reply named (0 before it came).
    int RecordsNamed() const { return range_.Last == 0 ? 0 : range_.Last - range_.First + 1; }
    UploadOutcome Outcome() const { return outcome_; }
    // Why the last upload stopped, when its outcome is ProtocolError.
    const std::optional<UploadProtocolError>& ProtocolError() const { return error_; }
    // Records of the running or last upload kept marked damaged.
    const std::vector<DamagedRecord>& Damaged() const { return damaged_; }

  private:
    enum class Phase { Idle, Count, Chunks, Draining, Ending };
    enum class AfterDrain { RepeatChunk, RereadRecord };
    enum class Ending { Complete, NoData, TimedOut, Unplugged, ProtocolError };

    void SendCountRequest();
    void SendChunkRequest();
    // Writes OutputReport to the active device; on failure tells the view (WriteFailed) and
    // goes on waiting for the reply as after any command.
    void SendOutputReport();
    // Whether `size` data bytes make a reply; the tester's input report says how long one is.
    bool ReplyLengthAllowed(std::size_t size, std::size_t& expected) const;
    void Fail(ReplyFault fault, std::size_t received = 0, std::size_t expected = 0);
    void CountReplied();
    void ChunkReplied();
    void RecordRead();
    // A chunk of the completed read repeats the reply before it where the record's own
    // content cannot explain it.
    bool RepeatUnexplained() const;
    void StartRecord();
    void StartRecordRead();
    void Drain(AfterDrain then);
    void DrainEnded();
    bool AwaitingReply() const { return phase_ == Phase::Count || phase_ == Phase::Chunks; }
    void RecordComplete(const RecordImage& image, bool damaged);
    void Finish(Ending ending);
    void ShowProgress();

    UploadDevice& device_;
    UploadView& view_;
    RecordLines& lines_;
    char decimalSeparator_;

    Phase phase_ = Phase::Idle;
    bool aborted_ = false;
    bool replyPending_ = false;
    // A command waits for the end of a watcher run to be written.
    bool sendDeferred_ = false;
    // Counts writes, so a handler that ran inside a message box can tell that the upload
    // has moved on in the meantime.
    uint64_t commandSequence_ = 0;

    std::vector<uint8_t> outputReport_;
    std::array<uint8_t, MaxReplyBytes> replyBytes_{};
    // The reply taken before the current one, to tell a repeated report.
    std::array<uint8_t, MaxReplyBytes> previousReply_{};
    std::size_t previousLength_ = 0;
    // The reply before the record's first chunk, where a read of the record starts over.
    std::array<uint8_t, MaxReplyBytes> beforeRecord_{};
    std::size_t beforeRecordLength_ = 0;
    // Chunks of the current read that came exactly as the reply before them (bit k for
    // chunk k), and whether the record was read again for such a repeat already.
    unsigned repeatedChunks_ = 0;
    bool rereadForRepeat_ = false;
    AfterDrain afterDrain_ = AfterDrain::RepeatChunk;
    bool verified_ = false;
    std::vector<RecordImage> reads_;  // complete reads of the record being read
    std::vector<DamagedRecord> damaged_;
    RecordImage recordBuffer_{};
    std::size_t position_ = 0;

    RecordRange range_{};
    int record_ = 0;         // record number being read
    std::size_t chunk_ = 0;  // chunk requests written for it, 1..9
    int recordsRead_ = 0;
    UploadOutcome outcome_ = UploadOutcome::None;
    std::optional<UploadProtocolError> error_;
};

}  // namespace leeb
