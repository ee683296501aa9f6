#include "UploadPresenter.h"

#include "ConnectionWatcher.h"
#include "DialogHost.h"
#include "HidDevice.h"
#include "HidDeviceController.h"
#include "HidGuiDispatcher.h"
#include "HidPlatform.h"
#include "HidUploadDevice.h"
#include "RecordSet.h"
#include "RecordUpload.h"
#include "UploadNoticeText.h"

namespace leeb {

UploadPresenter::UploadPresenter(std::shared_ptr<HidPlatform> platform,
                                 std::shared_ptr<HidGuiDispatcher> dispatcher,
                                 RecordSet& records, DialogHost& dialogs, char decimalSeparator)
    : records_(records), dialogs_(dialogs) {
    UseAutoStartTimer(std::make_unique<QtSingleShotTimer>());
    replyTimer_.setSingleShot(true);
    QObject::connect(&replyTimer_, &QTimer::timeout, &replyTimer_,
                     [this] { hooks_.RunCommand([this] { upload_->ReplyTimedOut(); }); });

    // The handlers are stored without a rescan, so the first scan is the one the controller
    // posts for the event loop.
    HidDeviceControllerSettings settings;
    settings.OnDeviceChange = HidNotifyEvent::Bind(this, &UploadPresenter::DevicesChanged);
    settings.OnEnumerate = HidEnumerateEvent::Bind(this, &UploadPresenter::CheckOutEnumeratedDevice);
    settings.OnDeviceData = HidDataEvent::Bind(this, &UploadPresenter::ControllerReportReceived);
    controller_ = std::make_unique<HidDeviceController>(std::move(platform), std::move(dispatcher),
                                                        std::move(settings));
    watcher_ = std::make_unique<ConnectionWatcher>(
        *controller_,
        ConnectionWatcher::Callbacks{
            [this](const std::string& text) {
                if (hooks_.ShowConnection)
                    hooks_.ShowConnection(text);
            },
            [this](bool enabled) { SetReadEnabledByWatcher(enabled); }});
    device_ = std::make_unique<HidUploadDevice>(*watcher_);
    upload_ = std::make_unique<RecordUpload>(*this, *this, records_.Lines(), decimalSeparator);
    device_->SetUpload(upload_.get());
}

UploadPresenter::~UploadPresenter() {
    Close();
    upload_.reset();
    device_.reset();
    controller_.reset();
}

void UploadPresenter::Close() {
    if (closed_)
        return;
    closed_ = true;
    upload_->Abort();
    // Reports still queued for the GUI thread then reach nobody.
    device_->SetUpload(nullptr);
    autoStartTimer_->Stop();
    replyTimer_.stop();
    // Giving the devices back stops their read threads now; a device left checked out when
    // the controller goes would read on, failing, until the program ends.
    watcher_.reset();
}

void UploadPresenter::Start() {
    if (!closed_)
        upload_->Start();
}

bool UploadPresenter::Running() const {
    return upload_->Running();
}

const RecordUpload& UploadPresenter::LastUpload() const {
    return *upload_;
}

void UploadPresenter::SetVerified(bool verified) {
    upload_->SetVerified(verified);
}

bool UploadPresenter::Verified() const {
    return upload_->Verified();
}

HidDevice* UploadPresenter::ActiveDevice() const {
    return watcher_ ? watcher_->ActiveDevice() : nullptr;
}

std::vector<HidDevice*> UploadPresenter::DeviceList() const {
    return watcher_ ? watcher_->DeviceList() : std::vector<HidDevice*>();
}

// The controller's handlers ---------------------------------------------------------------

void UploadPresenter::DevicesChanged(HidDeviceController*) {
    if (!watcher_)
        return;
    watcher_->DevicesChanged();
    CheckTesterAccess();
    upload_->ConnectionChanged();
}

bool UploadPresenter::CheckOutEnumeratedDevice(HidDevice* device, int32_t idx) {
    return watcher_ ? watcher_->CheckOutEnumeratedDevice(device, idx) : true;
}

void UploadPresenter::ControllerReportReceived(HidDevice*, uint8_t, const uint8_t*, uint16_t) {
    if (!closed_)
        ArmAutoStart();
}

void UploadPresenter::CheckTesterAccess() {
    // The watcher says "连接OK" for a tester it found; whether the tester can be read is told
    // beside it, since a read button that stays disabled would otherwise be a riddle.
    const HidDevice* active = ActiveDevice();
    accessDenied_ = active != nullptr && !active->ReadWriteGranted();
    if (hooks_.AccessChanged)
        hooks_.AccessChanged();
    // The watcher set the read button before the access was known: set it again by the same
    // rule, now that the window knows whether reading is possible.
    if (!Running())
        SetButtonEnabled(CommandButton::Read, watcher_->DeviceConnected());
}

void UploadPresenter::SetReadEnabledByWatcher(bool enabled) {
    // A running upload sets the read button itself when it ends.
    if (!Running())
        SetButtonEnabled(CommandButton::Read, enabled);
}

// UploadView --------------------------------------------------------------------------------

void UploadPresenter::ClearRecords() {
    records_.BeginUpload();
    hooks_.RecordsCleared();
}

void UploadPresenter::RecordAppended(const AppendedRecord& record) {
    records_.RecordUploaded(record.Number, record.LineIndex, record.Fields,
                            record.Damaged ? record.StoredImpactCount : -1);
    if (hooks_.RecordCompleted)
        hooks_.RecordCompleted(record);
}

void UploadPresenter::AddBar(int x, double y) {
    hooks_.BarAdded(x, y);
}

void UploadPresenter::ShowRecordDetails(const RecordView& record) {
    hooks_.RecordShown(record);
}

void UploadPresenter::SetButtonEnabled(CommandButton button, bool enabled) {
    hooks_.SetButtonEnabled(button, enabled);
}

void UploadPresenter::SetProgress(const std::string& text) {
    hooks_.ShowProgress(text);
}

bool UploadPresenter::AutoStartArmed() const {
    return autoStartTimer_->Active();
}

void UploadPresenter::ArmAutoStart() {
    // Arming an armed timer leaves its due time alone: a tester that keeps sending must not
    // put the start off for ever.
    if (!autoStartTimer_->Active())
        autoStartTimer_->Start(10);
}

void UploadPresenter::UseAutoStartTimer(std::unique_ptr<SingleShotTimer> timer) {
    if (autoStartTimer_)
        autoStartTimer_->Stop();
    autoStartTimer_ = std::move(timer);
    autoStartTimer_->SetHandler([this] {
        if (hooks_.StartRequested)
            hooks_.StartRequested();
    });
}

void UploadPresenter::StartReplyTimer(int milliseconds) {
    replyTimer_.start(milliseconds);
}

void UploadPresenter::CancelReplyTimer() {
    replyTimer_.stop();
}

void UploadPresenter::Notify(const UploadNotice& notice) {
    const UploadNoticeBox box = UploadNoticeBoxOf(notice);
    dialogs_.MessageBox(box.Text, box.Caption, box.Flags);
}

void UploadPresenter::UploadEnded(UploadOutcome outcome) {
    if (hooks_.Ended)
        hooks_.Ended(outcome);
}

// UploadDevice ------------------------------------------------------------------------------

bool UploadPresenter::DeviceConnected() const {
    return watcher_ && device_->DeviceConnected() && !accessDenied_;
}

std::size_t UploadPresenter::OutputReportByteLength() const {
    return watcher_ ? device_->OutputReportByteLength() : 0;
}

std::size_t UploadPresenter::InputReportByteLength() const {
    return watcher_ ? device_->InputReportByteLength() : 0;
}

bool UploadPresenter::WriteReport(const std::vector<uint8_t>& report) {
    return watcher_ && device_->WriteReport(report);
}

void UploadPresenter::AssignUploadHandler() {
    if (watcher_)
        device_->AssignUploadHandler();
}

}  // namespace leeb
