#pragma once
// A window and a tester for driving RecordUpload directly: the view records every call, the
// device records every output report and queues the replies of a TesterProtocol until the
// test delivers them, as the GUI thread's hand-off would.

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "RecordUpload.h"
#include "TesterProtocol.h"
#include "TesterSimulator.h"
#include "UploadView.h"

namespace leeb::test {

class FakeUploadView : public UploadView {
  public:
    void ClearRecords() override;
    void RecordAppended(const AppendedRecord& record) override;
    void AddBar(int x, double y) override;
    void ShowRecordDetails(const RecordView& record) override;
    void SetButtonEnabled(CommandButton button, bool enabled) override;
    void SetProgress(const std::string& text) override;
    bool AutoStartArmed() const override { return Armed; }
    void ArmAutoStart() override;
    void StartReplyTimer(int milliseconds) override;
    void CancelReplyTimer() override;
    void Notify(const UploadNotice& notice) override;
    void UploadEnded(UploadOutcome outcome) override;

    bool Enabled(CommandButton button) const;
    // "read save chart report open" as 0/1, e.g. "10000".
    std::string ButtonRow() const;

    std::vector<std::string> Calls;
    std::map<CommandButton, bool> Buttons;
    std::vector<std::pair<int, double>> Bars;
    std::vector<std::pair<int, int>> Appended;
    std::vector<RecordView> Details;
    // Every notice but ProtocolError, whose errors go to ProtocolErrors.
    std::vector<UploadNoticeKind> Notices;
    std::vector<UploadNotice> AllNotices;
    // The parsed fields of each appended record, in order.
    std::vector<RecordTextFields> AppendedFields;
    std::vector<UploadProtocolError> ProtocolErrors;
    std::vector<std::string> ProgressTexts;
    bool Armed = false;
    bool ReplyTimerRunning = false;
    // The interval of each start of the reply timer, in order.
    std::vector<int> TimerIntervals;
    int Finished = 0;
    // Runs inside a notice, like the events a modal box's own loop dispatches.
    std::function<void()> WhileMessageShown;
    // Runs once inside the next RecordAppended, like events dispatched by whoever keeps the
    // record there (a store that waits for its own thread in a local event loop).
    std::function<void()> WhileRecordAppended;
};

class FakeUploadDevice : public UploadDevice {
  public:
    bool DeviceConnected() const override { return Connected; }
    std::size_t OutputReportByteLength() const override { return Length; }
    std::size_t InputReportByteLength() const override { return InputLength; }
    bool WriteReport(const std::vector<uint8_t>& report) override;
    void AssignUploadHandler() override { ++HandlerAssignments; }

    bool Connected = true;
    std::size_t Length = 65;
    std::size_t InputLength = 65;
    bool WriteSucceeds = true;
    int HandlerAssignments = 0;
    std::vector<std::vector<uint8_t>> Written;
    // Answers every written report when set; replies wait in Replies (data bytes only).
    std::optional<TesterProtocol> Tester;
    // Or a whole simulated tester, with its faults; when it pulls itself out, Connected
    // becomes false and TesterGone true (a watcher run is due).
    TesterSimulator* Simulator = nullptr;
    bool TesterGone = false;
    std::deque<std::vector<uint8_t>> Replies;
};

// Delivers queued replies one by one until none is left, ending each wait for stray reports
// as its timer would once nothing more comes; returns how many replies.
int DeliverReplies(FakeUploadDevice& device, RecordUpload& upload);

// A reply of 64 data bytes beginning with `bytes`.
std::vector<uint8_t> DataReport(std::initializer_list<uint8_t> bytes);

// A raw record for the simulated tester.
SimulatedRecord RawRecord(int number, uint16_t settings, std::vector<uint16_t> readings,
                          std::optional<uint16_t> count = std::nullopt, uint16_t date = 2600);

}  // namespace leeb::test
