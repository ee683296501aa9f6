// The window's side of the instrument link: the HID device controller and its handlers, the
// connection watcher, and the upload with its timers and its device.

#include "ConnectionWatcher.h"
#include "HidGuiDispatcher.h"
#include "HidPlatform.h"
#include "ProtocolErrorText.h"
#include "RecordUpload.h"
#include "TForm1.h"
#include "THidDevice.h"
#include "THidDeviceController.h"

namespace leeb {

void TForm1::CreateHidController(std::shared_ptr<HidPlatform> platform,
                                 std::shared_ptr<HidGuiDispatcher> dispatcher) {
    // The handlers as the window's design assigns them: stored without a rescan, so the
    // first scan is the one the controller posts for the event loop.
    THidDeviceControllerSettings settings;
    settings.OnDeviceChange =
        THidNotifyEvent::Bind(this, &TForm1::HidDeviceController1DeviceChange);
    settings.OnEnumerate = THidEnumerateEvent::Bind(this, &TForm1::HidDeviceController1Enumerate);
    settings.OnDeviceData = THidDataEvent::Bind(this, &TForm1::HidDeviceController1DeviceData);
    controller_ = std::make_unique<THidDeviceController>(std::move(platform), std::move(dispatcher),
                                                         std::move(settings));
    watcher_ = std::make_unique<ConnectionWatcher>(
        *controller_,
        ConnectionWatcher::Callbacks{[this](const std::string& text) { SetStatusText(text); },
                                     [this](bool enabled) { SetReadEnabledByWatcher(enabled); }});
    upload_ = std::make_unique<RecordUpload>(*this, *this, recordLines_, decimalSeparator_);
    connect(&replyTimer_, &QTimer::timeout, this,
            [this] { RunCommand([this] { upload_->ReplyTimedOut(); }); });
}

void TForm1::FormClose() {
    if (closed_)
        return;
    closed_ = true;
    if (upload_)
        upload_->Abort();
    timer2_.stop();
    replyTimer_.stop();
    ReleaseDevices();
    recordLines_.clear();
    recordsUnsaved_ = false;
}

void TForm1::ReleaseDevices() {
    if (!watcher_)
        return;
    // Giving the devices back stops their read threads now; a device left checked out when
    // the controller goes would read on, failing, until the program ends.
    const std::vector<THidDevice*> devices = watcher_->DeviceList();
    watcher_.reset();
    for (THidDevice* device : devices) {
        delete device;
    }
}

THidDevice* TForm1::ActiveDevice() const {
    return watcher_ ? watcher_->ActiveDevice() : nullptr;
}

const std::vector<THidDevice*>& TForm1::DeviceList() const {
    static const std::vector<THidDevice*> none;
    return watcher_ ? watcher_->DeviceList() : none;
}

bool TForm1::UploadRunning() const {
    return upload_ && upload_->Running();
}

void TForm1::HidDeviceController1DeviceChange(THidDeviceController*) {
    if (!watcher_)
        return;
    watcher_->HidDeviceController1DeviceChange();
    ShowTesterAccess();
    upload_->ConnectionChanged();
}

bool TForm1::HidDeviceController1Enumerate(THidDevice* hidDev, int32_t idx) {
    return watcher_ ? watcher_->HidDeviceController1Enumerate(hidDev, idx) : true;
}

void TForm1::HidDeviceController1DeviceData(THidDevice*, uint8_t, const uint8_t*, uint16_t) {
    if (!closed_)
        ArmAutoStart();
}

void TForm1::SetStatusText(const std::string& text) {
    // The watcher's texts are translated here, under its name.
    StatusPanel(1)->setText(QCoreApplication::translate("ConnectionWatcher", text.c_str()));
}

void TForm1::ShowTesterAccess() {
    // The watcher says "连接OK" for a tester it found; whether the tester can be read is told
    // beside it, since a read button that stays disabled would otherwise be a riddle.
    const THidDevice* active = ActiveDevice();
    accessDenied_ = active != nullptr && !active->ReadWriteGranted();
    const QString text = accessDenied_ ? tr(AccessDeniedText.toUtf8().constData()) : QString();
    StatusPanel(2)->setText(text);
    StatusPanel(2)->setToolTip(text);
    // The watcher set the read button before the access was known: set it again by the same
    // rule, now that SetButtonEnabled knows whether reading is possible.
    if (!UploadRunning())
        SetButtonEnabled(CommandButton::Read, watcher_->DeviceConnected());
}

void TForm1::SetReadEnabledByWatcher(bool enabled) {
    // A running upload sets the read button itself when it ends.
    if (UploadRunning())
        return;
    SetButtonEnabled(CommandButton::Read, enabled);
}

void TForm1::BitBtn1Click() {
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

void TForm1::Timer2Timer() {
    timer2_.stop();
    BitBtn1Click();
}

void TForm1::UploadDataReceived(THidDevice* hidDev, uint8_t reportId, const uint8_t* data,
                                uint16_t size) {
    // The handler stays with a tester's device across give-back; while another tester is the
    // active one, this one must not answer in its place. A reply handed over while the
    // watcher gives the devices back (no active device for that moment) is the tester's own.
    THidDevice* active = ActiveDevice();
    if (closed_ || (active != nullptr && hidDev != active))
        return;
    upload_->UploadDataReceived(reportId, data, size);
}

// UploadDevice ------------------------------------------------------------------------------

bool TForm1::DeviceConnected() const {
    // A tester that refuses reading and writing is connected for the status bar but not for
    // the upload: an upload against it ends as if it had been pulled out, without a write
    // error and a time-out for every command.
    return watcher_ && watcher_->DeviceConnected() && !accessDenied_;
}

std::size_t TForm1::OutputReportByteLength() const {
    THidDevice* device = ActiveDevice();
    return device == nullptr ? 0 : device->Capabilities().OutputReportByteLength;
}

std::size_t TForm1::InputReportByteLength() const {
    THidDevice* device = ActiveDevice();
    return device == nullptr ? 0 : device->Capabilities().InputReportByteLength;
}

bool TForm1::WriteReport(const std::vector<uint8_t>& report) {
    THidDevice* device = ActiveDevice();
    if (device == nullptr)
        return false;
    uint32_t written = 0;
    const auto count = static_cast<uint32_t>(report.size());
    // A report that went out in part is a failed command.
    return device->WriteReport(report.data(), count, written) && written == count;
}

void TForm1::ShowProtocolError(const UploadProtocolError& error) {
    dialogs_.MessageBox(ProtocolErrorText(error), ProtocolErrorCaption(), MB_OK | MB_ICONERROR);
}

void TForm1::AssignUploadHandler() {
    if (THidDevice* device = ActiveDevice()) {
        device->SetOnInputReport(THidDataEvent::Bind(this, &TForm1::UploadDataReceived));
    }
}

}  // namespace leeb
