#include "HeadlessUpload.h"

#include <optional>
#include <vector>

#include "ConnectionWatcher.h"
#include "HidUploadDevice.h"
#include "ManualGuiDispatcher.h"
#include "THidDevice.h"
#include "THidDeviceController.h"

namespace leeb {
namespace {

using Clock = std::chrono::steady_clock;

// Longest sleep in the dispatcher when no reply timer runs; the loop only looks at the clock
// and the upload's state after it.
constexpr std::chrono::milliseconds IdleWait{1000};

const char* const NotConnectedMessage = "未连接里氏硬度计。(No hardness tester is connected.)";
const char* const AccessDeniedMessage =
    "无权访问里氏硬度计：请安装 udev 规则 70-leebdesk-tester.rules，然后拔下并重新插入硬度计。"
    "(Access to the hardness tester is denied: install the udev rule "
    "70-leebdesk-tester.rules, then unplug the tester and plug it in again.)";
const char* const NoReplyMessage = "里氏硬度计无应答。(The hardness tester did not reply.)";
const char* const UnpluggedMessage =
    "上传时里氏硬度计被拔出。(The hardness tester was unplugged during the upload.)";

// The window's part, without a window: buttons and charts have no one to show them to.
class HeadlessView : public UploadView {
  public:
    explicit HeadlessView(const HeadlessUploadOptions& options) : options_(options) {}

    void ClearRecords() override {}
    void RecordAppended(int, int) override {}
    void AddBar(int, double) override {}
    void ShowRecordDetails(const RecordView&) override {}
    void SetButtonEnabled(CommandButton, bool) override {}
    int MessageBox(const std::string& text, const std::string&, unsigned) override {
        Messages.push_back(text);
        return IDOK;
    }
    void SetProgress(const std::string& text) override {
        if (!text.empty() && options_.Progress) {
            options_.Progress(text);
        }
    }
    // Nobody presses read again after a headless upload.
    bool AutoStartArmed() const override { return true; }
    void ArmAutoStart() override {}
    void StartReplyTimer(int) override { Deadline = Clock::now() + options_.ReplyTimeout; }
    void CancelReplyTimer() override { Deadline.reset(); }

    std::optional<Clock::time_point> Deadline;
    std::vector<std::string> Messages;

  private:
    const HeadlessUploadOptions& options_;
};

// Removes the handlers that point into this function's objects and gives the devices back,
// however the upload ends.
struct ControllerBinding {
    THidDeviceController& Controller;
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

// The upload's own messages that add to the reason: its "no reply" box says the reason again.
std::vector<std::string> AddedMessages(const std::vector<std::string>& messages) {
    std::vector<std::string> added;
    for (const std::string& message : messages) {
        if (message != "里氏硬度计无应答") {
            added.push_back(message);
        }
    }
    return added;
}

[[noreturn]] void Fail(HeadlessUploadError::Reason reason, const char* message,
                       const std::vector<std::string>& uploadMessages = {}) {
    std::vector<std::string> added = AddedMessages(uploadMessages);
    std::string text = message;
    for (const std::string& extra : added) {
        text += " " + extra;
    }
    throw HeadlessUploadError(reason, text, std::move(added));
}

}  // namespace

RecordLines HeadlessUpload(THidDeviceController& controller, ManualGuiDispatcher& dispatcher,
                           const HeadlessUploadOptions& options) {
    ConnectionWatcher watcher(controller, {});
    HidUploadDevice device(watcher);
    HeadlessView view(options);
    RecordLines lines;
    RecordUpload upload(device, view, lines, options.DecimalSeparator);
    device.SetUpload(&upload);
    ControllerBinding binding{controller, watcher, device};

    controller.SetOnEnumerate(
        THidEnumerateEvent::Bind(&watcher, &ConnectionWatcher::HidDeviceController1Enumerate));
    // Setting the handler runs the first scan at once; the controller's own start-up
    // notification follows from the dispatcher's queue.
    controller.SetOnDeviceChange(THidNotifyEvent::Tagged(
        &DeviceChangeTag,
        [&](THidDeviceController*) {
            watcher.HidDeviceController1DeviceChange();
            upload.ConnectionChanged();
        },
        &watcher));
    dispatcher.ProcessPending();

    if (!watcher.DeviceConnected()) {
        Fail(HeadlessUploadError::Reason::NotConnected, NotConnectedMessage);
    }
    if (!watcher.ActiveDevice()->ReadWriteGranted()) {
        Fail(HeadlessUploadError::Reason::AccessDenied, AccessDeniedMessage);
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

    switch (upload.Outcome()) {
        case UploadOutcome::TimedOut:
            Fail(HeadlessUploadError::Reason::NoReply, NoReplyMessage, view.Messages);
        case UploadOutcome::Unplugged:
            Fail(HeadlessUploadError::Reason::Unplugged, UnpluggedMessage, view.Messages);
        default:
            break;
    }
    return lines;
}

}  // namespace leeb
