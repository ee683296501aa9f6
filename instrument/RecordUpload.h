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
// report, a count reply that echoes the request, nine chunks that fill the record asked for at
// their own offsets and a record whose impact count is 1..32. Anything else ends the upload
// with an UploadProtocolError; the records completed before it stay. The tester's "AUTO" frame
// is never a reply: it arms the automatic start whenever it comes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "RecordFile.h"
#include "UploadProtocol.h"
#include "UploadNotice.h"
#include "UploadProtocolError.h"
#include "UploadView.h"

namespace leeb {

class RecordUpload {
  public:
    static constexpr int ReplyTimeoutMs = 3000;

    RecordUpload(UploadDevice& device, UploadView& view, RecordLines& lines, char decimalSeparator);
    RecordUpload(const RecordUpload&) = delete;
    RecordUpload& operator=(const RecordUpload&) = delete;

    // ReadRecordsClicked and AutoStartTimerFired; ignored while Running().
    void Start();
    bool Running() const { return phase_ != Phase::Idle; }

    // OnInputReport of the active device: data and size cover the bytes after the report ID.
    void UploadDataReceived(uint8_t reportId, const uint8_t* data, uint16_t size);
    // The reply timer elapsed.
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

  private:
    enum class Phase { Idle, Count, Chunks, Ending };
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
    void RecordComplete();
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
