#pragma once
// The upload as the window presents it: the tester's connection (the HID controller, the
// connection watcher and the device the upload writes to), the upload with its two timers,
// and what the upload tells: records go to the record set, the rest to the window through the
// hooks it sets. Everything runs on the GUI thread.

#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "SingleShotTimer.h"
#include "UploadView.h"

namespace leeb {

class ConnectionWatcher;
class DialogHost;
class HidDevice;
class HidDeviceController;
class HidGuiDispatcher;
class HidPlatform;
class HidUploadDevice;
class RecordSet;
class RecordUpload;

class UploadPresenter : public UploadView, public UploadDevice {
  public:
    // What the window does for the upload; every hook is set before the first device change.
    struct WindowHooks {
        std::function<void()> RecordsCleared;  // a new upload: chart and messages cleared
        std::function<void(int x, double y)> BarAdded;
        std::function<void(const RecordView&)> RecordShown;
        std::function<void(CommandButton, bool)> SetButtonEnabled;
        std::function<void(const std::string&)> ShowProgress;    // status panel 0
        std::function<void(const std::string&)> ShowConnection;  // status panel 1, untranslated
        std::function<void()> AccessChanged;  // AccessDenied() may have changed
        std::function<void()> StartRequested;  // the automatic start is due
        // Runs a step of the upload that a timer set off; a failure is the window's to show.
        std::function<void(const std::function<void()>&)> RunCommand;
        std::function<void(UploadOutcome)> Ended;
        // Each record as it completes, with the words the tester sent: for whoever keeps
        // records beyond the window's file.
        std::function<void(const AppendedRecord&)> RecordCompleted;
    };

    // The controller posts its first device-change notice now; the hooks must be set before
    // the event loop delivers it.
    UploadPresenter(std::shared_ptr<HidPlatform> platform,
                    std::shared_ptr<HidGuiDispatcher> dispatcher, RecordSet& records,
                    DialogHost& dialogs, char decimalSeparator);
    ~UploadPresenter() override;
    UploadPresenter(const UploadPresenter&) = delete;
    UploadPresenter& operator=(const UploadPresenter&) = delete;

    void SetHooks(WindowHooks hooks) { hooks_ = std::move(hooks); }

    // Starts an upload (the read command); ignored while one runs or after Close.
    void Start();
    // The window closes: the upload ends, the timers stop and the devices go back.
    void Close();
    void CancelAutoStart() { autoStartTimer_->Stop(); }
    // Replaces the automatic start's timer (a disarmed one), for a test that moves its time.
    void UseAutoStartTimer(std::unique_ptr<SingleShotTimer> timer);

    bool Running() const;
    // The running or last upload: how it ended and what it kept, for checks.
    const RecordUpload& LastUpload() const;
    // Every record read twice and compared (a third read settles a difference).
    void SetVerified(bool verified);
    bool Verified() const;
    // The tester is plugged in but could not be opened for reading and writing.
    bool AccessDenied() const { return accessDenied_; }
    HidDevice* ActiveDevice() const;
    std::vector<HidDevice*> DeviceList() const;
    HidDeviceController& Controller() { return *controller_; }

    // The controller's handlers.
    void DevicesChanged(HidDeviceController* sender);
    bool CheckOutEnumeratedDevice(HidDevice* device, int32_t idx);
    void ControllerReportReceived(HidDevice* device, uint8_t reportId, const uint8_t* data,
                                  uint16_t size);

    // UploadView.
    void ClearRecords() override;
    void RecordAppended(const AppendedRecord& record) override;
    void AddBar(int x, double y) override;
    void ShowRecordDetails(const RecordView& record) override;
    void SetButtonEnabled(CommandButton button, bool enabled) override;
    void SetProgress(const std::string& text) override;
    bool AutoStartArmed() const override;
    void ArmAutoStart() override;
    void StartReplyTimer(int milliseconds) override;
    void CancelReplyTimer() override;
    void Notify(const UploadNotice& notice) override;
    void UploadEnded(UploadOutcome outcome) override;

    // UploadDevice: the watcher's active device, when it may be read and written. A tester
    // that refuses access is connected for the status bar but not for the upload, which
    // then ends as if it had been pulled out instead of failing every command.
    bool DeviceConnected() const override;
    std::size_t OutputReportByteLength() const override;
    std::size_t InputReportByteLength() const override;
    bool WriteReport(const std::vector<uint8_t>& report) override;
    void AssignUploadHandler() override;

  private:
    void SetReadEnabledByWatcher(bool enabled);
    void CheckTesterAccess();

    RecordSet& records_;
    DialogHost& dialogs_;
    WindowHooks hooks_;
    bool closed_ = false;
    bool accessDenied_ = false;
    std::unique_ptr<SingleShotTimer> autoStartTimer_;
    QTimer replyTimer_;
    std::unique_ptr<HidDeviceController> controller_;
    std::unique_ptr<ConnectionWatcher> watcher_;
    std::unique_ptr<HidUploadDevice> device_;
    std::unique_ptr<RecordUpload> upload_;
};

}  // namespace leeb
