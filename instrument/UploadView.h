#pragma once
// What the record upload needs of the window (or of a headless front end) and of the
// connected tester. The upload is an event-driven state machine: it writes a command, returns,
// and goes on when the reply, a time-out or a connection change is reported to it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "MessageBoxFlags.h"
#include "RecordView.h"
#include "UploadProtocolError.h"

namespace leeb {

enum class CommandButton { Read, Save, PrintChart, PrintReport, Open };

class UploadView {
  public:
    virtual ~UploadView() = default;

    // Record tree and chart series cleared at the start of an upload.
    virtual void ClearRecords() = 0;
    // A record's line has been appended to RecordLines at lineIndex; its node reads
    // "存储记录" + recordNumber and its reading nodes come from that line.
    virtual void RecordAppended(int recordNumber, int lineIndex) = 0;
    // A bar of record number 1.
    virtual void AddBar(int x, double y) = 0;
    virtual void ShowRecordDetails(const RecordView& record) = 0;

    virtual void SetButtonEnabled(CommandButton button, bool enabled) = 0;
    virtual int MessageBox(const std::string& text, const std::string& caption, unsigned flags) = 0;
    // Status panel 0: "r/Last" while an upload runs, empty at its end.
    virtual void SetProgress(const std::string& text) = 0;

    // Timer2: the automatic start 10 ms after an "AUTO" frame.
    virtual bool AutoStartArmed() const = 0;
    virtual void ArmAutoStart() = 0;

    // The reply time-out: ReplyTimedOut() is called when it elapses before being cancelled.
    virtual void StartReplyTimer(int milliseconds) = 0;
    virtual void CancelReplyTimer() = 0;

    // The tester sent what the protocol does not allow and the upload stops; the records read
    // before stay. Called once, before the buttons are set for the end of the upload.
    virtual void ShowProtocolError(const UploadProtocolError& error) = 0;

    // The upload has ended (normally, by time-out, unplug, protocol error or abort).
    virtual void UploadFinished() {}
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
