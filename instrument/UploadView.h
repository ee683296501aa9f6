#pragma once
// What the record upload needs of the window (or of a headless front end) and of the
// connected tester. The upload is an event-driven state machine: it writes a command, returns,
// and goes on when the reply, a time-out or a connection change is reported to it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "MeasurementRecord.h"
#include "RecordFile.h"
#include "RecordView.h"
#include "UploadNotice.h"

namespace leeb {

enum class CommandButton { Read, Save, PrintChart, PrintReport, Open };

class UploadView {
  public:
    virtual ~UploadView() = default;

    // Record tree and chart series cleared at the start of an upload.
    virtual void ClearRecords() = 0;
    // A record is complete and its line has been appended to RecordLines at LineIndex; its
    // node reads "存储记录" + Number. Raw holds the words as the tester sent them (after the
    // reading substitutions), Fields the line read back, so nobody parses the line again.
    struct AppendedRecord {
        int Number = 0;
        int LineIndex = 0;
        const MeasurementRecord& Raw;
        const RecordTextFields& Fields;
        // The tester stores an impact count outside 1..32 for it; Raw and the line hold what
        // the record file can: no readings for 0, the first 32 for more.
        bool Damaged = false;
        int StoredImpactCount = 0;
    };
    virtual void RecordAppended(const AppendedRecord& record) = 0;
    // A bar of record number 1.
    virtual void AddBar(int x, double y) = 0;
    virtual void ShowRecordDetails(const RecordView& record) = 0;

    virtual void SetButtonEnabled(CommandButton button, bool enabled) = 0;
    // Status panel 0: "r/Last" while an upload runs, empty at its end.
    virtual void SetProgress(const std::string& text) = 0;

    // Timer2: the automatic start 10 ms after an "AUTO" frame.
    virtual bool AutoStartArmed() const = 0;
    virtual void ArmAutoStart() = 0;

    // The reply time-out: ReplyTimedOut() is called when it elapses before being cancelled.
    virtual void StartReplyTimer(int milliseconds) = 0;
    virtual void CancelReplyTimer() = 0;

    // Something the user must be told. The upload goes on (or sets the buttons for its end)
    // only when this returns, so a view may show it modally; an end's notice comes before the
    // buttons are set.
    virtual void Notify(const UploadNotice& notice) = 0;

    // The upload has ended (normally, by time-out, unplug, protocol error or abort), after
    // the buttons were set.
    virtual void UploadEnded(UploadOutcome /*outcome*/) {}
};

class UploadDevice {
  public:
    virtual ~UploadDevice() = default;

    // DeviceConnected and ActiveDevice of the connection watcher.
    virtual bool DeviceConnected() const = 0;
    virtual std::size_t OutputReportByteLength() const = 0;
    // The length of the tester's input reports, report ID included; 0 when unknown. Every reply
    // must carry exactly this many bytes less one.
    virtual std::size_t InputReportByteLength() const = 0;
    // Writes the whole report (byte 0 is the report ID); false when the write failed.
    virtual bool WriteReport(const std::vector<uint8_t>& report) = 0;
    // Makes the active device deliver its input reports to the upload's UploadDataReceived.
    virtual void AssignUploadHandler() = 0;
};

}  // namespace leeb
