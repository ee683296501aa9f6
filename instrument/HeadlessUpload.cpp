#include "HeadlessUpload.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "ConnectionWatcher.h"
#include "HeadlessAccessDenied.h"
#include "HidDevice.h"
#include "HidDeviceController.h"
#include "HidUploadDevice.h"
#include "ManualGuiDispatcher.h"

namespace leeb {
namespace {

using Clock = std::chrono::steady_clock;

// Longest sleep in the dispatcher when no reply timer runs; the loop only looks at the clock
// and the upload's state after it.
constexpr std::chrono::milliseconds IdleWait{1000};

const char* const NotConnectedMessage = "未连接里氏硬度计。(No hardness tester is connected.)";

// The window's part, without a window: buttons and charts have no one to show them to.
class HeadlessView : public UploadView {
  public:
    explicit HeadlessView(const HeadlessUploadOptions& options) : options_(options) {}

    void ClearRecords() override {}
    void RecordAppended(const AppendedRecord& record) override {
        if (record.LineIndex >= 1) {
            const auto at = static_cast<std::size_t>(record.LineIndex - 1);
            if (RecordNumbers.size() <= at) {
                RecordNumbers.resize(at + 1);
            }
            RecordNumbers[at] = record.Number;
        }
        if (options_.RecordCompleted) {
            options_.RecordCompleted(record);
        }
    }
    void AddBar(int, double) override {}
    void ShowRecordDetails(const RecordView&) override {}
    void SetButtonEnabled(CommandButton, bool) override {}
    // The end's notices say what the outcome says already; the rest happened on the way.
    void Notify(const UploadNotice& notice) override {
        if (notice.Kind == UploadNoticeKind::WriteFailed ||
            notice.Kind == UploadNoticeKind::RecordSkipped) {
            Notices.push_back(notice);
        }
    }
    void SetProgress(const std::string& text) override {
        if (!text.empty() && options_.Progress) {
            options_.Progress(text);
        }
    }
    // Nobody presses read again after a headless upload.
    bool AutoStartArmed() const override { return true; }
    void ArmAutoStart() override {}
    // The reply time-out is the caller's (tests shorten it); a shorter wait, such as letting
    // stray reports drain, keeps its own length.
    void StartReplyTimer(int milliseconds) override {
        Deadline =
            Clock::now() + std::min<std::chrono::milliseconds>(
                               std::chrono::milliseconds(milliseconds), options_.ReplyTimeout);
    }
    void CancelReplyTimer() override { Deadline.reset(); }

    std::optional<Clock::time_point> Deadline;
    std::vector<UploadNotice> Notices;
    std::vector<long> RecordNumbers;

  private:
    const HeadlessUploadOptions& options_;
};

// Removes the handlers that point into this function's objects and gives the devices back,
// however the upload ends.
struct ControllerBinding {
    HidDeviceController& Controller;
    ConnectionWatcher& Watcher;
    HidUploadDevice& Device;
    ~ControllerBinding() {
        Device.SetUpload(nullptr);
        Controller.SetOnDeviceChange(nullptr);
        Controller.SetOnEnumerate(nullptr);
        Watcher.GiveBackDevices();
    }
};

const char DeviceChangeTag = 0;

}  // namespace

HeadlessUploadResult HeadlessUpload(HidDeviceController& controller,
                                    ManualGuiDispatcher& dispatcher,
                                    const HeadlessUploadOptions& options) {
    ConnectionWatcher watcher(controller, {});
    HidUploadDevice device(watcher);
    HeadlessView view(options);
    RecordLines lines;
    RecordUpload upload(device, view, lines, options.DecimalSeparator);
    upload.SetVerified(options.Verified);
    device.SetUpload(&upload);
    ControllerBinding binding{controller, watcher, device};

    controller.SetOnEnumerate(
        HidEnumerateEvent::Bind(&watcher, &ConnectionWatcher::CheckOutEnumeratedDevice));
    // Setting the handler runs the first scan at once; the controller's own start-up
    // notification follows from the dispatcher's queue.
    controller.SetOnDeviceChange(HidNotifyEvent::Tagged(
        &DeviceChangeTag,
        [&](HidDeviceController*) {
            watcher.DevicesChanged();
            upload.ConnectionChanged();
        },
        &watcher));
    dispatcher.ProcessPending();

    if (!watcher.DeviceConnected()) {
        const std::string problem = controller.BindProblem();
        throw HeadlessUploadError(problem.empty() ? std::string(NotConnectedMessage)
                                                  : NotConnectedMessage + (" " + problem));
    }
    // Opening it for real (once, to read its report lengths) shows whether read/write access
    // is granted where identifying the device could not tell (Windows).
    watcher.ActiveDevice()->Capabilities();
    if (!watcher.ActiveDevice()->ReadWriteGranted()) {
        throw HeadlessUploadError(HeadlessAccessDeniedMessage);
    }

    upload.Start();
    while (upload.Running()) {
        const Clock::time_point now = Clock::now();
        if (view.Deadline && now >= *view.Deadline) {
            view.Deadline.reset();
            upload.ReplyTimedOut();
            continue;
        }
        auto wait = IdleWait;
        if (view.Deadline) {
            wait = std::chrono::ceil<std::chrono::milliseconds>(*view.Deadline - now);
        }
        dispatcher.WaitAndProcess(wait);
    }

    HeadlessUploadResult result;
    result.Lines = std::move(lines);
    result.RecordNumbers = std::move(view.RecordNumbers);
    result.Outcome = upload.Outcome();
    result.RecordsNamed = upload.RecordsNamed();
    result.Error = upload.ProtocolError();
    result.Notices = std::move(view.Notices);
    result.Damaged = upload.Damaged();
    return result;
}

}  // namespace leeb
