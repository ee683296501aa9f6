#include "RecordUpload.h"

// Reading one record: its nine chunks, the checks that decide whether the read can be kept
// (a repeated report, an impact count outside 1..32, a verified upload's second read), and
// handing the kept record to the view.

#include <algorithm>
#include <cstring>
#include <exception>
#include <string>

#include "RecordReadCheck.h"
#include "RecordView.h"

namespace leeb {

void RecordUpload::StartRecord() {
    reads_.clear();
    rereadForRepeat_ = false;
    beforeRecord_ = previousReply_;
    beforeRecordLength_ = previousLength_;
    StartRecordRead();
}

void RecordUpload::StartRecordRead() {
    // A fresh read compares its first chunk with what came before the record, not with the
    // chunks of the read it replaces.
    previousReply_ = beforeRecord_;
    previousLength_ = beforeRecordLength_;
    repeatedChunks_ = 0;
    position_ = 0;
    chunk_ = 1;
    SendChunkRequest();
}

void RecordUpload::ChunkReplied() {
    // Chunk k fills bytes 8(k-1) .. 8(k-1)+7 of the record asked for, whatever came before it.
    const std::size_t offset = (chunk_ - 1) * ChunkSize;
    std::memcpy(recordBuffer_.data() + offset, replyBytes_.data(), ChunkSize);
    position_ = offset + ChunkSize;
    if (chunk_ < ChunksPerRecord) {
        ++chunk_;
        SendChunkRequest();
        return;
    }
    position_ = 0;
    if (!rereadForRepeat_ && RepeatUnexplained()) {
        // Chunks are only addressed by reading the record from its start: the whole record is
        // read again, and the same answer then is what the tester holds (equal readings do
        // happen).
        rereadForRepeat_ = true;
        Drain(AfterDrain::RereadRecord);
        return;
    }
    reads_.push_back(recordBuffer_);
    RecordRead();
}

bool RecordUpload::RepeatUnexplained() const {
    // Chunk k (1..8) holds readings 4k-3..4k. One that lies wholly beyond the impact count
    // is all zeros, so a run of empty chunks after the last reading repeats rightly; any other
    // chunk that came exactly as the reply before it may be that reply sent again.
    const uint16_t count = UnpackRecordImage(recordBuffer_).ImpactCount;
    for (std::size_t k = 1; k <= ChunksPerRecord; ++k) {
        if ((repeatedChunks_ & (1u << k)) == 0) {
            continue;
        }
        const auto first = recordBuffer_.begin() + static_cast<std::ptrdiff_t>((k - 1) * ChunkSize);
        const bool empty = std::all_of(first, first + ChunkSize, [](uint8_t b) { return b == 0; });
        if (k == ChunksPerRecord || !empty || 4 * (k - 1) < count) {
            return true;
        }
    }
    return false;
}

void RecordUpload::RecordRead() {
    const ReadDecision decision = DecideRecordRead(reads_, verified_);
    switch (decision.Verdict) {
        case ReadVerdict::ReadAgain:
            StartRecordRead();
            return;
        case ReadVerdict::DrainAndRetry:
            Drain(AfterDrain::RereadRecord);
            return;
        case ReadVerdict::Disagree:
            Fail(ReplyFault::ReadsDisagree, reads_.size());
            return;
        case ReadVerdict::Keep:
        case ReadVerdict::KeepDamaged:
            break;
    }
    const RecordImage image = reads_[decision.Keep];
    reads_.clear();
    RecordComplete(image, decision.Verdict == ReadVerdict::KeepDamaged);
    if (!Running() || aborted_) {
        return;
    }
    if (record_ >= range_.Last) {
        Finish(Ending::Complete);
        return;
    }
    ++record_;
    ShowProgress();
    StartRecord();
}

void RecordUpload::Drain(AfterDrain then) {
    // Reports that still come answer nothing asked; the reply timer ends the wait.
    afterDrain_ = then;
    phase_ = Phase::Draining;
    view_.CancelReplyTimer();
    view_.StartReplyTimer(DrainMs);
}

void RecordUpload::DrainEnded() {
    phase_ = Phase::Chunks;
    StartRecordRead();
}

void RecordUpload::RecordComplete(const RecordImage& image, bool damaged) {
    // UploadedRecord keeps at most the 32 readings a record file holds.
    const MeasurementRecord record = UploadedRecord(image);
    const int storedCount = UnpackRecordImage(image).ImpactCount;
    if (damaged) {
        damaged_.push_back({record_, storedCount});
    }
    std::string line;
    RecordTextFields fields;
    try {
        line = FormatRecordLine(record, decimalSeparator_);
        // Read back, the fields are exactly what a saved and reopened file shows.
        fields = ParseRecordLine(line, decimalSeparator_);
    } catch (const std::exception&) {
        // The substitutions keep every value within its columns; should a line still not
        // format, the record is left out rather than written misaligned.
        UploadNotice notice = NoticeOf(UploadNoticeKind::RecordSkipped);
        notice.Record = record_;
        view_.Notify(notice);
        return;
    }
    if (record_ == 1) {
        for (std::size_t k = 0; k < fields.Readings.size(); ++k) {
            view_.AddBar(static_cast<int>(k + 1), fields.Readings[k]);
        }
        view_.ShowRecordDetails(RecordViewFromFields(fields));
    }
    lines_.push_back(std::move(line));
    ++recordsRead_;
    view_.RecordAppended(
        {record_, static_cast<int>(lines_.size() - 1), record, fields, damaged, storedCount});
}

}  // namespace leeb
