#include "FakeUpload.h"

#include <algorithm>

namespace leeb::test {
namespace {

const char* ButtonName(CommandButton button) {
    switch (button) {
        case CommandButton::Read:
            return "read";
        case CommandButton::Save:
            return "save";
        case CommandButton::PrintChart:
            return "chart";
        case CommandButton::PrintReport:
            return "report";
        case CommandButton::Open:
            return "open";
    }
    return "?";
}

}  // namespace

void FakeUploadView::ClearRecords() {
    Calls.push_back("ClearRecords");
    Bars.clear();
    Appended.clear();
}

void FakeUploadView::RecordAppended(const AppendedRecord& record) {
    Calls.push_back("RecordAppended " + std::to_string(record.Number) + " " +
                    std::to_string(record.LineIndex));
    Appended.emplace_back(record.Number, record.LineIndex);
    AppendedFields.push_back(record.Fields);
    if (WhileRecordAppended) {
        auto call = std::move(WhileRecordAppended);
        WhileRecordAppended = nullptr;
        call();
    }
}

void FakeUploadView::AddBar(int x, double y) {
    Calls.push_back("AddBar " + std::to_string(x));
    Bars.emplace_back(x, y);
}

void FakeUploadView::ShowRecordDetails(const RecordView& record) {
    Calls.push_back("ShowRecordDetails");
    Details.push_back(record);
}

void FakeUploadView::SetButtonEnabled(CommandButton button, bool enabled) {
    Calls.push_back(std::string(enabled ? "enable " : "disable ") + ButtonName(button));
    Buttons[button] = enabled;
}

void FakeUploadView::SetProgress(const std::string& text) {
    ProgressTexts.push_back(text);
}

void FakeUploadView::ArmAutoStart() {
    Calls.push_back("ArmAutoStart");
    Armed = true;
}

void FakeUploadView::StartReplyTimer(int milliseconds) {
    ReplyTimerRunning = true;
    TimerIntervals.push_back(milliseconds);
}

void FakeUploadView::CancelReplyTimer() {
    ReplyTimerRunning = false;
}

void FakeUploadView::Notify(const UploadNotice& notice) {
    AllNotices.push_back(notice);
    if (notice.Kind == UploadNoticeKind::ProtocolError) {
        Calls.push_back("ShowProtocolError");
        ProtocolErrors.push_back(*notice.Error);
    } else {
        Calls.push_back("Notify " + std::to_string(static_cast<int>(notice.Kind)));
        Notices.push_back(notice.Kind);
    }
    if (WhileMessageShown) {
        auto call = std::move(WhileMessageShown);
        WhileMessageShown = nullptr;
        call();
    }
}

void FakeUploadView::UploadEnded(UploadOutcome /*outcome*/) {
    Calls.push_back("UploadEnded");
    ++Finished;
}

bool FakeUploadView::Enabled(CommandButton button) const {
    const auto found = Buttons.find(button);
    return found != Buttons.end() && found->second;
}

std::string FakeUploadView::ButtonRow() const {
    std::string row;
    for (CommandButton button :
         {CommandButton::Read, CommandButton::Save, CommandButton::PrintChart,
          CommandButton::PrintReport, CommandButton::Open}) {
        row += Enabled(button) ? '1' : '0';
    }
    return row;
}

bool FakeUploadDevice::WriteReport(const std::vector<uint8_t>& report) {
    Written.push_back(report);
    if (!WriteSucceeds) {
        return false;
    }
    if (Simulator != nullptr) {
        const SimulatorResponse response = Simulator->Respond(report.data(), report.size());
        if (response.Unplug) {
            Connected = false;
            TesterGone = true;
        }
        for (const std::vector<uint8_t>& input : response.Reports) {
            Replies.emplace_back(input.begin() + 1, input.end());  // after the report ID
        }
        return true;
    }
    if (Tester) {
        if (auto reply = Tester->Answer(report.data(), report.size())) {
            std::vector<uint8_t> data(64, 0);
            std::copy(reply->begin(), reply->end(), data.begin());
            Replies.push_back(std::move(data));
        }
    }
    return true;
}

int DeliverReplies(FakeUploadDevice& device, RecordUpload& upload) {
    int delivered = 0;
    for (;;) {
        if (device.Replies.empty()) {
            if (!upload.Draining()) {
                return delivered;
            }
            upload.ReplyTimedOut();
            continue;
        }
        const std::vector<uint8_t> data = std::move(device.Replies.front());
        device.Replies.pop_front();
        upload.UploadDataReceived(0, data.data(), static_cast<uint16_t>(data.size()));
        ++delivered;
    }
}

std::vector<uint8_t> DataReport(std::initializer_list<uint8_t> bytes) {
    std::vector<uint8_t> data(64, 0);
    std::copy(bytes.begin(), bytes.end(), data.begin());
    return data;
}

SimulatedRecord RawRecord(int number, uint16_t settings, std::vector<uint16_t> readings,
                          std::optional<uint16_t> count, uint16_t date) {
    SimulatedRecord record;
    record.Number = number;
    record.Record.SettingsWord = settings;
    record.Record.DateWord = date;
    record.Record.ImpactCount = count.value_or(static_cast<uint16_t>(readings.size()));
    std::copy_n(readings.begin(), std::min<std::size_t>(readings.size(), 32),
                record.Record.Readings.begin());
    return record;
}

}  // namespace leeb::test
