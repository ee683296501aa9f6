#include "RecordUpload.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <string>

namespace leeb {
namespace {

constexpr std::size_t CommandBytes = 5;  // report ID and the four command bytes

}  // namespace

RecordUpload::RecordUpload(UploadDevice& device, UploadView& view, RecordLines& lines,
                           char decimalSeparator)
    : device_(device), view_(view), lines_(lines), decimalSeparator_(decimalSeparator) {}

void RecordUpload::Start() {
    if (aborted_ || Running()) {
        return;
    }
    if (!device_.DeviceConnected()) {
        view_.SetButtonEnabled(CommandButton::Read, true);
        return;
    }
    view_.ClearRecords();
    lines_.clear();
    lines_.emplace_back(RecordFileHeader);
    for (CommandButton button :
         {CommandButton::Save, CommandButton::PrintChart, CommandButton::PrintReport,
          CommandButton::Open, CommandButton::Read}) {
        view_.SetButtonEnabled(button, false);
    }
    range_ = {};
    outcome_ = UploadOutcome::None;
    error_.reset();
    position_ = 0;
    record_ = 0;
    chunk_ = 0;
    recordsRead_ = 0;
    previousLength_ = 0;
    reads_.clear();
    damaged_.clear();
    phase_ = Phase::Count;
    // The handler goes in before the first write, so a fast reply cannot reach the
    // controller-level handler (which would only arm the automatic start).
    device_.AssignUploadHandler();
    SendCountRequest();
}

void RecordUpload::SendCountRequest() {
    // Bytes 2-4 stay as the previous command left them.
    outputReport_.resize(std::max(outputReport_.size(), CommandBytes), 0);
    outputReport_[0] = 0x00;
    outputReport_[1] = CountRequestCode;
    SendOutputReport();
}

void RecordUpload::SendChunkRequest() {
    outputReport_.resize(std::max(outputReport_.size(), CommandBytes), 0);
    outputReport_[0] = 0x00;
    outputReport_[1] = ChunkRequestCode;
    outputReport_[2] = 0x00;
    outputReport_[3] = 0x00;
    outputReport_[4] = 0x00;
    if (chunk_ == 1) {
        outputReport_[2] = static_cast<uint8_t>((record_ >> 8) & 0xFF);
        outputReport_[3] = static_cast<uint8_t>(record_ & 0xFF);
    }
    SendOutputReport();
}

void RecordUpload::SendOutputReport() {
    const uint64_t sequence = ++commandSequence_;
    replyPending_ = true;
    if (!device_.DeviceConnected()) {
        // A reply handed over while the watcher was giving the tester's device back: there is
        // no device to write to until its run ends, and ConnectionChanged() goes on from here.
        sendDeferred_ = true;
        view_.StartReplyTimer(ReplyTimeoutMs);
        return;
    }
    sendDeferred_ = false;
    // The report is exactly as long as the device's output report; a device whose report
    // cannot hold a command gets nothing written.
    const std::size_t length = device_.OutputReportByteLength();
    bool written = false;
    if (length >= CommandBytes) {
        outputReport_.resize(length, 0);
        written = device_.WriteReport(outputReport_);
    }
    if (!written) {
        view_.Notify(NoticeOf(UploadNoticeKind::WriteFailed));
    }
    // The reply (or an abort, or a time-out) may have been handled inside the write or the
    // message box; then the timer belongs to a later command or to nobody.
    if (!aborted_ && replyPending_ && sequence == commandSequence_ &&
        (phase_ == Phase::Count || phase_ == Phase::Chunks)) {
        view_.StartReplyTimer(ReplyTimeoutMs);
    }
}

bool RecordUpload::ReplyLengthAllowed(std::size_t size, std::size_t& expected) const {
    // Every reply fills the tester's whole input report; a shorter one would leave bytes of the
    // previous reply in their place. A report too short for a chunk can never be a reply.
    const std::size_t reportLength = device_.InputReportByteLength();
    expected = reportLength > ChunkSize ? reportLength - 1 : ChunkSize;
    return reportLength == 0 ? size >= ChunkSize : size == expected;
}

void RecordUpload::UploadDataReceived(uint8_t /*reportId*/, const uint8_t* data, uint16_t size) {
    if (aborted_) {
        return;
    }
    const std::size_t n = data == nullptr ? 0 : size;
    // The tester's transfer key may be pressed at any time, also in the middle of an upload:
    // the frame arms the automatic start and is never taken for a reply.
    if (n >= AutoStartFrame.size() &&
        std::equal(AutoStartFrame.begin(), AutoStartFrame.end(), data)) {
        if (!view_.AutoStartArmed()) {
            view_.ArmAutoStart();
        }
        return;
    }
    if (!AwaitingReply()) {
        // No upload, one that has ended, or reports let pass before a command is repeated.
        return;
    }
    // A command that waits for the end of a watcher run has not been written yet, so nothing
    // can answer it.
    if (!replyPending_ || sendDeferred_) {
        Fail(ReplyFault::UnexpectedReport, n);
        return;
    }
    view_.CancelReplyTimer();
    std::size_t expected = 0;
    if (!ReplyLengthAllowed(n, expected)) {
        Fail(ReplyFault::WrongLength, n, expected);
        return;
    }
    replyPending_ = false;
    const std::size_t kept = std::min(n, MaxReplyBytes);
    if (phase_ == Phase::Chunks && kept == previousLength_ &&
        std::equal(data, data + kept, previousReply_.begin())) {
        // Slow firmware sends its last report again; whether this one can be that is known
        // once the record's impact count is (RepeatUnexplained).
        repeatedChunks_ |= 1u << chunk_;
    }
    std::memcpy(replyBytes_.data(), data, kept);
    std::memcpy(previousReply_.data(), data, kept);
    previousLength_ = kept;
    if (phase_ == Phase::Count) {
        CountReplied();
    } else {
        ChunkReplied();
    }
}

void RecordUpload::CountReplied() {
    // Any two bytes name a valid range (a plain count is at most 0xEFFF, a single record at
    // most 0xFFF), so the echo of the command is what tells a count reply from other bytes.
    if (replyBytes_[0] != CountRequestCode) {
        Fail(ReplyFault::NotACountReply, replyBytes_[0], CountRequestCode);
        return;
    }
    range_ = RecordRangeFromCountReply(replyBytes_[1], replyBytes_[2]);
    if (range_.Last == 0) {
        Finish(Ending::NoData);
        return;
    }
    phase_ = Phase::Chunks;
    record_ = range_.First;
    ShowProgress();
    StartRecord();
}

void RecordUpload::Fail(ReplyFault fault, std::size_t received, std::size_t expected) {
    UploadProtocolError error;
    error.Fault = fault;
    if (phase_ == Phase::Chunks) {
        error.Record = record_;
        error.Chunk = static_cast<int>(chunk_);
    }
    error.Received = received;
    error.Expected = expected;
    error.RecordsKept = recordsRead_;
    error_ = error;
    Finish(Ending::ProtocolError);
}

void RecordUpload::ShowProgress() {
    view_.SetProgress(std::to_string(record_) + "/" + std::to_string(range_.Last));
}

void RecordUpload::ReplyTimedOut() {
    if (aborted_) {
        return;
    }
    if (phase_ == Phase::Draining) {
        DrainEnded();
        return;
    }
    if (!replyPending_ || !AwaitingReply()) {
        return;
    }
    Finish(Ending::TimedOut);
}

void RecordUpload::ConnectionChanged() {
    if (aborted_ || (!AwaitingReply() && phase_ != Phase::Draining)) {
        return;
    }
    if (!device_.DeviceConnected()) {
        // The reply bytes are stale and there is nothing to write to.
        Finish(Ending::Unplugged);
        return;
    }
    // The watcher may have switched the read button on and given the tester a new device
    // object; the upload keeps the button and re-binds its handler.
    view_.SetButtonEnabled(CommandButton::Read, false);
    device_.AssignUploadHandler();
    if (sendDeferred_) {
        view_.CancelReplyTimer();
        SendOutputReport();
    }
}

void RecordUpload::Abort() {
    if (aborted_) {
        return;
    }
    if (AwaitingReply() || phase_ == Phase::Draining) {
        view_.CancelReplyTimer();
    }
    if (Running()) {
        outcome_ = UploadOutcome::Aborted;
    }
    aborted_ = true;
    sendDeferred_ = false;
    phase_ = Phase::Idle;
    replyPending_ = false;
}

void RecordUpload::Finish(Ending ending) {
    // Running() stays true while a message box is up, so a start request in its event loop
    // is still ignored.
    phase_ = Phase::Ending;
    replyPending_ = false;
    sendDeferred_ = false;
    switch (ending) {
        case Ending::Complete:
            outcome_ = UploadOutcome::Complete;
            break;
        case Ending::NoData:
            outcome_ = UploadOutcome::NoData;
            break;
        case Ending::TimedOut:
            outcome_ = UploadOutcome::TimedOut;
            break;
        case Ending::Unplugged:
            outcome_ = UploadOutcome::Unplugged;
            break;
        case Ending::ProtocolError:
            outcome_ = UploadOutcome::ProtocolError;
            break;
    }
    view_.CancelReplyTimer();
    if (!damaged_.empty()) {
        UploadNotice notice = NoticeOf(UploadNoticeKind::DamagedRecords);
        notice.Damaged = damaged_;
        view_.Notify(notice);
        if (aborted_) {
            return;
        }
    }
    switch (ending) {
        case Ending::NoData:
            view_.Notify(NoticeOf(UploadNoticeKind::NoData));
            if (aborted_) {
                return;
            }
            view_.SetButtonEnabled(CommandButton::Open, true);
            view_.SetButtonEnabled(CommandButton::Read, true);
            break;
        case Ending::Complete:
            view_.SetButtonEnabled(CommandButton::Read, true);
            if (range_.Last >= 1 && recordsRead_ >= 1) {
                for (CommandButton button : {CommandButton::Save, CommandButton::PrintChart,
                                             CommandButton::PrintReport, CommandButton::Open}) {
                    view_.SetButtonEnabled(button, true);
                }
            }
            break;
        case Ending::TimedOut:
        case Ending::Unplugged:
        case Ending::ProtocolError:
            if (ending == Ending::TimedOut) {
                view_.Notify(NoticeOf(UploadNoticeKind::NoReply));
            } else if (ending == Ending::ProtocolError) {
                UploadNotice notice = NoticeOf(UploadNoticeKind::ProtocolError);
                notice.Record = error_->Record;
                notice.Error = error_;
                view_.Notify(notice);
            }
            if (aborted_) {
                return;
            }
            view_.SetButtonEnabled(CommandButton::Read, device_.DeviceConnected());
            for (CommandButton button :
                 {CommandButton::Save, CommandButton::PrintChart, CommandButton::PrintReport}) {
                view_.SetButtonEnabled(button, recordsRead_ >= 1);
            }
            view_.SetButtonEnabled(CommandButton::Open, true);
            break;
    }
    view_.SetProgress("");
    phase_ = Phase::Idle;
    view_.UploadEnded(outcome_);
}

}  // namespace leeb
