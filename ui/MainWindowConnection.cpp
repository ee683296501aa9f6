// The window's side of the instrument link: the HID device controller and its handlers, the
// connection watcher, and the upload with its timers and its device.

#include "ConnectionWatcher.h"
#include "HidGuiDispatcher.h"
#include "HidPlatform.h"
#include "RecordUpload.h"
#include "MainWindow.h"
#include "HidDevice.h"
#include "HidDeviceController.h"

namespace leeb {

void MainWindow::CreateHidController(std::shared_ptr<HidPlatform> platform,
                                 std::shared_ptr<HidGuiDispatcher> dispatcher) {
    // The handlers as the window's design assigns them: stored without a rescan, so the
    // first scan is the one the controller posts for the event loop.
    HidDeviceControllerSettings settings;
    settings.OnDeviceChange =
        HidNotifyEvent::Bind(this, &MainWindow::DevicesChanged);
    settings.OnEnumerate = HidEnumerateEvent::Bind(this, &MainWindow::CheckOutEnumeratedDevice);
    settings.OnDeviceData = HidDataEvent::Bind(this, &MainWindow::ControllerReportReceived);
    controller_ = std::make_unique<HidDeviceController>(std::move(platform), std::move(dispatcher),
                                                         std::move(settings));
    watcher_ = std::make_unique<ConnectionWatcher>(
        *controller_,
        ConnectionWatcher::Callbacks{[this](const std::string& text) { SetStatusText(text); },
                                     [this](bool enabled) { SetReadEnabledByWatcher(enabled); }});
    upload_ = std::make_unique<RecordUpload>(*this, *this, recordLines_, decimalSeparator_);
    connect(&replyTimer_, &QTimer::timeout, this,
            [this] { RunCommand([this] { upload_->ReplyTimedOut(); }); });
}

void MainWindow::FormClose() {
    if (closed_)
        return;
    closed_ = true;
    if (upload_)
        upload_->Abort();
    autoStartTimer_.stop();
    replyTimer_.stop();
    ReleaseDevices();
    recordLines_.clear();
    recordsUnsaved_ = false;
}

void MainWindow::ReleaseDevices() {
    if (!watcher_)
        return;
    // Giving the devices back stops their read threads now; a device left checked out when
    // the controller goes would read on, failing, until the program ends.
    const std::vector<HidDevice*> devices = watcher_->DeviceList();
    watcher_.reset();
    for (HidDevice* device : devices) {
        delete device;
    }
}

HidDevice* MainWindow::ActiveDevice() const {
    return watcher_ ? watcher_->ActiveDevice() : nullptr;
}

const std::vector<HidDevice*>& MainWindow::DeviceList() const {
    static const std::vector<HidDevice*> none;
    return watcher_ ? watcher_->DeviceList() : none;
}

bool MainWindow::UploadRunning() const {
    return upload_ && upload_->Running();
}

void MainWindow::DevicesChanged(HidDeviceController*) {
    if (!watcher_)
        return;
    watcher_->DevicesChanged();
    ShowTesterAccess();
    upload_->ConnectionChanged();
}

bool MainWindow::CheckOutEnumeratedDevice(HidDevice* hidDev, int32_t idx) {
    return watcher_ ? watcher_->CheckOutEnumeratedDevice(hidDev, idx) : true;
}

void MainWindow::ControllerReportReceived(HidDevice*, uint8_t, const uint8_t*, uint16_t) {
    if (!closed_)
        ArmAutoStart();
}

void MainWindow::SetStatusText(const std::string& text) {
    // The watcher's texts are translated here, under its name.
    StatusPanel(1)->setText(QCoreApplication::translate("ConnectionWatcher", text.c_str()));
}

void MainWindow::ShowTesterAccess() {
    // The watcher says "连接OK" for a tester it found; whether the tester can be read is told
    // beside it, since a read button that stays disabled would otherwise be a riddle.
    const HidDevice* active = ActiveDevice();
    accessDenied_ = active != nullptr && !active->ReadWriteGranted();
    const QString text = accessDenied_ ? tr(AccessDeniedText.toUtf8().constData()) : QString();
    StatusPanel(2)->setText(text);
    StatusPanel(2)->setToolTip(text);
    // The watcher set the read button before the access was known: set it again by the same
    // rule, now that SetButtonEnabled knows whether reading is possible.
    if (!UploadRunning())
        SetButtonEnabled(CommandButton::Read, watcher_->DeviceConnected());
}

void MainWindow::SetReadEnabledByWatcher(bool enabled) {
    // A running upload sets the read button itself when it ends.
    if (UploadRunning())
        return;
    SetButtonEnabled(CommandButton::Read, enabled);
}

void MainWindow::ReadRecordsClicked() {
    // Also the automatic start: no upload against a tester that cannot be written to.
    if (closed_ || accessDenied_ || UploadRunning())
        return;
    if (askingUnsaved_) {
        // The question is open (a message box's loop runs this): the start waits for it.
        startAfterQuestion_ = true;
        return;
    }
    // Without a tester the upload touches no record, so there is nothing to ask.
    if (DeviceConnected() && !MayReplaceRecords(RecordsReplacedBy::Upload))
        return;
    if (!closed_)
        upload_->Start();
}

void MainWindow::AutoStartTimerFired() {
    autoStartTimer_.stop();
    ReadRecordsClicked();
}

void MainWindow::UploadDataReceived(HidDevice* hidDev, uint8_t reportId, const uint8_t* data,
                                uint16_t size) {
    // The handler stays with a tester's device across give-back; while another tester is the
    // active one, this one must not answer in its place. A reply handed over while the
    // watcher gives the devices back (no active device for that moment) is the tester's own.
    HidDevice* active = ActiveDevice();
    if (closed_ || (active != nullptr && hidDev != active))
        return;
    upload_->UploadDataReceived(reportId, data, size);
}

// UploadDevice ------------------------------------------------------------------------------

bool MainWindow::DeviceConnected() const {
    // A tester that refuses reading and writing is connected for the status bar but not for
    // the upload: an upload against it ends as if it had been pulled out, without a write
    // error and a time-out for every command.
    return watcher_ && watcher_->DeviceConnected() && !accessDenied_;
}

std::size_t MainWindow::OutputReportByteLength() const {
    HidDevice* device = ActiveDevice();
    return device == nullptr ? 0 : device->Capabilities().OutputReportByteLength;
}

std::size_t MainWindow::InputReportByteLength() const {
    HidDevice* device = ActiveDevice();
    return device == nullptr ? 0 : device->Capabilities().InputReportByteLength;
}

bool MainWindow::WriteReport(const std::vector<uint8_t>& report) {
    HidDevice* device = ActiveDevice();
    if (device == nullptr)
        return false;
    uint32_t written = 0;
    const auto count = static_cast<uint32_t>(report.size());
    // A report that went out in part is a failed command.
    return device->WriteReport(report.data(), count, written) && written == count;
}

void MainWindow::AssignUploadHandler() {
    if (HidDevice* device = ActiveDevice()) {
        device->SetOnInputReport(HidDataEvent::Bind(this, &MainWindow::UploadDataReceived));
    }
}

}  // namespace leeb
